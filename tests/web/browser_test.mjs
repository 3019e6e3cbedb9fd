// The page in headless Chromium, played with real key events as a player
// would: the budgets, a Battle duel saved and loaded again after a reload,
// the story to the archery scene and through it, the line editor, the end
// of a game, and storage that refuses to keep a save.
//
//   node tests/web/browser_test.mjs WWW NODE_MODULES OUT
// WWW is the page (build-web/www), NODE_MODULES holds puppeteer-core (from
// web/package-lock.json), OUT gets the scene's screenshot. The page is served
// here, on 127.0.0.1 only; Chromium is Debian's.
import http from 'node:http';
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';

const [www, modules, out] = process.argv.slice(2).map((arg) => path.resolve(arg));
const require = createRequire(modules + '/');
const { default: puppeteer } = await import(pathToFileURL(require.resolve('puppeteer-core')));

const kBudgetBytes = 1024 * 1024;
const kFirstPromptMs = 1500;
const kHelpLine = '<Arrow keys>: move <space>: shoot arrow';

let passed = 0;
let failed = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (ok) passed += 1;
  else failed += 1;
}

// ---- The page, served as any static host would serve it ----

const types = { '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.wasm': 'application/wasm' };
let served = new Map();  // file -> bytes sent since the last reset
const server = http.createServer((request, response) => {
  const name = new URL(request.url, 'http://x').pathname.replace(/^\/$/, '/index.html');
  const file = path.join(www, path.normalize(name));
  if (!file.startsWith(www) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
    response.writeHead(404).end();
    return;
  }
  const body = fs.readFileSync(file);
  served.set(name, (served.get(name) || 0) + body.length);
  response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
    'Cache-Control': 'no-store' }).end(body);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const url = `http://127.0.0.1:${server.address().port}/`;

// Flags that keep Chromium from reaching for outside hosts at every start.
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

// ---- Reading the terminal as the page shows it ----

// Each row of xterm's default renderer is a div; blanks are U+00A0. The rows
// are joined without breaks, so that a line the terminal wrapped reads whole.
const screenText = (page) => page.$$eval('.xterm-rows > div',
  (rows) => rows.map((r) => r.textContent.replace(/\u00a0/g, ' ').padEnd(80)).join(''));
const screenRows = (page) => page.$$eval('.xterm-rows > div',
  (rows) => rows.map((r) => r.textContent.replace(/\u00a0/g, ' ')));
function waitForText(page, text, timeout = 10000) {
  return page.waitForFunction((t) => {
    const rows = [...document.querySelectorAll('.xterm-rows > div')];
    return rows.map((r) => r.textContent.replace(/\u00a0/g, ' ').padEnd(80)).join('').includes(t);
  }, { timeout, polling: 20 }, text).then(() => true, () => false);
}
async function answer(page, ...answers) {
  for (const a of answers) {
    await page.keyboard.type(String(a));
    await page.keyboard.press('Enter');
  }
}
const pause = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The archer's column in the scene's last frame: the X stands in front of
// the cell it is on.
async function archerColumn(page) {
  const rows = await screenRows(page);
  const help = rows.findIndex((r) => r.startsWith(kHelpLine));
  return help < 0 ? -1 : rows[help + 1].indexOf('X');
}
// Waits a few frames, so that what was pressed has been drawn.
const afterFrames = (page) => pause(350).then(() => archerColumn(page));

// ---- The checks ----

async function budgets(page) {
  served = new Map();
  await page.goto(url, { waitUntil: 'load' });
  const shown = await page.waitForFunction(() => {
    const text = [...document.querySelectorAll('.xterm-rows > div')].map((r) => r.textContent).join('');
    return text.includes('2.Story') && performance.now();
  }, { polling: 10, timeout: 10000 }).then((h) => h.jsonValue(), () => Infinity);
  const load = await page.evaluate(() => performance.getEntriesByType('navigation')[0].loadEventEnd);
  const bytes = [...served.values()].reduce((a, b) => a + b, 0);
  console.log(`page: ${bytes} bytes in ${served.size} files (${[...served].map(([f, n]) => `${f} ${n}`).join(', ')})`);
  console.log(`first prompt: ${Math.round(shown)} ms after the navigation began, ${Math.round(shown - load)} ms after the load event`);
  check(bytes <= kBudgetBytes, `everything the page loads is at most 1 MB (${bytes} bytes)`);
  check(shown - load <= kFirstPromptMs, `the first prompt shows within 1.5 s of the load (${Math.round(shown - load)} ms)`);
  const focused = await page.evaluate(() => document.activeElement?.classList.contains('xterm-helper-textarea'));
  check(focused, 'the terminal has the focus on load');
}

async function battleSavedAndLoaded(page) {
  // A new hero with a bow wins the ladder's first duel in four rounds; the
  // name is typed with a slip, taken back with Backspace.
  await answer(page, 1, 0);
  await page.keyboard.type('Karx');
  await page.keyboard.press('Backspace');
  await answer(page, 'a 8 7 5');
  check(await waitForText(page, 'Kara, Your character'), 'Backspace takes back a typed character');
  await answer(page, 3, 0, '0 0', 0, 0, 0, 1, 0, 1, 0, 1, 0, 1);
  check(await waitForText(page, 'save?(will overwrite old game)(1 for yes): '), 'a Battle duel is won up to its save');
  await answer(page, 1);
  check(await waitForText(page, 'You have entered the shop.'), 'the save is made');
  await page.reload({ waitUntil: 'load' });
  await waitForText(page, '2.Story');
  await answer(page, 1, 1);
  check(await waitForText(page, 'Gold:          100'), 'after a reload the saved hero is loaded');
  check(!(await screenText(page)).includes('No saved game'), 'the save was there to load');
}

async function archeryScene(page) {
  await page.reload({ waitUntil: 'load' });
  await waitForText(page, '2.Story');
  // Typed ahead in one go: each answer waits for its prompt.
  await answer(page, 2, 0, 'Kara 8 7 5', 3, 0, '0 0', 0, '0 1', '0 1', '0 1', 0, '0 0', 0);
  const inScene = await waitForText(page, kHelpLine, 15000);
  check(inScene, 'the story reaches the archery scene');
  if (!inScene) return;
  const start = await afterFrames(page);

  await page.keyboard.down('ArrowLeft');
  await pause(1000);
  await page.keyboard.up('ArrowLeft');
  const held = await afterFrames(page);
  console.log(`scene: ArrowLeft held 1 s moved the archer ${start - held} columns (${start} -> ${held})`);
  check(start - held >= 7, 'ArrowLeft held for 1 s moves the archer at least 7 columns');

  for (let i = 0; i < 3; i += 1) {
    await page.keyboard.press('ArrowRight');
    await pause(400);
  }
  const tapped = await afterFrames(page);
  console.log(`scene: three ArrowRight taps moved the archer ${tapped - held} columns`);
  check(tapped - held === 3, 'three taps of ArrowRight, 400 ms apart, move it exactly 3 columns');

  // A key still down when the page loses the focus is let go.
  await page.keyboard.down('ArrowLeft');
  await pause(300);
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  const blurred = await afterFrames(page);
  check(blurred === await afterFrames(page), 'losing the focus releases a held key');
  await page.keyboard.up('ArrowLeft');

  // With the terminal's focus gone too, the scene's keys still play, and
  // the page, taller than the window, does not scroll.
  await page.evaluate(() => document.activeElement.blur());
  for (let column = blurred; column !== 5;) {
    await page.keyboard.press(column > 5 ? 'ArrowLeft' : 'ArrowRight');
    column = await afterFrames(page);
  }
  await page.keyboard.press(' ');
  await page.keyboard.press('ArrowDown');
  await pause(500);  // a scroll may be smooth, taking its time
  const [scrolled, taller] = await page.evaluate(
    () => [window.scrollY, document.documentElement.scrollHeight > window.innerHeight]);
  check(taller && scrolled === 0, 'arrows and the space bar leave the page where it is');

  await page.focus('.xterm-helper-textarea');
  await page.keyboard.down(' ');
  await pause(1500);
  await page.screenshot({ path: path.join(out, 'archery-scene.png') });
  await page.keyboard.type('7');  // typed in the scene: it waits for the next prompt
  const done = await waitForText(page, 'You killed', 30000);
  await page.keyboard.up(' ');
  const text = await screenText(page);
  const killed = /You killed (\d+) of my men/.exec(text);
  console.log(`scene: space held at column 5 shot ${killed ? killed[1] : 'no'} horsemen`);
  check(done && killed && killed[1] === '21', 'holding Space at column 5 shoots all 21 horsemen');
  check(await waitForText(page, 'Enter a number to continue:7'), 'a key typed in the scene waits for the next answer');
  await page.keyboard.press('Enter');
  check(await waitForText(page, 'An enemy approaches!'), "the story's next duel begins");
}

async function endAndNewGame(page) {
  await page.keyboard.down('Control');
  await page.keyboard.press('d');
  await page.keyboard.up('Control');
  check(await waitForText(page, 'The game has ended. Press Enter to start a new one.'),
    'Ctrl-D ends the input, and the page says that the game has ended');
  await page.keyboard.press('Enter');
  await pause(300);
  const text = await screenText(page);
  check(text.lastIndexOf('Play mode:') > text.lastIndexOf('The game has ended'), 'Enter starts a new game');
}

// Storage that takes nothing: every write to it is given up at once.
async function storageRefused() {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    const transaction = IDBDatabase.prototype.transaction;
    IDBDatabase.prototype.transaction = function (...args) {
      const t = transaction.apply(this, args);
      if (args[1] === 'readwrite') t.abort();
      return t;
    };
  });
  await page.goto(url, { waitUntil: 'load' });
  await waitForText(page, '2.Story');
  await answer(page, 1, 0, 'Kara 8 7 5', 3, 0, '0 0', 1);
  check(await waitForText(page, 'Could not save to stats.txt: '), 'storage that refuses the save gives the usual message');
  await answer(page, 0);
  check(await waitForText(page, 'Gold:          0'), 'and play goes on');
  await context.close();
}

const page = await browser.newPage();
page.on('pageerror', (error) => console.log(`page error: ${error.message}`));
try {
  await budgets(page);
  await battleSavedAndLoaded(page);
  await archeryScene(page);
  await endAndNewGame(page);
  await storageRefused();
} finally {
  await browser.close();
  server.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);

// The page around the game: an 80-column terminal, a line editor for the
// answers, the archery scene's three keys, and a save folder kept in the
// browser's storage. The game reaches all of it through `host` below (see
// src/platform/web/), as it reaches a terminal and a folder elsewhere.
import { Terminal } from './xterm.mjs';
import createVaelmoor from './vaelmoor.js';

const term = new Terminal({ cols: 80, rows: 25, scrollback: 1000, convertEol: true, fontSize: 16 });
const status = document.getElementById('status');
const encoder = new TextEncoder();

// ---- The line editor: what a terminal does with typing between prompts ----

let line = '';         // the line being typed, not sent yet
let lineShown = true;  // whether it is on the screen (typing in the scene is not)
const lines = [];      // lines sent, not read yet: {bytes, shown, text}; no bytes: the end of input
let wake = null;       // the game's read, waiting for a line

// Typed text is echoed at once, as a terminal does, except in the archery
// scene, which draws every frame afresh: text typed there is shown when the
// game reads it.
function send(text, end) {
  lines.push({ bytes: encoder.encode(text + end), shown: lineShown, text: text + (end ? '\r\n' : '') });
  if (lineShown && end) term.write('\r\n');
  line = '';
  lineShown = !scene;
  if (wake) wake();
}

function type(data) {
  if (ended) {
    if (data.includes('\r')) startGame();
    return;
  }
  if (data.startsWith('\x1b')) return;  // cursor and function keys: no editing here
  for (const ch of data) {
    if (ch === '\r' || ch === '\n') send(line, '\n');
    else if (ch === '\x04') send(line, '');  // Ctrl-D: on an empty line, the end of input
    else if (ch === '\x7f' || ch === '\b') {
      if (!line) continue;
      line = Array.from(line).slice(0, -1).join('');
      if (lineShown) term.write('\b \b');
    } else if (ch >= ' ') {
      line += ch;
      if (lineShown) term.write(ch);
    }
  }
}
term.onData(type);

// ---- The archery scene's keys: real key-down and key-up events ----

const sceneKeys = { ArrowLeft: 0, ArrowRight: 1, ' ': 2 };
const PRESS = 0, RELEASE = 2;  // as the game counts a key's actions
let scene = false;
let keyEvents = [];  // 3 * key + action, not taken by the game yet
const held = new Set();

// The terminal takes its own keys; elsewhere on the page these would scroll it.
const scrollKeys = new Set(['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', ' ']);

function keyChange(event, action) {
  const key = sceneKeys[event.key];
  if (!scene || key === undefined) {
    if (scrollKeys.has(event.key) && event.target !== term.textarea) event.preventDefault();
    return;
  }
  event.preventDefault();
  event.stopImmediatePropagation();  // the scene's keys are no typing
  if (event.repeat) return;          // a held key is down until its key-up anyway
  if (action === PRESS) held.add(key);
  else held.delete(key);
  keyEvents.push(3 * key + action);
}
// Before the terminal sees them (capture), so that the scene takes its keys.
window.addEventListener('keydown', (e) => keyChange(e, PRESS), true);
window.addEventListener('keyup', (e) => keyChange(e, RELEASE), true);
// A key let go in another window never comes up here.
window.addEventListener('blur', () => {
  for (const key of held) keyEvents.push(3 * key + RELEASE);
  held.clear();
});

// ---- The save folder: the browser's storage through emscripten's IDBFS ----

// The game's process number names its temporary save files; a page's game
// holds a lock of that name for as long as it runs, so that another page
// can tell a leftover file of a game that is gone.
const lockName = (id) => `vaelmoor-game-${id}`;

// emscripten 3.1.6's IDBFS reads the error of a failed open or write of its
// database from the wrong object and throws instead of calling back, so a
// failure would never be reported. The storage's own events are watched here
// and settle the pending sync instead.
function watchStorage(IDBFS, failed) {
  const refused = (error) => failed(error || new Error("the browser's storage refused it"));
  const open = (name, version) => {
    const request = indexedDB.open(name, version);
    request.addEventListener('error', () => refused(request.error));
    request.addEventListener('success', () => {
      const db = request.result;
      const transaction = db.transaction;
      db.transaction = (...args) => {
        const t = transaction.apply(db, args);
        t.addEventListener('abort', () => refused(t.error));
        return t;
      };
    });
    return request;
  };
  IDBFS.indexedDB = () => ({ open });
}

// ---- One game: a fresh instance of the compiled game, sharing the terminal ----

let compiled = null;  // the game's WebAssembly, compiled once per page
let ended = false;

async function startGame() {
  ended = false;
  lines.length = 0;
  line = '';
  lineShown = true;
  const processId = 1 + crypto.getRandomValues(new Uint32Array(1))[0] % 999999999;
  let gameOver = null;
  const over = new Promise((resolve) => { gameOver = resolve; });
  if (navigator.locks) navigator.locks.request(lockName(processId), () => over);
  let settle = null;  // ends the sync in progress, with the storage's error if any
  const sync = (FS, populate) => new Promise((resolve) => {
    const mine = (error) => {
      if (settle !== mine) return;  // settled already
      settle = null;
      resolve(error ? String(error.message || error) : '');
    };
    settle = mine;
    try {
      FS.syncfs(populate, mine);
    } catch (error) {
      mine(error);
    }
  });

  const host = {
    isConsole: () => true,
    columns: () => term.cols,
    hasInput: () => lines.length > 0,
    async read(size) {
      if (!lines.length && !lineShown) {
        term.write(line);  // typed in the scene: shown at the prompt
        lineShown = true;
      }
      while (!lines.length) await new Promise((resolve) => { wake = resolve; });
      wake = null;
      const next = lines[0];
      if (!next.shown) {
        term.write(next.text);  // typed in the scene: shown as it is read
        next.shown = true;
      }
      const part = next.bytes.subarray(0, size);
      if (part.length === next.bytes.length) lines.shift();
      else next.bytes = next.bytes.subarray(size);
      return part;
    },
    write: (bytes) => { term.write(bytes); return 0; },
    error: (bytes) => { term.write(bytes); return 0; },
    persist: () => sync(files, false),
    processId: () => processId,
    // A temporary save (stats.txt.PROCESS.TOKEN.tmp) is abandoned when no
    // tab holds the lock of the game whose number its name carries.
    async fileAbandoned(name) {
      if (!navigator.locks) return false;
      const locks = await navigator.locks.query();
      return !locks.held.some((lock) => lock.name === lockName(Number(name.split('.')[2])));
    },
    hasKeys: () => true,
    beginScene() {
      scene = true;
      keyEvents = [];
      held.clear();
      lineShown = false;
      term.write('\x1b[?25l');  // no cursor over the scene
    },
    endScene() {
      scene = false;
      term.write('\x1b[?25h');
    },
    nextKey: () => (keyEvents.length ? keyEvents.shift() : -1),
    ended() {
      ended = true;
      gameOver();
      for (const db of Object.values(files.filesystems.IDBFS.dbs)) db.close();
      status.textContent = 'The game has ended. Press Enter to start a new one.';
      term.write('\r\n\x1b[7m The game has ended. Press Enter to start a new one. \x1b[0m\r\n');
    },
  };

  let files = null;  // the game's file system, once it is up
  await createVaelmoor({
    host,
    instantiateWasm(imports, done) {
      const wasm = new URL('vaelmoor.wasm', import.meta.url);
      // Compiled as it arrives, or, from a host that does not call it
      // application/wasm, once it is all there.
      compiled ??= WebAssembly.compileStreaming(fetch(wasm)).catch(
        () => fetch(wasm).then((r) => r.arrayBuffer()).then((bytes) => WebAssembly.compile(bytes)));
      compiled.then((module) => WebAssembly.instantiate(module, imports)).then((i) => done(i, null))
        .catch((error) => { status.textContent = `The game could not be loaded: ${error.message}`; });
      return {};
    },
    preRun: [(Module) => {
      const { FS } = Module;
      files = FS;
      FS.mkdir('/save');
      FS.mount(FS.filesystems.IDBFS, {}, '/save');
      FS.chdir('/save');
      watchStorage(FS.filesystems.IDBFS, (error) => settle && settle(error));
      // The game starts once the saved folder is back, or without it when the
      // browser keeps nothing: its saves then fail with the storage's words.
      Module.addRunDependency('saves');
      sync(FS, true).then(() => Module.removeRunDependency('saves'));
    }],
  });
  if (!ended) status.textContent = 'Type your answers in the terminal above.';
}

term.open(document.getElementById('terminal'));
term.focus();
startGame();

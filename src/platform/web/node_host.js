// The game's host under node, for piped play (linked in front of the game
// with --pre-js): standard input, output and error are node's, the current
// folder is the real one (NODERAWFS), and there are no keys to hold down.
Module.host = (() => {
  const fs = require('fs');
  const tty = require('tty');
  const chunks = [];  // read from standard input, not yet taken by the game
  let ended = false;
  let wake = null;
  const arrived = (chunk) => {
    if (chunk) chunks.push(chunk);
    else ended = true;
    process.stdin.pause();  // read no more than the game asks for
    if (wake) wake();
  };
  process.stdin.on('data', arrived);
  // Input that cannot be read (a folder, a closed descriptor) has ended.
  process.stdin.on('end', () => arrived(null));
  process.stdin.on('error', () => arrived(null));
  process.stdin.pause();

  // How the game was started, as vaelmoor-node saw it before node hid it.
  const stdoutClosed = process.env.VAELMOOR_NODE_STDOUT === 'closed';
  const sigpipeIgnored = process.env.VAELMOOR_NODE_SIGPIPE === 'ignored';

  // A pipe whose reader has gone ends the game by SIGPIPE, as it ends the
  // native game, unless the game was started with SIGPIPE ignored. node
  // ignores it; once its last listener is removed, its action is the
  // default again.
  const brokenPipe = () => {
    if (sigpipeIgnored) return;
    process.on('SIGPIPE', () => {});
    process.removeAllListeners('SIGPIPE');
    process.kill(process.pid, 'SIGPIPE');
  };

  // Writes all of `bytes` to the descriptor `fd`: 0, or the error number.
  const writeAll = (fd, bytes) => {
    for (let done = 0; done < bytes.length;) {
      if (fd === 1 && stdoutClosed) return ERRNO_CODES.EBADF;
      try {
        done += fs.writeSync(fd, bytes, done);
      } catch (e) {
        if (e.code === 'EPIPE') brokenPipe();
        if (e.code !== 'EAGAIN') return ERRNO_CODES[e.code] || ERRNO_CODES.EIO;
      }
    }
    return 0;
  };

  return {
    isConsole: (fd) => tty.isatty(fd),
    columns: () => process.stdout.columns || 0,
    hasInput: () => chunks.length > 0,
    async read(size) {
      while (!chunks.length && !ended) {
        await new Promise((resolve) => {
          wake = resolve;
          process.stdin.resume();
        });
        wake = null;
      }
      if (!chunks.length) return new Uint8Array(0);
      const part = chunks[0].subarray(0, size);
      if (part.length === chunks[0].length) chunks.shift();
      else chunks[0] = chunks[0].subarray(size);
      return part;
    },
    write: (bytes) => writeAll(1, bytes),
    error: (bytes) => writeAll(2, bytes),
    // Once a save has moved into place it stands: a folder that cannot be
    // opened (one its player may write to but not read) or flushed (some
    // file systems cannot flush a folder) is as safe as that system makes it.
    async persist(path) {
      try {
        const fd = fs.openSync(path, 'r');
        try {
          fs.fsyncSync(fd);
        } finally {
          fs.closeSync(fd);
        }
        return '';
      } catch (e) {
        return path === '.' ? '' : e.message;
      }
    },
    processId: () => process.pid,
    // node locks no files: a temporary save (stats.txt.PROCESS.TOKEN.tmp) is
    // abandoned when the game whose process number its name carries is gone.
    // Signal 0 only asks; a game of another user answers EPERM, and is alive.
    fileAbandoned(name) {
      const id = Number(name.split('.')[2]);
      if (!(id > 0 && id < 2 ** 31)) return false;  // 0 would ask the whole group
      try {
        process.kill(id, 0);
        return false;
      } catch (e) {
        return e.code === 'ESRCH';
      }
    },
    hasKeys: () => false,
    // Output is written at once, so nothing is lost by ending right here.
    ended: (status) => exit(status),
  };
})();

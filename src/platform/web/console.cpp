// The console behind the standard streams in a browser page, or under node
// for piped play. Either way the terminal belongs to the host, the JavaScript
// around the game (Module.host: web/page.js, or node_host.js here), and the
// game reaches it only through the functions below.

#include <emscripten.h>

#include <ostream>
#include <string>

#include "platform/platform.h"
#include "platform/system.h"

namespace {

// Bytes handed to the host are copied out of the game's memory: the page's
// terminal draws them later, when that memory may hold something else.
// JavaScript's true and false reach the game as 1 and 0.
EM_JS(int, host_is_console, (int fd), { return Module.host.isConsole(fd); });
EM_JS(int, host_columns, (), { return Module.host.columns(); });
EM_JS(int, host_has_input, (), { return Module.host.hasInput(); });
EM_ASYNC_JS(int, host_read, (char* buf, int size), {
  const bytes = await Module.host.read(size);
  HEAPU8.set(bytes, buf);
  return bytes.length;
});
EM_JS(int, host_write, (const char* bytes, int size), {
  return Module.host.write(HEAPU8.slice(bytes, bytes + size));
});
EM_JS(void, host_error, (const char* bytes, int size), {
  Module.host.error(HEAPU8.slice(bytes, bytes + size));
});

}  // namespace

namespace platform {

// As on a POSIX terminal: the page's terminal understands the same clear.
void clear_screen(std::ostream& out) { out << "\033[H\033[2J"; }

// The host takes every write (node ignores SIGPIPE and SIGXFSZ itself).
void system::let_writes_fail() {}

bool system::output_is_console() { return host_is_console(1) != 0; }

bool system::input_is_console() { return host_is_console(0) != 0; }

int system::console_columns() { return host_columns(); }

// The page echoes a line as it is typed, as a terminal does: a line already
// waiting was echoed before, maybe in the middle of the game's text.
long system::read_input(char* buf, std::size_t size, bool& waited) {
  waited = host_has_input() == 0;
  return host_read(buf, static_cast<int>(size));
}

int system::write_output(const char* bytes, std::size_t size) {
  return host_write(bytes, static_cast<int>(size));
}

void system::write_error(const std::string& line) {
  host_error(line.data(), static_cast<int>(line.size()));
}

}  // namespace platform

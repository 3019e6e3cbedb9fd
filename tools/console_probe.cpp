// A small Windows console program for CI's live test of the archery scene in
// wine's console window (.ci/steps/35-windows-scene.sh):
//   console_probe run GAME.exe   in the console: notes the console's input mode,
//                                output mode and cursor in "before", runs the
//                                game (its process id in "pid"), waits for it,
//                                then notes them again in "after" and the
//                                game's exit code in "status"
//   console_probe read PID       attaches to the console of process PID and
//                                prints the key events pending in its input,
//                                its cursor, its modes and its visible rows
//   console_probe type PID TEXT  types TEXT into that console ('\n' is Enter)
//   console_probe watch PID MS   reads the top two rows of that console again and
//                                again for MS milliseconds, and counts the reads
//                                that did not find a whole frame of the scene
//   console_probe crash PID      starts a thread in PID that jumps nowhere
//   console_probe call PID NAME  starts a thread in PID that calls the C
//                                library's NAME (abort, exit) with 0
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Ctrl-C and Ctrl-Break are for the game, which shares the console.
BOOL WINAPI stay(DWORD type) { return type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT; }

HANDLE open_console(const char* name) {
  return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

// What the game must give back: "in MODE out MODE cursor SIZE VISIBLE".
std::string console_state() {
  HANDLE in = open_console("CONIN$"), out = open_console("CONOUT$");
  DWORD in_mode = 0, out_mode = 0;
  CONSOLE_CURSOR_INFO cursor = {0, FALSE};
  GetConsoleMode(in, &in_mode);
  GetConsoleMode(out, &out_mode);
  GetConsoleCursorInfo(out, &cursor);
  CloseHandle(in);
  CloseHandle(out);
  char text[128];
  std::snprintf(text, sizeof text, "in 0x%lx out 0x%lx cursor %lu %d\n",
                static_cast<unsigned long>(in_mode), static_cast<unsigned long>(out_mode),
                static_cast<unsigned long>(cursor.dwSize), cursor.bVisible ? 1 : 0);
  return text;
}

void save(const char* file, const std::string& text) {
  FILE* f = std::fopen(file, "wb");
  if (!f) return;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

int run(const char* game) {
  SetConsoleCtrlHandler(stay, TRUE);  // a handler of this program's own: not inherited
  save("before", console_state());
  std::string line = game;
  STARTUPINFOA si;
  std::memset(&si, 0, sizeof si);
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return 2;
  save("pid", std::to_string(pi.dwProcessId) + "\n");
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  save("after", console_state());
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx\n", static_cast<unsigned long>(code));
  save("status", text);
  return 0;
}

DWORD process(const char* pid) { return static_cast<DWORD>(std::strtoul(pid, nullptr, 10)); }

bool attach(const char* pid) {
  FreeConsole();
  if (AttachConsole(process(pid))) return true;
  std::fprintf(stderr, "cannot attach to the console of %s (error %lu)\n", pid, GetLastError());
  return false;
}

int read(const char* pid) {
  if (!attach(pid)) return 1;
  HANDLE in = open_console("CONIN$"), out = open_console("CONOUT$");
  CONSOLE_SCREEN_BUFFER_INFO info;
  DWORD pending = 0;
  if (!GetConsoleScreenBufferInfo(out, &info) || !GetNumberOfConsoleInputEvents(in, &pending))
    return 1;
  std::string text = "pending " + std::to_string(pending) + "\n";
  text += "cursor at " + std::to_string(info.dwCursorPosition.X) + " " +
          std::to_string(info.dwCursorPosition.Y - info.srWindow.Top) + "\n";
  text += console_state();
  for (SHORT y = info.srWindow.Top; y <= info.srWindow.Bottom; ++y) {
    std::string row(info.dwSize.X, ' ');
    DWORD got = 0;
    ReadConsoleOutputCharacterA(out, &row[0], info.dwSize.X, COORD{0, y}, &got);
    row.resize(got);
    while (!row.empty() && row.back() == ' ') row.pop_back();
    text += "|" + row + "\n";
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

int type(const char* pid, const char* text) {
  if (!attach(pid)) return 1;
  HANDLE in = open_console("CONIN$");
  for (const char* c = text; *c; ++c) {
    char ch = *c == '\n' ? '\r' : *c;
    WORD key = *c == '\n' ? VK_RETURN : static_cast<WORD>(VkKeyScanA(ch) & 0xff);
    INPUT_RECORD press_and_release[2];
    for (int i = 0; i < 2; ++i) {
      INPUT_RECORD& r = press_and_release[i];
      std::memset(&r, 0, sizeof r);
      r.EventType = KEY_EVENT;
      r.Event.KeyEvent.bKeyDown = i == 0;
      r.Event.KeyEvent.wRepeatCount = 1;
      r.Event.KeyEvent.wVirtualKeyCode = key;
      r.Event.KeyEvent.uChar.AsciiChar = ch;
    }
    DWORD written = 0;
    if (!WriteConsoleInputA(in, press_and_release, 2, &written)) return 1;
  }
  return 0;
}

// A whole frame: the help line, then a track of 31 cells, one more with the archer on it.
bool whole_frame(const std::string& help, const std::string& track) {
  if (help != "<Arrow keys>: move <space>: shoot arrow") return false;
  return (track.size() == 31 || track.size() == 32) &&
         track.find_first_not_of("_HX") == std::string::npos;
}

std::string row_text(const CHAR_INFO* cells, int width) {
  std::string row;
  for (int x = 0; x < width; ++x) row += cells[x].Char.AsciiChar;
  while (!row.empty() && row.back() == ' ') row.pop_back();
  return row;
}

int watch(const char* pid, const char* ms) {
  if (!attach(pid)) return 1;
  HANDLE out = open_console("CONOUT$");
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(out, &info)) return 1;
  const int width = info.dwSize.X;
  std::vector<CHAR_INFO> cells(2 * static_cast<std::size_t>(width));
  long reads = 0, torn = 0;
  std::string first_torn;
  const DWORD end = GetTickCount() + std::strtoul(ms, nullptr, 10);
  while (GetTickCount() < end) {
    // Both rows in one read, so that a frame cannot change between them.
    SMALL_RECT rows = {0, info.srWindow.Top, static_cast<SHORT>(width - 1),
                       static_cast<SHORT>(info.srWindow.Top + 1)};
    if (!ReadConsoleOutputA(out, cells.data(), COORD{static_cast<SHORT>(width), 2}, COORD{0, 0}, &rows))
      return 1;
    ++reads;
    std::string help = row_text(&cells[0], width), track = row_text(&cells[width], width);
    if (!whole_frame(help, track) && torn++ == 0) first_torn = "|" + help + "\n|" + track + "\n";
  }
  std::printf("reads %ld torn %ld\n%s", reads, torn, first_torn.c_str());
  return 0;
}

int start_thread(const char* pid, LPTHREAD_START_ROUTINE at) {
  HANDLE game = OpenProcess(PROCESS_ALL_ACCESS, FALSE, process(pid));
  if (!game) return 1;
  return CreateRemoteThread(game, nullptr, 0, at, nullptr, 0, nullptr) ? 0 : 1;
}

int crash(const char* pid) {
  return start_thread(pid, reinterpret_cast<LPTHREAD_START_ROUTINE>(static_cast<std::uintptr_t>(8)));
}

// The C library is the system's msvcrt.dll, loaded at the same address in
// every process.
int call(const char* pid, const char* name) {
  FARPROC at = GetProcAddress(LoadLibraryA("msvcrt.dll"), name);
  return at ? start_thread(pid, reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(at))) : 1;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in '\n' alone
  std::string what = argc > 1 ? argv[1] : "";
  if (what == "run" && argc == 3) return run(argv[2]);
  if (what == "read" && argc == 3) return read(argv[2]);
  if (what == "type" && argc == 4) return type(argv[2], argv[3]);
  if (what == "watch" && argc == 4) return watch(argv[2], argv[3]);
  if (what == "crash" && argc == 3) return crash(argv[2]);
  if (what == "call" && argc == 4) return call(argv[2], argv[3]);
  std::fprintf(stderr, "usage: console_probe run GAME | read PID | type PID TEXT | watch PID MS | crash PID | call PID NAME\n");
  return 2;
}

// A small Windows console program for CI's live test of the archery scene in
// wine's console window (.ci/steps/35-windows-scene.sh). Run as
//   console_probe run GAME.exe      in the console: notes the console's modes and
//                                   cursor in "before", runs the game, notes them
//                                   again in "after" and the exit code in "status"
//   console_probe read PID|NAME          attaches to the console of PID (or of the program NAME) and prints its
//                                   cursor, modes, pending input and visible rows
//   console_probe type PID|NAME TEXT     types TEXT into the console of PID (or of the program NAME) ("\n" is Enter)
//   console_probe ctrl-c PID|NAME        a Ctrl-C (or ctrl-break) sent to that console
//   console_probe crash PID|NAME         a thread that jumps to address 0 in PID
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HANDLE game_process = nullptr;
std::string console_state();
void save(const char* file, const std::string& text);

// Ctrl-C and Ctrl-Break are for the game. When the window is closed, the
// console lives on while its programs answer the close: long enough to see
// what the game left it.
BOOL WINAPI stay(DWORD type) {
  if (type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT) return TRUE;
  if (type == CTRL_CLOSE_EVENT && game_process && WaitForSingleObject(game_process, 3000) == WAIT_OBJECT_0)
    save("after", console_state());
  return FALSE;
}

HANDLE open_console(const char* name) {
  return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, OPEN_EXISTING, 0, nullptr);
}

// Input mode, output mode, cursor size and visibility: what the game must give back.
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
  SetConsoleCtrlHandler(stay, TRUE);  // not inherited: the game gets Ctrl-C as usual
  save("before", console_state());
  std::string line = game;
  STARTUPINFOA si;
  std::memset(&si, 0, sizeof si);
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return 2;
  game_process = pi.hProcess;
  save("pid", std::to_string(pi.dwProcessId) + "\n");
  // A program attached to the console afterwards cannot send it console
  // events under wine, so a file named "send-break" or "send-ctrl-c" asks
  // this one to.
  while (WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT) {
    for (DWORD event : {CTRL_BREAK_EVENT, CTRL_C_EVENT}) {
      const char* ask = event == CTRL_C_EVENT ? "send-ctrl-c" : "send-break";
      if (DeleteFileA(ask) && !GenerateConsoleCtrlEvent(event, 0))
        std::fprintf(stderr, "no console event sent (%lu)\n", GetLastError());
    }
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  save("after", console_state());
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx\n", static_cast<unsigned long>(code));
  save("status", text);
  return 0;
}

// A process id, or the name of a running program.
DWORD process(const char* id) {
  char* end = nullptr;
  DWORD number = std::strtoul(id, &end, 10);
  if (*id && !*end) return number;
  HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(all, &entry); more; more = Process32Next(all, &entry))
    if (_stricmp(entry.szExeFile, id) == 0) number = entry.th32ProcessID;
  CloseHandle(all);
  return number;
}

bool attach(const char* pid) {
  FreeConsole();
  if (AttachConsole(process(pid))) return true;
  std::fprintf(stderr, "cannot attach to %s's console (%lu)\n", pid, GetLastError());
  return false;
}

int read(const char* pid) {
  if (!attach(pid)) return 1;
  HANDLE in = open_console("CONIN$"), out = open_console("CONOUT$");
  CONSOLE_SCREEN_BUFFER_INFO info;
  DWORD pending = 0;
  if (!GetConsoleScreenBufferInfo(out, &info)) return 1;
  GetNumberOfConsoleInputEvents(in, &pending);
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
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in \n alone
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

int type(const char* pid, const char* text) {
  if (!attach(pid)) return 1;
  HANDLE in = open_console("CONIN$");
  for (const char* c = text; *c; ++c) {
    char ch = *c == '\n' ? '\r' : *c;
    WORD vk = *c == '\n' ? VK_RETURN : static_cast<WORD>(VkKeyScanA(ch) & 0xff);
    INPUT_RECORD keys[2];
    for (int i = 0; i < 2; ++i) {
      std::memset(&keys[i], 0, sizeof keys[i]);
      keys[i].EventType = KEY_EVENT;
      keys[i].Event.KeyEvent.bKeyDown = i == 0;
      keys[i].Event.KeyEvent.wRepeatCount = 1;
      keys[i].Event.KeyEvent.wVirtualKeyCode = vk;
      keys[i].Event.KeyEvent.uChar.AsciiChar = ch;
    }
    DWORD written = 0;
    WriteConsoleInputA(in, keys, 2, &written);
  }
  return 0;
}

int ctrl(const char* pid, DWORD event) {
  if (!attach(pid)) return 1;
  SetConsoleCtrlHandler(stay, TRUE);
  if (!GenerateConsoleCtrlEvent(event, 0)) {
    std::fprintf(stderr, "no console event sent (%lu)\n", GetLastError());
    return 1;
  }
  Sleep(200);  // the event reaches this program too, and must find it still here
  return 0;
}

int close(const char* pid) {
  if (!attach(pid)) return 1;
  return PostMessageA(GetConsoleWindow(), WM_CLOSE, 0, 0) ? 0 : 1;
}

int crash(const char* pid) {
  HANDLE game = OpenProcess(PROCESS_ALL_ACCESS, FALSE, process(pid));
  if (!game) return 1;
  auto nowhere = reinterpret_cast<LPTHREAD_START_ROUTINE>(static_cast<std::uintptr_t>(8));
  HANDLE thread = CreateRemoteThread(game, nullptr, 0, nowhere, nullptr, 0, nullptr);
  return thread ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string what = argc > 1 ? argv[1] : "";
  if (what == "run" && argc == 3) return run(argv[2]);
  if (what == "read" && argc == 3) return read(argv[2]);
  if (what == "type" && argc == 4) return type(argv[2], argv[3]);
  if (what == "ctrl-c" && argc == 3) return ctrl(argv[2], CTRL_C_EVENT);
  if (what == "ctrl-break" && argc == 3) return ctrl(argv[2], CTRL_BREAK_EVENT);
  if (what == "crash" && argc == 3) return crash(argv[2]);
  if (what == "close" && argc == 3) return close(argv[2]);
  std::fprintf(stderr, "usage: console_probe run GAME | read PID|NAME | type PID|NAME TEXT | "
                       "ctrl-c PID|NAME | ctrl-break PID|NAME | crash PID\n");
  return 2;
}

#include "platform/windows/console_mode.h"

#include <windows.h>

#include <csignal>
#include <cstdlib>

namespace platform::windows {

namespace {

// Kept at namespace scope because the console-event handler (which runs on a
// thread of its own), the crash filter and the exit hook must reach it. The
// lock keeps a giving back from landing halfway through the scene's start.
HANDLE input = INVALID_HANDLE_VALUE;
HANDLE output = INVALID_HANDLE_VALUE;
DWORD saved_mode = 0;
CONSOLE_CURSOR_INFO saved_cursor = {0, FALSE};
bool cursor_saved = false;  // false when standard output is no console
volatile LONG applied = 0;  // the console is in the scene's state now
SRWLOCK lock = SRWLOCK_INIT;

LPTOP_LEVEL_EXCEPTION_FILTER previous_filter = nullptr;
using SignalHandler = void (*)(int);
SignalHandler previous_abort = SIG_DFL;
bool handlers_installed = false;

// Without line input and echo each key comes as it is pressed, unseen.
// Without virtual-terminal input the arrows come as key codes, not as
// escape sequences.
constexpr DWORD kNotInScene = ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT | ENABLE_VIRTUAL_TERMINAL_INPUT;

void give_back() {
  if (!applied) return;
  SetConsoleMode(input, saved_mode);
  if (cursor_saved) SetConsoleCursorInfo(output, &saved_cursor);
  applied = 0;
}

void give_back_locked() {
  AcquireSRWLockExclusive(&lock);
  give_back();
  ReleaseSRWLockExclusive(&lock);
}

// Then the next handler, in the end the system's, ends the game as it would
// have anyway.
BOOL WINAPI on_console_event(DWORD) {
  give_back_locked();
  return FALSE;
}

// A crash may come while this very thread holds the lock: no lock here.
LONG WINAPI on_crash(EXCEPTION_POINTERS* crash) {
  give_back();
  return previous_filter ? previous_filter(crash) : EXCEPTION_CONTINUE_SEARCH;
}

// abort() (also what an uncaught C++ exception ends in) raises SIGABRT and
// never reaches the crash filter; raised again under the earlier handler, it
// ends the game as before.
void on_abort(int sig) {
  give_back();
  std::signal(sig, previous_abort);
  std::raise(sig);
}

void at_exit() { give_back_locked(); }

void install_handlers() {
  static bool exit_hook = false;
  if (!exit_hook) exit_hook = std::atexit(at_exit) == 0;
  SetConsoleCtrlHandler(on_console_event, TRUE);
  previous_filter = SetUnhandledExceptionFilter(on_crash);
  previous_abort = std::signal(SIGABRT, on_abort);
  if (previous_abort == SIG_ERR) previous_abort = SIG_DFL;
  handlers_installed = true;
}

void uninstall_handlers() {
  if (!handlers_installed) return;
  SetConsoleCtrlHandler(on_console_event, FALSE);
  SetUnhandledExceptionFilter(previous_filter);
  std::signal(SIGABRT, previous_abort);
  handlers_installed = false;
}

}  // namespace

void begin_scene_mode() {
  input = GetStdHandle(STD_INPUT_HANDLE);
  output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!GetConsoleMode(input, &saved_mode)) return;
  cursor_saved = GetConsoleCursorInfo(output, &saved_cursor) != 0;
  install_handlers();
  AcquireSRWLockExclusive(&lock);
  applied = 1;  // before the change: a giving back may then come at any moment
  SetConsoleMode(input, (saved_mode & ~kNotInScene) | ENABLE_PROCESSED_INPUT);
  if (cursor_saved) {
    CONSOLE_CURSOR_INFO hidden = saved_cursor;
    hidden.bVisible = FALSE;
    SetConsoleCursorInfo(output, &hidden);
  }
  ReleaseSRWLockExclusive(&lock);
}

void end_scene_mode() {
  give_back_locked();
  uninstall_handlers();
}

}  // namespace platform::windows

#include "platform/posix/terminal_mode.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace platform::posix {

namespace {

// The scene's terminal state lives here, at namespace scope, because the
// signal handlers and the exit hook must reach it; the scene's other state is
// the scene's own (keyboard.cpp). Everything a signal handler reads is set up
// before the handler is installed, and the flags are written in an order
// that leaves the terminal right whenever a signal lands between two steps.
struct termios saved_mode;  // the player's mode: put back by every way out
struct termios scene_mode;  // put back again when a stopped game continues
struct termios flowing_mode;  // the player's, but output paused by Ctrl-S flows again
volatile std::sig_atomic_t in_scene = 0;      // between begin and end
volatile std::sig_atomic_t mode_applied = 0;  // the terminal is in the scene's mode now
volatile std::sig_atomic_t kitty = 0;         // the scene's mode includes the kitty flags
volatile std::sig_atomic_t on_screen = 0;     // standard output is the terminal

constexpr char kPushKitty[] = "\033[>11u";  // disambiguate + event types + all keys as escapes
constexpr char kPopKitty[] = "\033[<u";
constexpr char kHideCursor[] = "\033[?25l";
// Paints whatever a signal cut short (a frame whose write was interrupted
// would otherwise hold the painting until the terminal tires of waiting),
// then shows the cursor.
constexpr char kGiveScreenBack[] = "\033[?2026l\033[?25h";

// Every signal whose default action ends the process; the real-time ones
// are added where the system has them.
constexpr int kEndingSignals[] = {
    SIGHUP,  SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,    SIGFPE,  SIGUSR1,
    SIGSEGV, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGSYS,
#ifdef SIGPOLL
    SIGPOLL,
#endif
#ifdef __linux__
    SIGSTKFLT, SIGPWR,
#endif
};
constexpr int kSignalSlots = 128;  // more than any system's highest signal number
struct sigaction previous[kSignalSlots];  // by number: an ending signal is re-raised under its own
struct sigaction previous_tstp;  // given back with the others when the scene ends
struct sigaction previous_cont;
bool handlers_installed = false;  // kept beside them: the exit hook may come after the end
// A descriptor of the terminal of its own, that never blocks: the way out
// writes through it, so that a terminal that takes nothing never holds it.
volatile std::sig_atomic_t quick_out = -1;

template <typename F>
void for_each_ending_signal(F f) {
  for (int sig : kEndingSignals) f(sig);
#ifdef SIGRTMIN
  for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig) f(sig);
#endif
}

void write_to(int fd, const char* bytes, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, bytes, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return;
    bytes += w;
    n -= static_cast<std::size_t>(w);
  }
}

void write_all(const char* bytes, std::size_t n) { write_to(STDOUT_FILENO, bytes, n); }

// What the terminal cannot take at once is dropped (without the descriptor
// of its own, the terminal's output has at least been started again).
void write_now(const char* bytes, std::size_t n) {
  write_to(quick_out >= 0 ? static_cast<int>(quick_out) : STDOUT_FILENO, bytes, n);
}

// These three are safe inside a signal handler.
void restore_terminal() {
  if (!mode_applied) return;
  if (on_screen) write_all(kGiveScreenBack, sizeof kGiveScreenBack - 1);
  if (kitty) write_all(kPopKitty, sizeof kPopKitty - 1);
  ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_mode);
  mode_applied = 0;
}

// The way out (a signal, a stop, the exit) never waits on the terminal: the
// mode first, without Ctrl-S and Ctrl-Q for a moment, which starts output
// paused by the player again (TCOON starts output paused by a program), then
// the rest written without blocking, and then the exact mode.
void give_terminal_back_now() {
  if (!mode_applied) return;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &flowing_mode);
  if (on_screen) {
    ::tcflow(STDOUT_FILENO, TCOON);
    write_now(kGiveScreenBack, sizeof kGiveScreenBack - 1);
  }
  if (kitty) write_now(kPopKitty, sizeof kPopKitty - 1);
  ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_mode);
  mode_applied = 0;
}

void reenter_scene() {
  if (!in_scene || mode_applied) return;
  mode_applied = 1;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &scene_mode);
  if (on_screen) write_all(kHideCursor, sizeof kHideCursor - 1);
  if (kitty) write_all(kPushKitty, sizeof kPushKitty - 1);
}

// The terminal first, then the signal does what it would have done anyway:
// raised again under its earlier disposition, it is delivered (and kills,
// with a core dump where that is its default) as soon as this handler
// returns, a crash as much as a signal sent from outside. (raise and signal
// fail only for a signal number that does not exist, and a handler could do
// nothing about it anyway.)
void on_ending_signal(int sig) {
  int saved_errno = errno;
  give_terminal_back_now();
  ::sigaction(sig, &previous[sig], nullptr);
  (void)::raise(sig);
  errno = saved_errno;
}

void on_stop(int);

void catch_stop() {
  struct sigaction act;
  std::memset(&act, 0, sizeof act);
  act.sa_handler = on_stop;
  sigemptyset(&act.sa_mask);
  ::sigaction(SIGTSTP, &act, nullptr);
}

// Ctrl-Z: give the terminal back, then really stop. Execution goes on here
// once the game is continued (or at once, where the system discards the stop
// of a process that no shell could continue), and the scene's mode returns.
void on_stop(int) {
  int saved_errno = errno;
  give_terminal_back_now();
  (void)::signal(SIGTSTP, SIG_DFL);
  (void)::raise(SIGTSTP);
  sigset_t stop, before;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  ::sigprocmask(SIG_UNBLOCK, &stop, &before);  // the stop happens here
  ::sigprocmask(SIG_SETMASK, &before, nullptr);
  catch_stop();
  reenter_scene();
  errno = saved_errno;
}

// Also covers a stop that could not be caught (SIGSTOP): whoever continued
// the game may have changed the terminal meanwhile.
void on_continue(int) {
  int saved_errno = errno;
  reenter_scene();
  errno = saved_errno;
}

void at_exit() { give_terminal_back_now(); }

void install_handlers() {
  struct sigaction act;
  std::memset(&act, 0, sizeof act);
  sigemptyset(&act.sa_mask);
  act.sa_handler = on_ending_signal;
  for_each_ending_signal([&](int sig) {
    if (sig >= kSignalSlots) return;
    ::sigaction(sig, nullptr, &previous[sig]);
    // A signal the game was started to ignore (nohup, a background job) stays ignored.
    if (previous[sig].sa_handler != SIG_IGN) ::sigaction(sig, &act, nullptr);
  });
  ::sigaction(SIGTSTP, nullptr, &previous_tstp);
  if (previous_tstp.sa_handler != SIG_IGN) catch_stop();
  act.sa_handler = on_continue;
  ::sigaction(SIGCONT, &act, &previous_cont);
  handlers_installed = true;
}

void uninstall_handlers() {
  if (!handlers_installed) return;
  for_each_ending_signal([](int sig) {
    if (sig < kSignalSlots) ::sigaction(sig, &previous[sig], nullptr);
  });
  ::sigaction(SIGTSTP, &previous_tstp, nullptr);
  ::sigaction(SIGCONT, &previous_cont, nullptr);
  handlers_installed = false;
}

void open_quick_out() {
  const char* name = on_screen ? ::ttyname(STDOUT_FILENO) : nullptr;
  if (quick_out < 0 && name) quick_out = ::open(name, O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

void close_quick_out() {
  int fd = quick_out;
  quick_out = -1;
  if (fd >= 0) ::close(fd);
}

}  // namespace

void begin_scene_mode() {
  static bool exit_hook = false;
  if (!exit_hook) exit_hook = (std::atexit(at_exit) == 0);
  on_screen = ::isatty(STDOUT_FILENO) == 1;
  if (::tcgetattr(STDIN_FILENO, &saved_mode) != 0) return;
  flowing_mode = saved_mode;
  flowing_mode.c_iflag &= ~static_cast<tcflag_t>(IXON);
  scene_mode = saved_mode;
  scene_mode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  scene_mode.c_cc[VMIN] = 0;  // a read returns at once, with whatever has arrived
  scene_mode.c_cc[VTIME] = 0;
  kitty = 0;
  open_quick_out();
  install_handlers();
  in_scene = 1;
  reenter_scene();
}

void push_kitty_flags() {
  if (!mode_applied || kitty) return;
  kitty = 1;
  write_all(kPushKitty, sizeof kPushKitty - 1);
}

void pop_kitty_flags() {
  if (!kitty) return;
  // Popped before the flag falls, so that no signal in between can leave
  // the flags on; a second pop of an empty stack does nothing.
  if (mode_applied) write_all(kPopKitty, sizeof kPopKitty - 1);
  kitty = 0;
}

bool scene_on_screen() { return on_screen != 0; }

void end_scene_mode() {
  in_scene = 0;
  restore_terminal();
  uninstall_handlers();
  close_quick_out();
}

void send_to_terminal(const char* bytes) { write_all(bytes, std::strlen(bytes)); }

}  // namespace platform::posix

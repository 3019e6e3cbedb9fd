#include "platform/posix/terminal_mode.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/posix/write_all.h"

namespace platform::posix {

namespace {

// The scene's terminal state lives here, at namespace scope, because the
// signal handlers and the exit hook must reach it; the scene's other state is
// the scene's own (keyboard.cpp). Everything a signal handler reads is set up
// before the handler is installed, and the flags are written in an order
// that leaves the terminal right whenever a signal lands between two steps.
// The flags are lock-free atomics, which a signal handler may use.
struct termios saved_mode;  // the player's mode: put back by every way out
struct termios scene_mode;  // put back again when a stopped game continues
struct termios flowing_mode;  // the player's, but output paused by Ctrl-S flows again
std::atomic<bool> in_scene{false};      // between begin and end
std::atomic<bool> mode_applied{false};  // the terminal is in the scene's mode now
std::atomic<bool> kitty{false};         // the scene's mode includes the kitty flags
std::atomic<bool> on_screen{false};     // standard output is the terminal
// A descriptor of the terminal of its own, that never blocks: the way out
// writes through it, so that a terminal that takes nothing never holds it.
std::atomic<int> quick_out{-1};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

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
struct sigaction previous[NSIG];  // by number: an ending signal is re-raised under its own
struct sigaction previous_tstp;  // given back with the others when the scene ends
struct sigaction previous_cont;

template <typename F>
void for_each_ending_signal(F f) {
  for (int sig : kEndingSignals) f(sig);
#ifdef SIGRTMIN
  for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig) f(sig);
#endif
}

// Without `may_wait`, what the terminal cannot take at once is dropped
// (without the descriptor of its own, the terminal's output has at least been
// started again).
void send(const char* bytes, bool may_wait = true) {
  const int fd = may_wait || quick_out < 0 ? STDOUT_FILENO : quick_out.load();
  (void)write_all(fd, bytes, std::strlen(bytes), may_wait);
}

// Safe inside a signal handler. The way out of a signal, a stop or the exit
// must not wait on the terminal: the mode first, without Ctrl-S and Ctrl-Q
// for a moment, which starts output paused by the player again (TCOON starts
// output paused by a program), then the rest written without blocking, and
// then the exact mode.
void give_terminal_back(bool may_wait) {
  if (!mode_applied) return;
  if (!may_wait) {
    ::tcsetattr(STDIN_FILENO, TCSANOW, &flowing_mode);
    if (on_screen) ::tcflow(STDOUT_FILENO, TCOON);
  }
  if (on_screen) send(kGiveScreenBack, may_wait);
  if (kitty) send(kPopKitty, may_wait);
  ::tcsetattr(STDIN_FILENO, TCSANOW, &saved_mode);
  mode_applied = false;
}

void reenter_scene() {
  if (!in_scene || mode_applied) return;
  mode_applied = true;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &scene_mode);
  if (on_screen) send(kHideCursor);
  if (kitty) send(kPushKitty);
}

// Every handler runs with all other signals held off, so that none cuts the
// giving back in half.
void catch_signal(int sig, void (*handler)(int)) {
  struct sigaction act {};
  act.sa_handler = handler;
  sigfillset(&act.sa_mask);
  ::sigaction(sig, &act, nullptr);
}

// A signal the game was started to ignore (nohup, a background job) stays ignored.
void catch_unless_ignored(int sig, void (*handler)(int), struct sigaction& before) {
  ::sigaction(sig, nullptr, &before);
  if (before.sa_handler != SIG_IGN) catch_signal(sig, handler);
}

// The terminal first, then the signal does what it would have done anyway:
// raised again under its earlier disposition, it is delivered (and kills,
// with a core dump where that is its default) as soon as this handler
// returns, a crash as much as a signal sent from outside. (raise and signal
// fail only for a signal number that does not exist, and a handler could do
// nothing about it anyway.)
void on_ending_signal(int sig) {
  int saved_errno = errno;
  give_terminal_back(false);
  ::sigaction(sig, &previous[sig], nullptr);
  (void)::raise(sig);
  errno = saved_errno;
}

// Ctrl-Z: give the terminal back, then really stop. Execution goes on here
// once the game is continued (or at once, where the system discards the stop
// of a process that no shell could continue), and the scene's mode returns.
void on_stop(int) {
  int saved_errno = errno;
  give_terminal_back(false);
  (void)::signal(SIGTSTP, SIG_DFL);
  (void)::raise(SIGTSTP);
  sigset_t stop, before;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  ::sigprocmask(SIG_UNBLOCK, &stop, &before);  // the stop happens here
  ::sigprocmask(SIG_SETMASK, &before, nullptr);
  catch_signal(SIGTSTP, on_stop);
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

void at_exit() { give_terminal_back(false); }

void install_handlers() {
  for_each_ending_signal([](int sig) { catch_unless_ignored(sig, on_ending_signal, previous[sig]); });
  catch_unless_ignored(SIGTSTP, on_stop, previous_tstp);
  ::sigaction(SIGCONT, nullptr, &previous_cont);
  catch_signal(SIGCONT, on_continue);
}

void uninstall_handlers() {
  for_each_ending_signal([](int sig) { ::sigaction(sig, &previous[sig], nullptr); });
  ::sigaction(SIGTSTP, &previous_tstp, nullptr);
  ::sigaction(SIGCONT, &previous_cont, nullptr);
}

}  // namespace

void begin_scene_mode() {
  [[maybe_unused]] static const int exit_hook = std::atexit(at_exit);
  on_screen = ::isatty(STDOUT_FILENO) == 1;
  if (::tcgetattr(STDIN_FILENO, &saved_mode) != 0) return;
  flowing_mode = saved_mode;
  flowing_mode.c_iflag &= ~static_cast<tcflag_t>(IXON);
  scene_mode = saved_mode;
  scene_mode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  scene_mode.c_cc[VMIN] = 0;  // a read returns at once, with whatever has arrived
  scene_mode.c_cc[VTIME] = 0;
  const char* name = on_screen ? ::ttyname(STDOUT_FILENO) : nullptr;
  if (name) quick_out = ::open(name, O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  install_handlers();
  in_scene = true;
  reenter_scene();
}

// Pushed after the flag is up, so that no signal in between can leave the
// flags on; popped before it falls, for the same reason. A pop of an empty
// stack does nothing.
void push_kitty_flags() {
  kitty = true;
  send(kPushKitty);
}

bool pop_kitty_flags() {
  if (!kitty) return false;
  send(kPopKitty);
  kitty = false;
  return true;
}

bool scene_on_screen() { return on_screen; }

void end_scene_mode() {
  if (!in_scene) return;
  in_scene = false;
  give_terminal_back(true);
  uninstall_handlers();
  const int fd = quick_out.exchange(-1);
  if (fd >= 0) ::close(fd);
}

void send_to_terminal(const char* bytes) { send(bytes); }

}  // namespace platform::posix

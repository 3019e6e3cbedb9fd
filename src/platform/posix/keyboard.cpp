// The archery scene's keyboard on a POSIX terminal. A terminal has no
// "is this key down?" call: it sends bytes when keys are pressed. The scene
// reads them without waiting, decodes them, and counts a key as down in a
// frame as the key tracker says. Terminals that speak the kitty keyboard
// protocol also report releases, so there a held key is down from press to
// release; elsewhere a held key shows through its auto-repeat.

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <memory>
#include <ostream>
#include <thread>
#include <utility>

#include "platform/platform.h"
#include "platform/posix/terminal_mode.h"
#include "platform/system.h"
#include "platform/terminal/key_decoder.h"

namespace platform {

namespace {

// Terminals answer queries at once; a terminal that says nothing at all must
// not hold the scene up for long.
constexpr int kReplyWaitMs = 300;
constexpr char kAskKittyThenDevice[] = "\033[?u\033[c";
constexpr char kAskDevice[] = "\033[c";

// What the player types during the scene is kept for the answers after it,
// but no more than a line's worth: a flood of pasted text is dropped.
constexpr std::size_t kKeptTyping = 4096;

struct Replies {
  bool kitty = false;
  bool device = false;
};

}  // namespace

struct KeyScene::Live {
  KeyDecoder decoder;
  KeyTracker tracker;
  std::string typed;   // bytes that belong to the next answers
  bool kitty_on = false;
  bool gone = false;   // the terminal hung up or closed
  int unanswered = 0;  // device-attributes queries sent, not answered yet

  void handle(const std::vector<KeyEvent>& events, Replies& replies) {
    for (const KeyEvent& e : events) {
      switch (e.kind) {
        case KeyEvent::Key: tracker.apply(e); break;
        case KeyEvent::Text:
          if (typed.size() < kKeptTyping) typed.append(e.text, 0, kKeptTyping - typed.size());
          break;
        // With kitty's flags these keys no longer make the terminal send the
        // signal, so the scene sends it to itself (raise fails only for a
        // signal number that does not exist).
        case KeyEvent::Interrupt: (void)::raise(SIGINT); break;
        case KeyEvent::Quit: (void)::raise(SIGQUIT); break;
        case KeyEvent::Suspend: (void)::raise(SIGTSTP); break;
        case KeyEvent::KittyFlags: replies.kitty = true; break;
        case KeyEvent::DeviceReply:
          replies.device = true;
          if (unanswered > 0) --unanswered;
          break;
      }
    }
  }

  // Everything that has arrived, decoded a piece at a time, so that a flood
  // of text never sits in memory whole. A hung-up terminal reads as nothing
  // at all, like one with nothing typed: only poll tells the two apart.
  void read_keys(Replies& replies) {
    char buf[4096];
    for (;;) {
      ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
      if (n > 0) handle(decoder.feed(std::string(buf, static_cast<std::size_t>(n))), replies);
      else if (n < 0 && errno == EINTR) continue;
      else if (n < 0 && errno != EAGAIN) gone = true;
      if (n <= 0) break;
    }
    struct pollfd in = {STDIN_FILENO, POLLIN, 0};
    if (::poll(&in, 1, 0) > 0 && (in.revents & (POLLHUP | POLLERR | POLLNVAL))) gone = true;
  }

  void ask(const char* query) {
    posix::send_to_terminal(query);
    ++unanswered;
  }

  // Every terminal answers the device-attributes query, and answers in order:
  // what it sent before that answer has arrived once the answer is here.
  Replies await_device_reply() {
    Replies replies;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReplyWaitMs);
    while (!replies.device && !gone) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      struct pollfd in = {STDIN_FILENO, POLLIN, 0};
      int ready = ::poll(&in, 1, static_cast<int>(left.count()));
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) break;
      read_keys(replies);
    }
    return replies;
  }
};

bool keyboard_available() { return system::input_is_console(); }

KeyScene::KeyScene() : live_(std::make_unique<Live>()) {
  posix::begin_scene_mode();
  if (!posix::scene_on_screen()) return;  // the queries would go into a file
  live_->ask(kAskKittyThenDevice);
  if (!live_->await_device_reply().kitty) return;
  posix::push_kitty_flags();
  live_->tracker.set_releases_reported(true);
  live_->kitty_on = true;
}

KeyScene::~KeyScene() { finish(); }

KeyState KeyScene::poll() {
  Replies late;  // answers that came after the wait; nothing to do with them now
  live_->read_keys(late);
  KeyState keys = live_->tracker.take_frame();
  keys.ended = live_->gone;
  return keys;
}

std::string KeyScene::finish() {
  if (!live_) return {};
  Replies ignored;
  if (live_->kitty_on) {
    // Keys typed before the terminal saw the pop still come as kitty
    // sequences: fetch them all before the terminal goes back to lines.
    posix::pop_kitty_flags();
    live_->ask(kAskDevice);
    live_->await_device_reply();
  }
  live_->read_keys(ignored);
  live_->handle(live_->decoder.flush(), ignored);
  posix::end_scene_mode();
  // Answers still owed come in as the player types, after the scene.
  system::expect_late_replies(live_->unanswered);
  std::string kept = std::move(live_->typed);
  live_.reset();
  return kept;
}

void KeyScene::draw(std::ostream& out, const std::string& frame) {
  bool hold = posix::scene_on_screen();
  if (hold) out << posix::kHoldPainting;
  clear_screen(out);
  out << frame;
  if (hold) out << posix::kPaintNow;
  out.flush();
}

void KeyScene::pause(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace platform

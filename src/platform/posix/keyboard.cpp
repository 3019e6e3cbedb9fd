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

}  // namespace

struct KeyScene::Live {
  KeyDecoder& decoder = system::input_decoder();
  KeyTracker tracker;
  std::string typed;  // bytes that belong to the next answers
  bool gone = false;  // the terminal hung up or closed
  bool kitty_answered = false;   // to the last query
  bool device_answered = false;  // likewise

  void handle(const KeyEvent& e) {
    switch (e.kind) {
      case KeyEvent::Key: tracker.apply(e.key, e.action); break;
      case KeyEvent::Text:
        if (typed.size() < kKeptTyping) typed.append(e.text, 0, kKeptTyping - typed.size());
        break;
      // With kitty's flags these keys no longer make the terminal send the
      // signal, so the scene sends it to itself (raise fails only for a
      // signal number that does not exist).
      case KeyEvent::Interrupt: (void)::raise(SIGINT); break;
      case KeyEvent::Quit: (void)::raise(SIGQUIT); break;
      case KeyEvent::Suspend: (void)::raise(SIGTSTP); break;
      case KeyEvent::KittyFlags: kitty_answered = true; break;
      case KeyEvent::DeviceReply: device_answered = true; break;
    }
  }

  // Everything that has arrived, decoded a piece at a time, so that a flood
  // of text never sits in memory whole. A hung-up terminal reads as nothing
  // at all, like one with nothing typed: only poll tells the two apart.
  void read_keys() {
    char buf[4096];
    for (;;) {
      ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN) gone = true;
      if (n <= 0) break;
      for (const KeyEvent& e : decoder.feed(std::string(buf, static_cast<std::size_t>(n)))) handle(e);
    }
    struct pollfd in = {STDIN_FILENO, POLLIN, 0};
    if (::poll(&in, 1, 0) > 0 && (in.revents & (POLLHUP | POLLERR | POLLNVAL))) gone = true;
  }

  // Sends `query`, which ends in the device-attributes query. Every terminal
  // answers that one, and answers in order: whatever it answered before has
  // arrived once that answer is here. True when the terminal said it speaks
  // the kitty keyboard protocol.
  bool ask(const char* query) {
    posix::send_to_terminal(query);
    decoder.expect_reply();
    kitty_answered = device_answered = false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReplyWaitMs);
    while (!device_answered && !gone) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      struct pollfd in = {STDIN_FILENO, POLLIN, 0};
      int ready = ::poll(&in, 1, static_cast<int>(left.count()));
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) break;
      read_keys();
    }
    return kitty_answered;
  }
};

bool keyboard_available() { return system::input_is_console(); }

// The queries are asked only of a terminal that shows the scene: on any
// other output they would go into a file.
KeyScene::KeyScene() : live_(std::make_unique<Live>()) {
  posix::begin_scene_mode();
  live_->decoder.set_keys(true);
  if (posix::scene_on_screen() && live_->ask(kAskKittyThenDevice)) {
    posix::push_kitty_flags();
    live_->tracker.set_releases_reported(true);
  }
}

KeyScene::~KeyScene() { finish(); }

KeyState KeyScene::poll() {
  live_->read_keys();
  KeyState keys = live_->tracker.take_frame();
  keys.ended = live_->gone;
  return keys;
}

// Keys typed before the terminal saw the pop still come as kitty sequences:
// they are all fetched before the terminal goes back to lines. Answers still
// owed after that come in as the player types, and the decoder takes them out.
std::string KeyScene::finish() {
  if (!live_) return {};
  if (posix::pop_kitty_flags()) live_->ask(kAskDevice);
  live_->read_keys();
  live_->decoder.set_keys(false);
  posix::end_scene_mode();
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

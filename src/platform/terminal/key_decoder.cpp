#include "platform/terminal/key_decoder.h"

#include <cctype>
#include <cstdlib>

namespace platform {

namespace {

constexpr char kEsc = '\033';
// Longer than any key sequence; anything longer is no key and is kept as text.
constexpr std::size_t kLongestSequence = 32;

// Kitty's modifier bits, sent as 1 + their sum.
constexpr long kShift = 1;
constexpr long kCtrl = 4;

void add_text(std::vector<KeyEvent>& events, const std::string& text) {
  if (text.empty()) return;
  if (!events.empty() && events.back().kind == KeyEvent::Text) {
    events.back().text += text;
    return;
  }
  KeyEvent e;
  e.text = text;
  events.push_back(e);
}

void add(std::vector<KeyEvent>& events, KeyEvent::Kind kind) {
  KeyEvent e;
  e.kind = kind;
  events.push_back(e);
}

void add_key(std::vector<KeyEvent>& events, SceneKey key, KeyAction action) {
  KeyEvent e;
  e.kind = KeyEvent::Key;
  e.key = key;
  e.action = action;
  events.push_back(e);
}

std::string utf8(long code) {
  std::string s;
  if (code < 0x80) {
    s += static_cast<char>(code);
  } else if (code < 0x800) {
    s += static_cast<char>(0xC0 | (code >> 6));
    s += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    s += static_cast<char>(0xE0 | (code >> 12));
    s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x110000) {
    s += static_cast<char>(0xF0 | (code >> 18));
    s += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (code & 0x3F));
  }
  return s;
}

// The parts of "CSI code ; modifiers : event" that matter here.
struct CsiKey {
  long code = 1;
  long modifiers = 0;  // bit set: shift 1, alt 2, ctrl 4, ...
  KeyAction action = KeyAction::Press;
};

// The number at `pos` (at most the end of `s`), or where there is none, as a
// parameter left out, `fallback`.
long number_at(const std::string& s, std::size_t pos, long fallback) {
  return std::isdigit(static_cast<unsigned char>(s[pos])) ? std::strtol(s.c_str() + pos, nullptr, 10) : fallback;
}

CsiKey parse_key(const std::string& params) {
  CsiKey k;
  k.code = number_at(params, 0, 1);
  std::size_t semi = params.find(';');
  if (semi == std::string::npos) return k;
  long mods = number_at(params, semi + 1, 1);
  k.modifiers = mods > 0 ? mods - 1 : 0;
  std::size_t colon = params.find(':', semi + 1);
  std::size_t next = params.find(';', semi + 1);
  if (colon != std::string::npos && colon < next) {
    long event = number_at(params, colon + 1, 1);
    if (event == 2) k.action = KeyAction::Repeat;
    if (event == 3) k.action = KeyAction::Release;
  }
  return k;
}

// Kitty numbers the keypad's keys apart from the main keys; typed into an
// answer they mean the same characters.
std::string keypad_text(long code) {
  if (code >= 57399 && code <= 57408) return std::string(1, static_cast<char>('0' + code - 57399));
  switch (code) {
    case 57409: return ".";
    case 57412: return "-";
    case 57413: return "+";
    case 57414: return "\n";
    default: return "";
  }
}

// A key reported in kitty's "CSI code u" form, turned into what it stands for.
void decode_kitty_key(const CsiKey& k, std::vector<KeyEvent>& events) {
  if (k.code == ' ') {
    add_key(events, SceneKey::Space, k.action);
    return;
  }
  if (k.action == KeyAction::Release) return;
  bool ctrl = (k.modifiers & kCtrl) != 0;
  if (ctrl && (k.code == 'c' || k.code == 'C')) {
    if (k.action == KeyAction::Press) add(events, KeyEvent::Interrupt);
    return;
  }
  if (ctrl && (k.code == 'z' || k.code == 'Z')) {
    if (k.action == KeyAction::Press) add(events, KeyEvent::Suspend);
    return;
  }
  if (ctrl && k.code == '\\') {
    if (k.action == KeyAction::Press) add(events, KeyEvent::Quit);
    return;
  }
  if (k.code >= 57344 && k.code <= 63743) {  // keys that type nothing: Shift, F13, ...
    add_text(events, keypad_text(k.code));
    return;
  }
  long code = k.code == '\r' ? '\n' : k.code;  // as the terminal driver turns Enter into a line end
  if (ctrl && code >= 'a' && code <= 'z') code &= 0x1F;
  else if ((k.modifiers & kShift) && code >= 'a' && code <= 'z') code -= 'a' - 'A';
  add_text(events, utf8(code));
}

}  // namespace

std::vector<KeyEvent> KeyDecoder::feed(const std::string& bytes) {
  std::vector<KeyEvent> events;
  for (char c : bytes) take(c, events);
  return events;
}

std::vector<KeyEvent> KeyDecoder::flush() {
  std::vector<KeyEvent> events;
  add_text(events, pending_);
  pending_.clear();
  return events;
}

void KeyDecoder::take(char c, std::vector<KeyEvent>& events) {
  if (pending_.empty()) {
    if (c == kEsc && (keys_ || owed_ > 0)) pending_ = c;
    else if (c == ' ' && keys_) add_key(events, SceneKey::Space, KeyAction::Press);
    else add_text(events, std::string(1, c));
    return;
  }
  if (pending_.size() == 1) {  // ESC alone so far
    if (c == '[' || c == 'O') {
      pending_ += c;
      return;
    }
    add_text(events, pending_);  // a lone Escape key, typed
    pending_.clear();
    take(c, events);
    return;
  }
  pending_ += c;
  unsigned char u = static_cast<unsigned char>(c);
  bool ss3 = pending_[1] == 'O';
  if (!ss3 && u >= 0x20 && u <= 0x3F && pending_.size() < kLongestSequence) return;  // parameters
  finish_sequence(events);
}

void KeyDecoder::finish_sequence(std::vector<KeyEvent>& events) {
  std::string seq;
  seq.swap(pending_);
  char final = seq.back();
  std::string params = seq.substr(2, seq.size() - 3);
  char marker = params.empty() ? '\0' : params[0];
  if (marker == '?' && (final == 'u' || final == 'c')) {
    const bool device = final == 'c', owed = owed_ > 0;
    if (device && owed) --owed_;
    if (keys_) return add(events, device ? KeyEvent::DeviceReply : KeyEvent::KittyFlags);
    if (owed) return;  // a late answer
  }
  if (!keys_) return add_text(events, seq);
  if (seq[1] == 'O') {
    if (final == 'D') add_key(events, SceneKey::Left, KeyAction::Press);
    else if (final == 'C') add_key(events, SceneKey::Right, KeyAction::Press);
    else add_text(events, seq);
    return;
  }
  bool plain_params = marker != '?' && marker != '<' && marker != '=' && marker != '>';
  if (plain_params && (final == 'C' || final == 'D')) {
    add_key(events, final == 'D' ? SceneKey::Left : SceneKey::Right, parse_key(params).action);
    return;
  }
  if (plain_params && final == 'u') return decode_kitty_key(parse_key(params), events);
  // Any other key: kept as typed, except the releases that only kitty reports.
  if (plain_params && parse_key(params).action == KeyAction::Release) return;
  add_text(events, seq);
}

}  // namespace platform

#include "console/console.h"

#include <climits>
#include <iostream>
#include <streambuf>

namespace console {

namespace {

std::istream* input = &std::cin;
std::ostream* output = &std::cout;
std::string held;         // input handed back by the keyboard scene
std::size_t held_pos = 0;

constexpr int kEnd = std::char_traits<char>::eof();

int peek() {
  if (held_pos < held.size()) return static_cast<unsigned char>(held[held_pos]);
  return input->rdbuf()->sgetc();
}

void advance() {
  if (held_pos < held.size()) {
    if (++held_pos == held.size()) held.clear(), held_pos = 0;
    return;
  }
  input->rdbuf()->sbumpc();
}

bool is_space(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool is_digit(int c) { return c >= '0' && c <= '9'; }
// Typed by mistake or planted to drive the terminal: never part of a name.
bool is_control(int c) { return !is_space(c) && ((c >= 0 && c < 0x20) || c == 0x7F); }

// Every read starts here: the player must see the question before answering,
// and an answer that can never come ends the game.
int first_char_of_answer() {
  output->flush();
  int c = peek();
  while (is_space(c)) {
    advance();
    c = peek();
  }
  if (c == kEnd) throw InputEnded{};
  return c;
}

void discard_rest_of_line() {
  for (int c = peek(); c != kEnd; c = peek()) {
    advance();
    if (c == '\n') return;
  }
}

}  // namespace

std::ostream& out() { return *output; }

void attach(std::istream& in, std::ostream& out) {
  input = &in;
  output = &out;
  held.clear();
  held_pos = 0;
}

int read_int() {
  int c = first_char_of_answer();
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = (c == '-');
    advance();
    c = peek();
  }
  if (!is_digit(c)) {
    discard_rest_of_line();
    return 0;
  }
  long long value = 0;
  bool fits = true;
  for (; is_digit(c); c = peek()) {
    advance();
    if (fits) value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) fits = false;
  }
  if (negative) value = -value;
  if (!fits || value > INT_MAX) {
    discard_rest_of_line();
    return 0;
  }
  return static_cast<int>(value);
}

void read_word(char* dest, std::size_t capacity) {
  std::size_t len = 0;
  do {  // a word of control bytes alone is no word
    int c = first_char_of_answer();
    for (; c != kEnd && !is_space(c); c = peek()) {
      advance();
      if (!is_control(c) && len + 1 < capacity) dest[len++] = static_cast<char>(c);
    }
  } while (len == 0 && capacity > 1);
  dest[len] = '\0';
}

void hold_typed_input(const std::string& bytes) {
  // Whatever the stream had already buffered was typed earlier, so it goes first.
  std::string earlier = held.substr(held_pos);
  std::streambuf* buf = input->rdbuf();
  for (std::streamsize n = buf->in_avail(); n > 0; --n) earlier += static_cast<char>(buf->sbumpc());
  held = earlier + bytes;
  held_pos = 0;
}

}  // namespace console

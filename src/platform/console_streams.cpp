// The thin shell around lay_out_80_columns(): standard output and input
// through stream buffers of the console's own, when standard output is a
// terminal. The terminal's width is asked at every flush, so a window that
// is widened or narrowed is followed from the next flush on.

#include <iostream>
#include <streambuf>
#include <string>

#include "platform/terminal/column_layout.h"
#include "platform/system.h"
#include "platform/platform.h"

namespace platform {

namespace {

// Holds the game's text until a flush, then hands it on to the terminal's
// own stream buffer, laid out while the terminal is wider than 80 columns.
// The column is followed at any width, so a widened terminal starts right.
class ConsoleOutput : public std::streambuf {
 public:
  explicit ConsoleOutput(std::streambuf* terminal) : terminal_(terminal) { setp(buf_, buf_ + sizeof buf_); }
  void at_line_start() { state_.column = 0; }

 protected:
  int_type overflow(int_type c) override {
    if (!pass_on()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }
  int sync() override { return pass_on() && terminal_->pubsync() == 0 ? 0 : -1; }

 private:
  bool pass_on() {
    std::string text(pbase(), pptr());
    setp(buf_, buf_ + sizeof buf_);
    std::string laid = lay_out_80_columns(text, state_);
    const std::string& sent = system::console_columns() > kConsoleColumns ? laid : text;
    auto size = static_cast<std::streamsize>(sent.size());
    return terminal_->sputn(sent.data(), size) == size;
  }

  std::streambuf* terminal_;
  ColumnState state_;
  char buf_[8192];  // far more than a frame of the archery scene, so a frame is one write
};

// Reads the keyboard for the game's answers. The terminal echoes what the
// player types and ends the line with Enter; when the game had to wait for
// that line, the echo has just put the cursor back at the start of a line.
// A line typed ahead was echoed back then, before the text now on screen.
class ConsoleInput : public std::streambuf {
 public:
  explicit ConsoleInput(ConsoleOutput& echo_on) : echo_on_(echo_on) {}

 protected:
  int_type underflow() override {
    bool waited = false;
    long n = system::read_input(buf_, sizeof buf_, waited);
    if (n <= 0) return traits_type::eof();
    if (waited && buf_[n - 1] == '\n') echo_on_.at_line_start();
    setg(buf_, buf_, buf_ + n);
    return traits_type::to_int_type(buf_[0]);
  }

 private:
  ConsoleOutput& echo_on_;
  char buf_[4096]{};  // only bytes just read are handed out; zeroed all the same, once
};

// Outlives the game's last output and gives the standard streams their own
// buffers back, flushed, before the library flushes them at exit.
struct ConsoleStreams {
  ConsoleStreams() {
    std::cout.rdbuf(&output);
    if (system::input_is_console()) std::cin.rdbuf(&input);
  }
  ~ConsoleStreams();

  std::streambuf* cout_buf = std::cout.rdbuf();
  std::streambuf* cin_buf = std::cin.rdbuf();
  ConsoleOutput output{cout_buf};
  ConsoleInput input{output};
};

ConsoleStreams* streams = nullptr;

ConsoleStreams::~ConsoleStreams() {
  std::cout.flush();
  std::cout.rdbuf(cout_buf);
  std::cin.rdbuf(cin_buf);
  streams = nullptr;
}

}  // namespace

void attach_console_streams() {
  if (streams || !system::output_is_console()) return;
  static ConsoleStreams attached;
  streams = &attached;
}

void system::console_cleared() {
  if (streams) streams->output.at_line_start();
}

}  // namespace platform

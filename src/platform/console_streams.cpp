// The thin shell around lay_out_80_columns(): the game's standard output and
// input go through stream buffers of the platform's own, which meet every
// write and read error of the system (a full disk, a closed pipe, a terminal
// that is gone) and answer for it, instead of leaving it to the library. When
// standard output is a terminal, the terminal's width is asked at every
// flush, so a window that is widened or narrowed is followed from the next
// flush on.

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <streambuf>
#include <string>
#include <system_error>
#include <vector>

#include "platform/terminal/column_layout.h"
#include "platform/terminal/key_decoder.h"
#include "platform/system.h"
#include "platform/platform.h"

namespace platform {

namespace {

// Ends the game, status 1, once its output could not be written: one line on
// standard error names the error, except for a pipe whose reader has gone.
// On POSIX systems that is only seen when SIGPIPE is ignored (otherwise the
// signal has ended the game already), and whoever ignored it wants no word
// about it; Windows has no SIGPIPE at all. exit() gives the terminal back,
// and its flush of the standard streams finds nothing left to write.
[[noreturn]] void give_up_output(int error) {
  if (error != EPIPE)
    system::write_error("vaelmoor: cannot write to standard output: " +
                        std::generic_category().message(error) + "\n");
  std::exit(1);
}

// Holds the game's text until a flush, then writes it, laid out while
// standard output is a terminal wider than 80 columns. The column is
// followed at any width, so a widened terminal starts right.
class ConsoleOutput : public std::streambuf {
 public:
  explicit ConsoleOutput(bool terminal) : terminal_(terminal) { setp(buf_, buf_ + sizeof buf_); }
  void at_line_start() { state_.column = 0; }

 protected:
  int_type overflow(int_type c) override {
    pass_on();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }
  int sync() override {
    pass_on();
    return 0;
  }

 private:
  void pass_on() {
    std::string text(pbase(), pptr());
    setp(buf_, buf_ + sizeof buf_);
    if (terminal_) {
      std::string laid = lay_out_80_columns(text, state_);
      if (system::console_columns() > kConsoleColumns) text.swap(laid);
    }
    if (int error = system::write_output(text.data(), text.size())) give_up_output(error);
  }

  bool terminal_;
  ColumnState state_;
  char buf_[8192];  // far more than a frame of the archery scene, so a frame is one write
};

// Reads the game's answers; a read error is the end of input, like the end
// of a file. On a keyboard, the terminal echoes what the player types and
// ends the line with Enter; when the game had to wait for that line, the
// echo has just put the cursor back at the start of a line. A line typed
// ahead was echoed back then, before the text now on screen.
class ConsoleInput : public std::streambuf {
 public:
  ConsoleInput(ConsoleOutput& echo_on, bool keyboard) : echo_on_(echo_on), keyboard_(keyboard) {}

 protected:
  int_type underflow() override {
    KeyDecoder& decoder = system::input_decoder();
    text_.clear();
    while (text_.empty()) {
      bool waited = false;
      long n = system::read_input(buf_, sizeof buf_, waited);
      std::vector<KeyEvent> events =
          n > 0 ? decoder.feed(std::string(buf_, static_cast<std::size_t>(n))) : decoder.flush();
      for (const KeyEvent& e : events) text_ += e.text;
      if (n <= 0) break;
      if (keyboard_ && waited && buf_[n - 1] == '\n') echo_on_.at_line_start();
    }
    if (text_.empty()) return traits_type::eof();
    char* typed = text_.data();
    setg(typed, typed, typed + text_.size());
    return traits_type::to_int_type(*typed);
  }

 private:
  ConsoleOutput& echo_on_;
  bool keyboard_;
  std::string text_;  // what was typed, served to the reader
  char buf_[4096]{};  // only bytes just read are handed out; zeroed all the same, once
};

// Outlives the game's last output and gives the standard streams their own
// buffers back, flushed, before the library flushes them at exit.
struct ConsoleStreams {
  ConsoleStreams() {
    std::cout.rdbuf(&output);
    std::cin.rdbuf(&input);
  }
  ~ConsoleStreams();

  std::streambuf* cout_buf = std::cout.rdbuf();
  std::streambuf* cin_buf = std::cin.rdbuf();
  ConsoleOutput output{system::output_is_console()};
  ConsoleInput input{output, system::input_is_console()};
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
  if (streams) return;
  static ConsoleStreams attached;
  streams = &attached;
}

void system::console_cleared() {
  if (streams) streams->output.at_line_start();
}

KeyDecoder& system::input_decoder() {
  static KeyDecoder decoder(false);
  return decoder;
}

}  // namespace platform

#pragma once
// The only door from the game to the operating system and the terminal.
// posix/, windows/ and web/ (a browser page, or node) implement it, the
// build picks one. What answers live, the clock, the random bits and the
// keyboard, is built apart from the rest (vaelmoor_realtime), so that the
// tests link a fake of it in its place.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "platform/key_tracker.h"

namespace platform {

// Empties the console and homes the cursor. On POSIX systems the clear is
// text, added to `out` like the rest and sent with it at the next flush. On
// Windows the console is cleared at once, so everything written to `out` so
// far is flushed first, and text and clear never arrive out of order.
void clear_screen(std::ostream& out);

// Called once, before anything is written: std::cin and std::cout read and
// write through the platform from then on. Standard input that cannot be
// read (closed, a folder, a terminal that is gone) has simply ended. The
// first write to standard output that fails ends the game (status 1, the
// error named on standard error; silently for a pipe whose reader has gone).
// A write past a file-size limit fails like any other, the output's or a
// save's, instead of ending the game.
// When standard output is a terminal (a console on Windows) wider than 80
// columns, the game's text is laid out as an 80-column console shows it
// (column_layout.h), and an answer typed at the terminal puts the layout's
// cursor back at the start of a line, as its echo did. Narrower terminals
// and piped output get the text as it is.
void attach_console_streams();

// A millisecond counter; the game only ever uses it to seed random().
std::uint32_t ticks_ms();

// 64 bits from the system's source of randomness, for the names of files
// that no other game may share and nobody may guess.
std::uint64_t random_bits();

// What became of write_new_file().
enum class NewFile { Written, NameTaken, Failed };

// Creates the text file `name` in the current folder, only where nothing of
// that name exists yet (a file, a folder, a link even to nothing: nothing
// already there is ever written or written through), writes `text` to it
// with the system's line ends, and flushes it to the disk. On POSIX systems
// it takes the permission bits of the file `like`, and its owner where the
// system allows; without such a file, those of any new file. The game holds
// the new file from its creation until replace_file has moved it, so that no
// other game's remove_abandoned_file takes it meanwhile (a name that another
// game's sweep got to first counts as taken). On failure nothing of it is
// left and `why` says what went wrong in the system's words.
NewFile write_new_file(const std::string& name, const std::string& text, const std::string& like,
                       std::string& why);

// Moves the file `from` that write_new_file has just written over `to`, both
// in the current folder, in one step, so that `to` is always either its old
// self or the new file, and makes the move last through a power cut where
// the system lets it; the game holds `from` no longer. Only the move itself
// can fail: `from` is then removed, `to` is as it was, and `why` says what
// went wrong.
bool replace_file(const std::string& from, const std::string& to, std::string& why);

// Removes `name`, a temporary file of some game's, unless a running game
// holds it (write_new_file): what is left is the file of a game that ended
// before it could move its file into place. A file that is held, that cannot
// be opened, or that another has taken the place of meanwhile, stays.
void remove_abandoned_file(const std::string& name);

// Reads the file `name` whole into `bytes`, only when it is an ordinary file
// of at most `limit` bytes. Anything else (missing, unreadable, a folder, a
// pipe, a device, a longer file) is refused at once: no waiting, and never
// more than `limit` + 1 bytes read.
bool read_small_file(const std::string& name, std::size_t limit, std::string& bytes);

// The number of the game's process, for naming temporary files.
unsigned long process_id();

}  // namespace platform

// ---- Keyboard: the live state of three keys, for the archery scene ----

namespace platform {

// Whether standard input is a keyboard that can be read live (a terminal, a
// console on Windows, a browser page). Piped or scripted input has no keys
// to hold down.
bool keyboard_available();

// While a KeyScene lives, the keyboard is read key by key instead of answer by
// answer: no echo, no waiting for Enter, Ctrl-C, Ctrl-\ and Ctrl-Z still
// working, and the terminal's cursor hidden. The terminal gets back exactly
// the mode it had, its cursor included, when the scene ends, when the game
// exits or is killed by any signal that ends it (SIGINT, SIGTERM, SIGPIPE,
// ..., or a crash), and while it is stopped by Ctrl-Z or by the terminal
// (SIGTTIN, SIGTTOU; the scene's mode comes back when it continues). A Windows console likewise gets back its
// input mode and cursor at the end, at exit, on Ctrl-C, Ctrl-Break, the
// window's closing and a crash. What the player types meanwhile is kept for
// the answers that follow, up to a line's worth.
class KeyScene {
 public:
  KeyScene();
  ~KeyScene();
  KeyScene(const KeyScene&) = delete;
  KeyScene& operator=(const KeyScene&) = delete;

  // The keys down for the coming frame. Never waits.
  KeyState poll();
  // Clears the screen and draws `frame` there, all sent to `out` at once: one
  // write, which terminals that can hold their painting paint as a whole (in
  // a Windows console, one change of the console's buffer).
  void draw(std::ostream& out, const std::string& frame);
  // The pause between two frames.
  void pause(unsigned ms);
  // Ends the scene and gives back what was typed meanwhile that was none of
  // the three keys, for the answers that follow (nothing on Windows, where
  // those keys go back into the console's own input instead, nor in a
  // browser page, whose line editor keeps them).
  std::string finish();

 private:
  // Everything the scene keeps while it runs, of each system's own kind;
  // gone once it has finished.
  struct Live;
  std::unique_ptr<Live> live_;
};

}  // namespace platform

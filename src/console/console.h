#pragma once
// The game's console: where its text goes and the one reader through which
// every answer is typed. The reader owns the rules for bad input and for the
// end of input, so no prompt has to think about them.

#include <cstddef>
#include <iosfwd>
#include <string>

namespace console {

// Thrown when an answer is wanted and standard input has ended: it unwinds to
// the top of the game, which closes the game there.
struct InputEnded {};

// The stream every screen writes to (standard output unless redirected).
std::ostream& out();

// Points the game at other streams (the tests' in-memory ones) and forgets any
// input held back from an earlier game.
void attach(std::istream& in, std::ostream& out);

// The next whole number, read the way formatted input reads an int: white
// space skipped, optional sign, digits up to the first non-digit, which stays
// for the next read. Anything that is no number, or does not fit an int,
// counts as 0 and the rest of its line is thrown away.
int read_int();

// The next word (up to white space), cut to capacity - 1 characters with the
// rest of the word dropped, and NUL-terminated. Control bytes (0x00-0x1F and
// 0x7F other than white space) are dropped as they come: they neither end
// the word nor count in it.
void read_word(char* dest, std::size_t capacity);

// Bytes the player typed while the keyboard was being read directly; they
// become the start of the next answers, after anything already waiting.
void hold_typed_input(const std::string& bytes);

}  // namespace console

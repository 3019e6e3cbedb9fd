#pragma once
// What each system supplies to the console streams, which all systems
// share (console_streams.cpp), and what those streams offer each system.

#include <cstddef>
#include <string>

namespace platform {
class KeyDecoder;
}

namespace platform::system {

// Called once, as the standard streams are taken over: from then on a write
// that the system refuses fails with an error that the game answers for,
// instead of ending the game by a signal.
void let_writes_fail();

bool output_is_console();  // a terminal, or a console on Windows
bool input_is_console();   // likewise for standard input
int console_columns();     // its width, or 0 when it tells none
// Reads standard input, waiting for the first byte if need be; `waited` says
// whether the game waited for a line the player was still typing. The count
// read, 0 at the end of input, negative on an error.
long read_input(char* buf, std::size_t size, bool& waited);

// Writes all of `bytes` to standard output: 0, or the system's error number
// for what stopped it.
int write_output(const char* bytes, std::size_t size);

// Writes one line of its own to standard error.
void write_error(const std::string& line);

// The decoder of everything standard input brings, the one for the whole
// game: the console's reader takes the typed text from it, and the archery
// scene its keys and the answers to its queries.
KeyDecoder& input_decoder();

// Told by the console's own clear (Windows): the cursor is now at the
// top-left corner.
void console_cleared();

}  // namespace platform::system

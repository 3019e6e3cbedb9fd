#pragma once
// The one loop that writes everything, for the console, the files and the
// terminal's mode alike.

#include <cstddef>

namespace platform::posix {

// Writes all of `bytes` to `fd`, again where a signal cut a write short: 0,
// or the error number of what stopped it (EIO for a write that took nothing).
// A descriptor that cannot take more at once (left non-blocking by whoever
// started the game) is waited for, unless `may_wait` is false: the rest is
// then dropped (EAGAIN). Safe in a signal handler.
int write_all(int fd, const char* bytes, std::size_t size, bool may_wait = true);

}  // namespace platform::posix

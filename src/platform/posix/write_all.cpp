#include "platform/posix/write_all.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace platform::posix {

int write_all(int fd, const char* bytes, std::size_t size, bool may_wait) {
  while (size > 0) {
    ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && may_wait && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      struct pollfd out = {fd, POLLOUT, 0};
      ::poll(&out, 1, -1);
      continue;
    }
    if (n <= 0) return n < 0 ? errno : EIO;
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

}  // namespace platform::posix

// Saves and loads. In the page the current folder is kept in the browser's
// storage, and a folder made to last is written there whole, in one step;
// under node it is the real current folder, made to last by node itself
// (emscripten's own fsync cannot be used there).

#include <emscripten.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/platform.h"

namespace {

// 0 once what `path` holds (a file's bytes, a folder's entries) will last;
// otherwise why not, in `why`.
EM_ASYNC_JS(int, host_persist, (const char* path, char* why, int size), {
  const failure = await Module.host.persist(UTF8ToString(path));
  if (failure) stringToUTF8(failure, why, size);
  return Boolean(failure);
});

bool persist(const char* path, std::string& why) {
  char failure[256] = "";
  if (host_persist(path, failure, sizeof failure) == 0) return true;
  why = failure;
  return false;
}

}  // namespace

namespace platform {

// Created only where nothing of that name is, not even a link, readable by
// its owner alone until it takes the owner (where the system allows) and
// permission bits of an old save of its own (not of a link). The file is
// reached through its descriptor only, never by its name again.
NewFile write_new_file(const std::string& name, const std::string& text, const std::string& like,
                       std::string& why) {
  struct stat old;
  bool has_old = ::lstat(like.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, has_old ? 0600 : 0666);
  if (fd < 0) {
    why = std::strerror(errno);
    return errno == EEXIST || errno == ELOOP ? NewFile::NameTaken : NewFile::Failed;
  }
  if (has_old) {  // neither need succeed: the file is then the player's own
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    (void)!::fchmod(fd, old.st_mode & 07777);
  }
  std::FILE* file = ::fdopen(fd, "w");
  bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (!written) why = std::strerror(errno);
  if ((file ? std::fclose(file) : ::close(fd)) != 0 && written) {
    written = false;
    why = std::strerror(errno);
  }
  if (written && persist(name.c_str(), why)) return NewFile::Written;
  std::remove(name.c_str());
  return NewFile::Failed;
}

// In the page the move is in the browser's storage only once the folder is
// written there: until then there is no save. Under node the host counts a
// folder it cannot flush as no failure, as the POSIX build does.
bool replace_file(const std::string& from, const std::string& to, std::string& why) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    why = std::strerror(errno);
    std::remove(from.c_str());
    return false;
  }
  return persist(".", why);
}

bool read_small_file(const std::string& name, std::size_t limit, std::string& bytes) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(name, error)) return false;
  std::ifstream file(name, std::ios::binary);
  std::string text(limit + 1, '\0');
  file.read(&text[0], static_cast<std::streamsize>(text.size()));
  if (file.bad() || static_cast<std::size_t>(file.gcount()) > limit) return false;
  text.resize(static_cast<std::size_t>(file.gcount()));
  bytes = std::move(text);
  return true;
}

EM_JS(int, host_process_id, (), { return Module.host.processId(); });
EM_ASYNC_JS(int, host_file_abandoned, (const char* name), {
  return Module.host.fileAbandoned(UTF8ToString(name));
});

unsigned long process_id() { return static_cast<unsigned long>(host_process_id()); }

// Neither the browser's storage nor node locks a file: the host knows from
// the name which game's it is, and whether that game still runs.
void remove_abandoned_file(const std::string& name) {
  if (host_file_abandoned(name.c_str()) != 0) std::remove(name.c_str());
}

}  // namespace platform

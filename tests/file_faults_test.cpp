// Saves and loads when the system fails them, another game races them, or
// names are planted where they write. The test program is linked with fsync,
// rename, read and flock wrapped (-Wl,--wrap, tests/CMakeLists.txt): these
// wrappers fail the next such call once on demand. The game has no test hooks.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include "harness.h"
#include "platform/system.h"

// The errno value the next call of each kind fails with; 0 lets it through.
static int folder_flush_fault = 0, file_flush_fault = 0, rename_fault = 0, read_fault = 0;

// Done just before the next flock, to the file's name: what another game
// does at that moment. Its error fails the lock; 0 lets it through.
static std::function<int(const char* name)> before_lock;

static int strike(int& fault) { return errno = std::exchange(fault, 0), -1; }

extern "C" {
int __real_fsync(int fd);
int __real_rename(const char* from, const char* to);
ssize_t __real_read(int fd, void* buf, size_t size);
int __real_flock(int fd, int operation);

int __wrap_fsync(int fd) {
  struct stat info;
  int& fault = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) ? folder_flush_fault : file_flush_fault;
  return fault ? strike(fault) : __real_fsync(fd);
}
int __wrap_rename(const char* from, const char* to) { return rename_fault ? strike(rename_fault) : __real_rename(from, to); }
ssize_t __wrap_read(int fd, void* buf, size_t size) { return read_fault ? strike(read_fault) : __real_read(fd, buf, size); }
int __wrap_flock(int fd, int operation) {
  char name[256] = "";
  if (auto meanwhile = std::exchange(before_lock, nullptr);
      meanwhile && ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), name, sizeof name - 1) > 0) {
    if (int error = meanwhile(std::filesystem::path(name).filename().c_str())) return strike(error);
  }
  return __real_flock(fd, operation);
}
}

namespace {

namespace fs = std::filesystem;
using FileFaults = GameTest;
using SaveFaults = GameTest;

const std::string kOldSave = "Old\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n0\n0\n0\n0\n0\n";
const std::string kToTheSavePrompt = "1 0 New 9 12 0 4 0 0 0 ";  // a new hero, up to his save prompt

// A failed write, flush or move leaves the old save, says why in the system's
// words, and play goes on; once moved, the new save stands (an unflushed folder
// is no failure). Another game's sweep that got to the new file before its lock
// (holds it, or removed it) makes the save take the next name, and removes only
// the file it locked. A file system without locks saves all the same.
TEST_F(FileFaults, SavesTellWhatFailed) {
  const std::string dead = "stats.txt.900000009.0123456789abcdef.tmp";
  rlimit no_limit{};
  ::getrlimit(RLIMIT_FSIZE, &no_limit);
  ::signal(SIGXFSZ, SIG_IGN);
  const rlimit small{100, no_limit.rlim_max};
  const std::tuple<std::function<void()>, const char*, bool, long> cases[] = {  // why, replaced, files left
      {[&] { ::setrlimit(RLIMIT_FSIZE, &small); }, "File too large", false, 1},
      {[] { file_flush_fault = EIO; }, "Input/output error", false, 1},
      {[] { rename_fault = EXDEV; }, "Invalid cross-device link", false, 1},
      {[] { folder_flush_fault = EIO; }, "", true, 1},
      {[] { before_lock = [](const char*) { return EWOULDBLOCK; }; }, "", true, 2},
      {[] { before_lock = [](const char* name) { return ::unlink(name); }; }, "", true, 1},
      {[] { before_lock = [](const char*) { return ENOLCK; }; }, "", true, 1},
      {[&] {
         write_file(dead, "dead"), write_file("planted", "mine");
         before_lock = [](const char* name) { return ::rename("planted", name); };
       }, "", true, 2}};
  for (const auto& [fault, why, replaced, left] : cases) {
    for (const auto& file : fs::directory_iterator(dir_)) fs::remove(file);
    write_file("stats.txt", kOldSave);
    fault();
    const std::string out = play(kToTheSavePrompt + "1 7 0\n");
    before_lock = nullptr, ::setrlimit(RLIMIT_FSIZE, &no_limit);
    const std::string told = *why ? std::string("Could not save to stats.txt: ") + why + "\nenter a number to continue: " : "";
    EXPECT_NE(out.find("(1 for yes): saving...\n" + told + kClear + "Strength:      9\n"), std::string::npos) << why << '\n' << out;
    EXPECT_EQ(read_file("stats.txt").rfind(replaced ? "New\n" : kOldSave, 0), 0u) << why;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), left) << why;
    EXPECT_EQ(file_flush_fault + folder_flush_fault + rename_fault, 0) << why << ": the call was made";
  }
  EXPECT_EQ(read_file(dead), "mine");
}

// A read that fails loads nothing; one cut short by a signal is read again.
TEST_F(FileFaults, LoadsGiveUpOnAReadErrorOnly) {
  write_file("stats.txt", kOldSave);
  for (auto [error, shown] : {std::pair{EIO, "No saved game"}, std::pair{EINTR, "Strength:      1\n"}}) {
    read_fault = error;
    EXPECT_NE(play("1 1 0\n").find(std::string("loading...\n") + shown), std::string::npos) << error;
    read_fault = 0;
  }
}

// From a pipe left non-blocking, nothing yet (EAGAIN) is waited for; once its
// writer has gone, its last byte is read all the same, then the input ends,
// even with errno at EINTR from some earlier call.
TEST(PipedInput, ItsLastByteIsReadAfterTheWriterHasGone) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const int saved_in = ::dup(STDIN_FILENO);
  ::dup2(ends[0], STDIN_FILENO), ::close(ends[0]);
  (void)!::write(ends[1], "7", 1), ::close(ends[1]);
  char c[2] = {};
  bool waited = false;
  read_fault = EAGAIN;
  EXPECT_EQ(platform::system::read_input(c, 2, waited), 1);
  errno = EINTR;
  EXPECT_EQ(platform::system::read_input(c + 1, 1, waited), 0);
  EXPECT_EQ(c[0], '7');
  ::dup2(saved_in, STDIN_FILENO), ::close(saved_in);
}

// Nothing already called as a save's temporary file (a link, to a file or to
// nothing, a folder, the old name's form) is written or followed: the save takes
// the next name. A new save keeps the old one's mode, and owner where it may.
TEST_F(SaveFaults, PlantedNamesAreNeverWrittenThrough) {
  write_file("victim", "mine\n");
  write_file("stats.txt", kOldSave);
  const bool root = ::geteuid() == 0;
  ASSERT_EQ(::chmod("stats.txt", 0444) + (root ? ::chown("stats.txt", 1234, 1234) : 0), 0);
  const std::string mine = "stats.txt." + std::to_string(::getpid());
  fs::create_symlink(dir_ / "victim", dir_ / (mine + ".tmp"));
  fs::create_symlink(dir_ / "victim", dir_ / (mine + ".0000000000000010.tmp"));
  fs::create_symlink(dir_ / "none", dir_ / (mine + ".0000000000000011.tmp"));
  fs::create_directory(dir_ / (mine + ".0000000000000012.tmp"));
  set_fake_random(0x10);
  play(kToTheSavePrompt + "1\n");
  struct stat saved{};
  EXPECT_EQ(::stat("stats.txt", &saved), 0);
  EXPECT_EQ(saved.st_mode & 07777, 0444u);
  EXPECT_EQ(saved.st_uid, root ? 1234 : ::getuid());
  EXPECT_NE(read_file("stats.txt"), kOldSave);
  EXPECT_EQ(read_file("victim"), "mine\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 6);
}

// A save removes the temporary files no game holds (stats.txt.PID.RANDOM.tmp,
// RANDOM 16 hex digits, left by games that ended in a save), and only those:
// not one a game holds, whatever its number, nor a link, nor another name.
// A first save gets the usual mode of a new file.
TEST_F(SaveFaults, SavesClearTheTemporaryFilesNoGameHolds) {
  const std::pair<std::string, bool> files[] = {  // and whether it stays
      {"stats.txt.900000009.0123456789abcdef.tmp", false},
      {"stats.txt.900000008.0123456789abcdef.tmp", true},  // held below, though no process has its number
      {"stats.txt.900000009.0123456789abcdef.tmp.keep", true},
      {"stats.txt.900000009.0123456789ABCDEF.tmp", true},
      {"stats.txt.900000009.123456789abcdef.tmp", true},
      {"stats.txt.900000007.fedcba9876543210.tmp", true}};  // made a link below
  for (const auto& [name, kept] : files) write_file(name, kOldSave);
  fs::remove(dir_ / files[5].first), fs::create_symlink("stats.txt", dir_ / files[5].first);
  const int held = ::open(files[1].first.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  play(kToTheSavePrompt + "1\n");
  ::close(held);
  for (const auto& [name, kept] : files) EXPECT_EQ(fs::exists(fs::symlink_status(dir_ / name)), kept) << name;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat saved{};
  EXPECT_EQ(::stat("stats.txt", &saved), 0);
  EXPECT_EQ(saved.st_mode & 07777, 0666u & ~mask);
}

}  // namespace

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <system_error>

#include "console/console.h"
#include "console/screens.h"
#include "platform/platform.h"
#include "player/player.h"
#include "savegame/savegame.h"

namespace {

// Names that are all taken in a row, with 64 random bits in each, are no
// chance: something in the folder is at work, and the save gives up.
constexpr int kNameTries = 16;

// The file a save is written to before it takes the old save's place: named
// for the game's process, with a random part, so that no other game makes
// the same name (not even one with the same process number in another
// container sharing the folder) and nobody can plant a file there in time.
std::string temp_name(unsigned long process, std::uint64_t token) {
  // snprintf, not a stream: a hardened build checks it against the buffer,
  // and a packager's tools look for such checks (lintian's fortify test).
  char name[64];  // stats.txt, 20 digits at most, 16 hex digits and the dots: 51 bytes
  (void)std::snprintf(name, sizeof name, "%s.%lu.%016" PRIx64 ".tmp", kSaveFileName, process, token);
  return name;
}

// Whether `text` is made only of the characters in `set`, and of one at least.
bool only(const std::string& text, const char* set) {
  return !text.empty() && text.find_first_not_of(set) == std::string::npos;
}

// Whether `name` is one that temp_name() makes (of kSaveFileName's). Checked
// by hand: a regular expression would make the game a fifth larger.
bool is_temp_name(const std::string& name) {
  const std::string head = std::string(kSaveFileName) + '.', tail = ".tmp";
  const std::size_t token = 16;
  if (name.size() < head.size() + 2 + token + tail.size() || name.compare(0, head.size(), head) != 0 ||
      name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
    return false;
  const std::string middle = name.substr(head.size(), name.size() - head.size() - tail.size());
  const std::size_t dot = middle.size() - token - 1;  // between the process and the token
  return middle[dot] == '.' && only(middle.substr(0, dot), "0123456789") &&
         only(middle.substr(dot + 1), "0123456789abcdef");
}

// A game that ends in the middle of a save leaves its temporary file behind.
// A running game holds its own (write_new_file), in this folder or not, and
// may be about to move it into place: only files no game holds are removed.
// Only files: whatever else is called so was put there by someone else.
void remove_abandoned_temp_files() {
  namespace fs = std::filesystem;
  std::error_code error;
  for (fs::directory_iterator entry(".", error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    const std::string name = entry->path().filename().string();
    if (entry->symlink_status(ignored).type() == fs::file_type::regular && is_temp_name(name))
      platform::remove_abandoned_file(name);
  }
}

// The new save goes to a file of its own first and only then replaces the old
// one, so a failure or a crash part-way never costs the player the old save.
// The platform writes it, so that it is created afresh and never through a
// link; fout stays closed.
bool write_then_replace(std::string& why) {
  remove_abandoned_temp_files();
  const std::string text = format_save(p1, itemIdNum);
  for (int tries = 0; tries < kNameTries; ++tries) {
    const std::string temp = temp_name(platform::process_id(), platform::random_bits());
    switch (platform::write_new_file(temp, text, kSaveFileName, why)) {
      case platform::NewFile::NameTaken: continue;
      case platform::NewFile::Failed: return false;
      case platform::NewFile::Written: return platform::replace_file(temp, kSaveFileName, why);
    }
  }
  return false;
}

}  // namespace

void save_game() {
  console::out() << "saving...\n";
  std::string why;
  if (write_then_replace(why)) return;
  console::out() << "Could not save to " << kSaveFileName << ": " << why << '\n';
  continue_wait();
}

// The platform reads the file, so that whatever else is called stats.txt (a
// pipe, a device, a huge file) is refused before it can hold the game or
// fill its memory; fin therefore stays closed.
bool load_game() {
  console::out() << "loading...\n";
  std::string text;
  bool loaded = platform::read_small_file(kSaveFileName, kSaveFileLimit, text);
  if (loaded) {
    std::istringstream file(text);
    loaded = parse_save(file, p1, itemIdNum);
  }
  if (!loaded) console::out() << "No saved game could be loaded from " << kSaveFileName << ".\n";
  return loaded;
}

void check_toSave() {
  console::out() << "save?(will overwrite old game)(1 for yes): ";
  if (console::read_int() == 1) save_game();
  clear_screen();
}

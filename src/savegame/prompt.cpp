#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
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
  char name[64];  // stats.txt, 20 digits at most, 16 hex digits and the dots: 51 bytes
  (void)std::snprintf(name, sizeof name, "%s.%lu.%016" PRIx64 ".tmp", kSaveFileName, process, token);
  return name;
}

constexpr char kHexDigits[] = "0123456789abcdef";

// Whether `name` is the temporary save file of a game that is surely gone.
bool left_by_a_dead_game(const std::string& name) {
  std::size_t i = std::strlen(kSaveFileName) + 1;  // past the dot
  unsigned long process = 0;
  for (std::size_t end = i + 9; i < end && i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i)
    process = process * 10 + static_cast<unsigned long>(name[i] - '0');
  std::uint64_t token = 0;
  ++i;  // past the next dot, which the comparison below checks
  const char* digit = nullptr;  // a file's name holds no NUL, which strchr would also find
  for (std::size_t end = i + 16; i < end && i < name.size() && (digit = std::strchr(kHexDigits, name[i])); ++i)
    token = token * 16 + static_cast<std::uint64_t>(digit - kHexDigits);
  return name == temp_name(process, token) && platform::process_gone(process);
}

// A game killed in the middle of a save leaves its temporary file behind.
// Those of games that are surely gone are removed; a game still running, in
// this folder or not, may be about to move its file into place. Only files
// are removed: whatever else is called so was put there by someone else.
void remove_dead_games_temp_files() {
  namespace fs = std::filesystem;
  std::error_code error;
  for (fs::directory_iterator entry(".", error), end; !error && entry != end;
       entry.increment(error)) {
    std::error_code ignored;
    if (entry->symlink_status(ignored).type() == fs::file_type::regular &&
        left_by_a_dead_game(entry->path().filename().string()))
      fs::remove(entry->path(), ignored);
  }
}

// The new save goes to a file of its own first and only then replaces the old
// one, so a failure or a crash part-way never costs the player the old save.
// The platform writes it, so that it is created afresh and never through a
// link; fout stays closed.
bool write_then_replace(std::string& why) {
  remove_dead_games_temp_files();
  const std::string text = format_save(p1, itemIdNum);
  for (int tries = 0; tries < kNameTries; ++tries) {
    const std::string temp = temp_name(platform::process_id(), platform::random_bits());
    switch (platform::write_new_file(temp, text, kSaveFileName, why)) {
      case platform::NewFile::NameTaken: continue;
      case platform::NewFile::Failed: return false;
      case platform::NewFile::Written: break;
    }
    if (platform::replace_file(temp, kSaveFileName, why)) return true;
    // Left behind, the file would be cleared by the first save of a later
    // game, so a failure here costs nothing.
    (void)std::remove(temp.c_str());
    return false;
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

#include <cerrno>
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

// The file a save is written to before it takes the old save's place; each
// running game has its own, named for its process.
std::string temp_name(unsigned long process) {
  return std::string(kSaveFileName) + "." + std::to_string(process) + ".tmp";
}

// The process that named the temporary save file `name`, or 0 for a name
// that no game makes.
unsigned long temp_owner(const std::string& name) {
  const std::size_t start = std::strlen(kSaveFileName) + 1;  // past the dot
  unsigned long process = 0;
  for (std::size_t i = start; i < name.size() && i < start + 9; ++i) {
    if (name[i] < '0' || name[i] > '9') break;
    process = process * 10 + static_cast<unsigned long>(name[i] - '0');
  }
  return name == temp_name(process) ? process : 0;
}

// A game killed in the middle of a save leaves its temporary file behind.
// Those of games that are surely gone are removed; a game still running, in
// this folder or not, may be about to move its file into place.
void remove_dead_games_temp_files() {
  namespace fs = std::filesystem;
  std::error_code error;
  for (fs::directory_iterator entry(".", error), end; !error && entry != end;
       entry.increment(error)) {
    unsigned long owner = temp_owner(entry->path().filename().string());
    std::error_code ignored;
    if (owner && entry->symlink_status(ignored).type() == fs::file_type::regular &&
        platform::process_gone(owner))
      fs::remove(entry->path(), ignored);
  }
}

// The new save goes to a file of its own first and only then replaces the old
// one, so a failure or a crash part-way never costs the player the old save.
bool write_then_replace(std::string& why) {
  remove_dead_games_temp_files();
  std::string temp = temp_name(platform::process_id());
  errno = 0;
  fout.open(temp, std::ios::out | std::ios::trunc);
  if (!fout.is_open()) {
    // The C library's words for errno, as strerror gives them with GCC and MinGW,
    // without the warning that MSVC gives strerror (C4996, an error with /WX).
    why = errno ? std::generic_category().message(errno) : "the file could not be created";
    fout.clear();
    return false;
  }
  fout << format_save(p1, itemIdNum);
  fout.close();
  bool written = !fout.fail();
  fout.clear();
  if (!written) why = "the file could not be written";
  if (written && platform::replace_file(temp, kSaveFileName, why)) return true;
  // Left behind, the file is reused by this game's next save and cleared by
  // the first save of a later game, so a failure here costs nothing.
  (void)std::remove(temp.c_str());
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

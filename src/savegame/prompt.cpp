#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <sstream>

#include "console/console.h"
#include "console/screens.h"
#include "platform/platform.h"
#include "player/player.h"
#include "savegame/savegame.h"

namespace {

// The new save goes to a file of its own first and only then replaces the old
// one, so a failure or a crash part-way never costs the player the old save.
bool write_then_replace(std::string& why) {
  std::string temp = std::string(kSaveFileName) + "." + std::to_string(platform::process_id()) + ".tmp";
  errno = 0;
  fout.open(temp, std::ios::out | std::ios::trunc);
  if (!fout.is_open()) {
    why = errno ? std::strerror(errno) : "the file could not be created";
    fout.clear();
    return false;
  }
  fout << format_save(p1, itemIdNum);
  fout.close();
  bool written = !fout.fail();
  fout.clear();
  if (!written) why = "the file could not be written";
  if (written && platform::replace_file(temp, kSaveFileName, why)) return true;
  std::remove(temp.c_str());
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

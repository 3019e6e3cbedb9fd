// Where a resumed hero takes up the ladder.
#include <cstdio>
#include <string>
#include <vector>

#include "combat/combat.h"
#include "harness.h"
#include "player/player.h"

namespace {

class Ladder : public GameTest {
 protected:
  // The opponents' names, in the order fought.
  static std::vector<std::string> fought(const std::string& out) {
    std::vector<std::string> names;
    const std::string label = "Enemy name:    ";
    for (std::size_t at = out.find(label); at != std::string::npos; at = out.find(label, at + 1))
      names.push_back(out.substr(at + label.size(), out.find('\n', at) - at - label.size()));
    return names;
  }
  // The names of ladder battles' opponents, each battle's by its number.
  std::vector<std::string> named(const std::vector<int>& battles) {
    std::vector<std::string> names;
    for (int n : battles) names.push_back(run("", [n] { make_enemy({n, 0, 0, 0, 0, 0, 0, 0, 0, 0}).print_EName(); }));
    return names;
  }
};

TEST_F(Ladder, ResumedHeroFollowsItsChain) {
  // A hero who kills every opponent with one blow and is never hurt.
  const char* champion = "Champ\n100\n4\n100\n50\n10\n100\n100\n100\n0\n1\n%d\n0\n0\n0\n0\n0\n0\n";
  // One won duel: stat sheet, round prompt, attack, save prompt, shop (no, leave), level-up sheet.
  const std::string win = "0 0 1 0 0 0 0 ";
  struct Chain { int battleNum; std::vector<int> fought; };
  for (const Chain& c : {Chain{1, {1, 3, 2, 4, 5, 6, 7, 8}}, Chain{2, {3, 2, 4, 5, 6, 7, 8}},
                         Chain{3, {2, 4, 5, 6, 7, 8}}, Chain{4, {4, 5, 6, 7, 8}}, Chain{5, {5, 6, 7, 8}},
                         Chain{6, {6, 7, 8}}, Chain{7, {7, 8}}, Chain{0, {1}}, Chain{8, {1}},
                         Chain{9, {1}}, Chain{-1, {1}}}) {
    char save[200];
    std::snprintf(save, sizeof save, champion, c.battleNum);
    write_file("stats.txt", save);
    std::string input = "1 1 " + win;
    for (std::size_t i = 1; i < c.fought.size(); ++i) input += win + "0 ";
    const std::string out = play(input + "0\n");
    EXPECT_EQ(fought(out), named(c.fought)) << "battleNum " << c.battleNum;
    // The first duel of a chain has no save prompt of its own after the level-up.
    EXPECT_EQ(count_of(out, "save?"), 2 * c.fought.size() - 1) << "battleNum " << c.battleNum;
  }
}

}  // namespace

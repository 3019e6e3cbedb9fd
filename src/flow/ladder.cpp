#include "flow/flow.h"

// The arena duels arrive with the combat module; until then the ladder is empty.
void battle_practice1() {}
void battle_practice2() {}
void battle_practice3() {}
void battle_practice4() {}
void battle_practice5() {}
void battle_practice6() {}
void battle_practice7() {}
void battle_practice8() {}
void play_ladder() {}
int goto_battle(int) { return 0; }
void goto_devMode() {}

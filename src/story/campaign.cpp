#include "story/story.h"

// The campaign arrives with the story module; until then it tells nothing.
void print_storyIntro() {}

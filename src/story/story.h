#pragma once
// Story mode: the campaign and its archery scene.

void print_storyIntro();

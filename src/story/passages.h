#pragma once
// The four passages of the story.

extern const char kPrologue[];
extern const char kTrainingPassed[];
extern const char kAmbush[];
extern const char kErevonsTaunt[];  // follows "You killed " and the count

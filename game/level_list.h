// The campaign's level files and which one the player plays next: the tutorial until it
// has been won, then levels 1..50 in order, then one of the last ten at random.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct TLevelEntry {
  int index = -1;  // 0..49; kTutorialLevelIndex for the tutorial
  std::string file;
};

inline constexpr int kCampaignLevelCount = 50;
inline constexpr int kTutorialLevelIndex = -2;
inline constexpr char kTutorialLevelFile[] = "levels/tutorial/tutorial.xml";

TLevelEntry TutorialLevelEntry();
// "levels/level_%03d.xml" of index + 1; an entry with index -1 and no file outside 0..49.
TLevelEntry CampaignLevelEntry(int index);
// The index of a campaign level file name, compared without folders, prefix, extension
// or case: "levels/level_007.xml" (and the drawing "level_007.txt") -> 6; -1 for any
// other name.
int LevelIndexFromName(std::string_view name);

// The progress that decides the next level.
struct TLevelProgress {
  bool tutorialWon = false;
  int levelsBeaten = 0;  // never above 50
};

// The level a new game window plays. random picks one of levels 41..50 once all 50 have
// been beaten.
TLevelEntry NextLevelEntry(const TLevelProgress& progress, uint32_t random);

// Reading level layouts for tvtool's level commands: a ".xml" name is a level file, any
// other name a level drawing.
#pragma once

#include <string>

#include "game/level_layout.h"

bool IsLevelXmlName(const std::string& path);
// Reads and parses one layout; on failure error names the file and the reason.
bool ReadLevelInput(const std::string& path, TLevelLayout& layout, std::string& error);
// The campaign index of a file named like "level_007.xml" (6 here, the number of levels a
// player has beaten when it is dealt), or -1.
int LevelIndexFromName(const std::string& path);

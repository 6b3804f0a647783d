// Reading level layouts for tvtool's level commands: a ".xml" name is a level file, any
// other name a level drawing.
#pragma once

#include <string>

#include "game/level_layout.h"

bool IsLevelXmlName(const std::string& path);
// Reads and parses one layout; on failure error names the file and the reason.
bool ReadLevelInput(const std::string& path, TLevelLayout& layout, std::string& error);

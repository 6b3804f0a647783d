// TLevelInfo: the record a level file fills, and LoadLevel, which reads a level for play.
// Of all fields only the layout data matters to the rules; the others describe the level.
//
// Players may drop in their own layouts: a level file in the player's folder under the
// same name ("user:levels/level_007.xml") is read before the game's own. A missing or
// damaged file is logged; a damaged file of the player's gives way to the game's own, and
// when no file can be read the level has no positions (the deal places no tile and the
// end check counts the level as finished).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "game/level_layout.h"

struct TLevelInfo {
  // The texts keep at most this many characters.
  static constexpr size_t kCreatorNameLimit = 49;
  static constexpr size_t kTitleLimit = 59;
  static constexpr size_t kDescriptionLimit = 1023;

  std::string fileName;  // the name without folders or prefix ("level_007.xml")
  std::string path;      // the name as passed in
  std::string creatorName;
  std::string title;
  std::string description;
  int16_t tileCount = 0;   // "numtiles" as the file says; the layout may differ
  int16_t layerCount = 0;  // "numlayers"
  int16_t difficulty = 0;  // "gamedifficulty"
  int32_t gridSize = TLevelLayout::kCells;
  std::string layoutData;  // "leveldata"
  int32_t layoutId = -1;
  bool rated = false;  // "hasrated" is exactly "1"
  int32_t rating = -1;
  bool deleted = false;  // "isdeleted" is exactly "1"
};

// Fills info's file fields from the text of a level file (plain or ZXML), texts at full
// length. False, with a short reason in error and info untouched, when the text is not a
// well-formed document.
bool ReadLevelInfo(std::string_view text, TLevelInfo& info, std::string* error = nullptr);

// Where LoadLevel found the level.
enum class TLevelSource { kNone, kPlayerFolder, kGame };

// Reads a level for play: info (texts cut to their limits, names set) and the layout
// decoded from its layout data. A name without a prefix is looked for in the player's
// folder first.
TLevelSource LoadLevel(const std::string& name, TLevelInfo& info, TLevelLayout& layout);

// "levels/level_007.xml" and "user:x/level_007.xml" -> "level_007.xml".
std::string LevelBareName(std::string_view name);

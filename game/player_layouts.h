// Layouts the player made: ordinary level files in the player's folder, "user:levels/", so
// that they can be copied between machines and read by every tool that reads level files.
// The campaign's own names there ("level_007.xml", "tutorial.xml") replace a campaign level
// (see LoadLevel) and are not player layouts.
//
// Reading is defensive: the folder may hold anything a player copied in. A file that is
// not a plain file, too large, named in a way the file system cannot open, not a well-formed
// level or without a single position is skipped with a log line; the others are listed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "game/level_layout.h"

inline constexpr char kPlayerLayoutFolder[] = "user:levels/";
// Larger files are no layouts: the largest grid written out is about 40 KB.
inline constexpr size_t kPlayerLayoutMaxBytes = 256 * 1024;

struct TPlayerLayout {
  std::string file;  // the virtual name, "user:levels/garden.xml"
  TLevelLayout layout;
};

// The player's layouts, sorted by file name.
std::vector<TPlayerLayout> ListPlayerLayouts();

// Reads one layout file of any folder the file system knows. False (logged, layout
// untouched) when the file is missing, too large, damaged or holds no position.
bool ReadPlayerLayout(const std::string& file, TLevelLayout& layout);

// Whether a bare file name ("garden.xml") may name a player layout: lowercase letters,
// digits, "_" and "-", ending ".xml", and not a campaign level's name.
bool IsPlayerLayoutName(std::string_view bareName);

// A new file name for a layout titled title: the title in lowercase letters and digits
// joined by "_", "layout" when nothing is left, "my_" put before a campaign level's name,
// and "_2", "_3"... added while taken(name) says the name is in use.
std::string PlayerLayoutFileName(std::string_view title,
                                 bool (*taken)(const std::string& file) = nullptr);

// Writes the layout as a level file, atomically: a failed write leaves the old file as it
// was. The bytes depend on the layout alone (WriteLevelXml), so saving a layout twice gives
// the same file.
bool SavePlayerLayout(const std::string& file, const TLevelLayout& layout, std::string* error);

// Removes a player layout file; false (logged) when it is not one or cannot be removed.
bool DeletePlayerLayout(const std::string& file);

// Whether a player layout file of this name exists.
bool PlayerLayoutExists(const std::string& file);

// The layout the editor hands to the game for a test play: a memory file, never saved.
inline constexpr char kTestPlayLevelFile[] = "editor:testplay.xml";

// The local high-score category of a layout in free play: "mahjongcuriomar_layout_" and
// the file's bare name without extension ("..._level_007", "..._garden"); "" for the
// editor's test play, which keeps no score.
std::string LayoutHiscoreCategory(std::string_view levelFile);

// The readable source form of a level layout: a few "key: value" header lines and one
// ASCII drawing per layer. A drawing has 16 lines of up to 38 characters, one character per
// grid cell: "o" marks the upper-left cell of an ordinary position, "T" that of a treasure
// candidate, "." (or a space) a cell without one. Lines starting with "#" are comments.
//
//   title: Level 01
//   description: Two small rows to start the week.
//   difficulty: 1
//   layer 0
//   ......................................
//   ..........o.o.o.o.o.o.o.o.............
//   ...
#pragma once

#include <string>
#include <string_view>

#include "game/level_layout.h"

std::string WriteLevelDrawing(const TLevelLayout& layout);

// Fills layout from a drawing. On an error returns false with the line number and reason
// in error (when given) and leaves layout untouched.
bool ReadLevelDrawing(std::string_view text, TLevelLayout& layout, std::string* error = nullptr);

// The treasures each sale location can hide, in table order. The end auction has none.
// The tables name the faces by their catalogue short names; they are resolved to faces once,
// on first use.
#pragma once

#include <span>
#include <string_view>

#include "game/face.h"

// The faces of a location's table; empty for the end auction and unknown ids.
std::span<const TFace> TreasureTable(int location);
// The short names the table is written in (for the check that each names a treasure face).
std::span<const std::string_view> TreasureTableNames(int location);

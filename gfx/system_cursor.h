// The built-in mouse cursor: a 32 x 32 arrow (white with a black outline, tip at 0, 0) as
// PNG bytes, registered as the memory file "__systemcursor__.png" when no cursor image is
// given.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr char kSystemCursorName[] = "__systemcursor__.png";

// The arrow's pixels, 32 x 32 ARGB, transparent around the arrow.
std::vector<uint32_t> SystemCursorPixels();
// The same picture encoded as PNG (built once, then shared).
const std::vector<uint8_t>& SystemCursorPng();
// Registers the PNG as the memory file kSystemCursorName (again after the file system was
// set up anew).
void RegisterSystemCursor();

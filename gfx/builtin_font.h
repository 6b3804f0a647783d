// The program's built-in vector font ("__DEFAULT"): an ".mvec" image converted from a
// freely licensed font when the program is built and compiled in (see gfx/CMakeLists.txt).
#pragma once

#include <cstddef>
#include <cstdint>

const uint8_t* BuiltinFontData();
size_t BuiltinFontSize();

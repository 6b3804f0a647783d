// The packed animation file (".anm"): little-endian 32-bit integers and floats, strings as
// a 32-bit length and that many bytes, in four tagged sections:
//   "ANIM" reserved word, version, name, source
//   "IMGN" regx, regy, w, h; (version 1 only) four unused floats; image name, mask name
//   "FRMS" frame count, then per frame regx, regy, x, y, w, h, alpha (version 2 and later),
//          six transform floats, name, anchor count, then per anchor x, y, name
//   "SCRP" the script (optional)
// Every count and length is checked against what is left of the file before it is used,
// so a damaged file is refused with a reason and never read past its end.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gfx/formats/animation_data.h"

// Reads a packed animation. False with the reason in *error when the file is damaged.
bool ReadAnimationAnm(std::span<const uint8_t> bytes, TAnimationData* out, std::string* error);

// Writes the packed form in the data's packed version; reading it back gives the same data.
std::vector<uint8_t> WriteAnimationAnm(const TAnimationData& data);

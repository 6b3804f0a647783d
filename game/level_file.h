// Level files: the XML document that carries a TLevelLayout. The writer produces the
// shipped form (a "level" root with one child per field, including "layoutSize", the
// length of the layout text); the reader accepts what the game accepts: child names in any
// case, unknown children skipped, a nested "level" element entered.
#pragma once

#include <string>
#include <string_view>

#include "game/level_info.h"
#include "game/level_layout.h"

std::string WriteLevelXml(const TLevelLayout& layout);

// Fills layout from an XML text (plain or a "ZXML" container), read by the engine's XML
// reader as the game reads it. On a document that is not well formed returns false, logs
// nothing, puts a short reason into error (when given) and leaves layout untouched.
bool ReadLevelXml(std::string_view text, TLevelLayout& layout, std::string* error = nullptr);

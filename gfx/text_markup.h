// The small pieces of reading marked-up text: UTF-8 decoding, tags in angle brackets with
// name=value attributes, and colour values.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// Decodes the character at `pos` and moves past it. A byte that does not start a valid UTF-8
// sequence stands for itself (Latin-1), so older 8-bit texts still show.
uint32_t DecodeUtf8(const std::string& text, size_t* pos);

struct TMarkupTag {
  std::string name;                               // lower case, "/font" for closing tags
  std::map<std::string, std::string> attributes;  // names lower case, values unquoted

  bool Has(const std::string& key) const { return attributes.count(key) != 0; }
  std::string Get(const std::string& key) const;
  float GetNumber(const std::string& key, float fallback) const;
};

// Reads the tag starting with '<' at `pos`. On success `pos` moves past the closing '>';
// false (and `pos` unchanged) when there is no closing '>'.
bool ParseMarkupTag(const std::string& text, size_t* pos, TMarkupTag* tag);

// "RRGGBB" (opaque) or "RRGGBBAA", optionally after '#' or "0x", into ARGB. False when the
// value is not six or eight hexadecimal digits.
bool ParseMarkupColor(const std::string& value, uint32_t* argb);

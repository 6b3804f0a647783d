#include "gfx/text_markup.h"

#include <cctype>
#include <cstdlib>

uint32_t DecodeUtf8(const std::string& text, size_t* pos) {
  const size_t size = text.size();
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t first = byte(*pos);
  int extra = 0;
  uint32_t code = 0;
  if (first < 0x80) {
    ++*pos;
    return first;
  } else if ((first & 0xE0) == 0xC0) {
    extra = 1;
    code = first & 0x1F;
  } else if ((first & 0xF0) == 0xE0) {
    extra = 2;
    code = first & 0x0F;
  } else if ((first & 0xF8) == 0xF0) {
    extra = 3;
    code = first & 0x07;
  } else {
    ++*pos;
    return first;
  }
  if (*pos + extra >= size) {
    ++*pos;
    return first;
  }
  for (int i = 1; i <= extra; ++i) {
    const uint8_t b = byte(*pos + i);
    if ((b & 0xC0) != 0x80) {
      ++*pos;
      return first;
    }
    code = (code << 6) | (b & 0x3F);
  }
  // Overlong forms and values beyond Unicode count as stray bytes too.
  static const uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
  if (code < kMinimum[extra] || code > 0x10FFFF) {
    ++*pos;
    return first;
  }
  *pos += extra + 1;
  return code;
}

std::string TMarkupTag::Get(const std::string& key) const {
  auto found = attributes.find(key);
  return found == attributes.end() ? std::string() : found->second;
}

float TMarkupTag::GetNumber(const std::string& key, float fallback) const {
  auto found = attributes.find(key);
  if (found == attributes.end()) return fallback;
  const char* begin = found->second.c_str();
  char* end = nullptr;
  const float value = std::strtof(begin, &end);
  return end == begin ? fallback : value;
}

bool ParseMarkupTag(const std::string& text, size_t* pos, TMarkupTag* tag) {
  const size_t close = text.find('>', *pos + 1);
  if (close == std::string::npos) return false;
  const std::string body = text.substr(*pos + 1, close - *pos - 1);
  *pos = close + 1;
  tag->name.clear();
  tag->attributes.clear();
  size_t i = 0;
  const auto space = [&](size_t k) { return std::isspace(static_cast<unsigned char>(body[k])); };
  while (i < body.size() && space(i)) ++i;
  while (i < body.size() && !space(i)) {
    tag->name += static_cast<char>(std::tolower(static_cast<unsigned char>(body[i])));
    ++i;
  }
  while (i < body.size()) {
    while (i < body.size() && space(i)) ++i;
    std::string key;
    while (i < body.size() && !space(i) && body[i] != '=') {
      key += static_cast<char>(std::tolower(static_cast<unsigned char>(body[i])));
      ++i;
    }
    while (i < body.size() && space(i)) ++i;
    std::string value;
    if (i < body.size() && body[i] == '=') {
      ++i;
      while (i < body.size() && space(i)) ++i;
      if (i < body.size() && (body[i] == '"' || body[i] == '\'')) {
        const char quote = body[i++];
        while (i < body.size() && body[i] != quote) value += body[i++];
        if (i < body.size()) ++i;
      } else {
        while (i < body.size() && !space(i)) value += body[i++];
      }
    }
    if (!key.empty()) tag->attributes[key] = value;
  }
  return true;
}

bool ParseMarkupColor(const std::string& value, uint32_t* argb) {
  std::string digits = value;
  if (!digits.empty() && digits[0] == '#') digits.erase(0, 1);
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.erase(0, 2);
  }
  if (digits.size() != 6 && digits.size() != 8) return false;
  uint32_t v = 0;
  for (char c : digits) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    v = (v << 4) |
        static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(c))
                                  ? c - '0'
                                  : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
  }
  *argb = digits.size() == 6 ? (0xFF000000u | v) : ((v >> 8) | ((v & 0xFF) << 24));
  return true;
}

#include "webcontrol/control_properties.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

struct TTextProperty {
  const char* name;
  std::u16string TControlProperties::*field;
};
constexpr TTextProperty kTextProperties[] = {
    {"DownloadUrl", &TControlProperties::downloadUrl},
    {"Options", &TControlProperties::options},
    {"MSN", &TControlProperties::msn},
    {"AnonymousScores", &TControlProperties::anonymousScores},
    {"HideLogos", &TControlProperties::hideLogos},
    {"GameData", &TControlProperties::gameData},
};

// A decimal extent, or false when the text is not one.
bool ParseExtent(const std::u16string& text, long* value) {
  const std::string narrow = NarrowProperty(text);
  if (narrow.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(narrow.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < 0 || parsed > INT_MAX) return false;
  *value = parsed;
  return true;
}

std::u16string Decimal(long value) {
  const std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

}  // namespace

void TControlProperties::Load(const TPropertyBag& bag) {
  for (const TTextProperty& property : kTextProperties) {
    std::u16string value;
    if (bag.Read(property.name, &value)) this->*property.field = value;
  }
  std::u16string extent;
  if (bag.Read("_cx", &extent)) ParseExtent(extent, &extentX);
  if (bag.Read("_cy", &extent)) ParseExtent(extent, &extentY);
}

void TControlProperties::Save(TPropertyBag* bag) const {
  if (!bag) return;
  for (const TTextProperty& property : kTextProperties) {
    bag->Write(property.name, this->*property.field);
  }
  bag->Write("_cx", Decimal(extentX));
  bag->Write("_cy", Decimal(extentY));
}

std::string NarrowProperty(const std::u16string& text) {
  if (text.size() >= TControlProperties::kMaxTextUnits) return {};
  std::string narrow(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) narrow[i] = static_cast<char>(text[i] & 0xFF);
  return narrow;
}

std::u16string WidenUtf8(const std::string& text) {
  std::u16string wide;
  wide.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    // The bytes that follow the lead byte, and the least value of that length.
    int extra = -1;
    char32_t code = 0, least = 0;
    if (lead < 0x80) {
      extra = 0, code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, code = lead & 0x07, least = 0x10000;
    }
    bool valid = extra >= 0 && i + extra < text.size();
    for (int k = 1; valid && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (valid && (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
      valid = false;
    if (!valid) {
      wide.push_back(u'\uFFFD');
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      wide.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      wide.push_back(static_cast<char16_t>(code));
    }
    i += extra + 1;
  }
  return wide;
}

std::string NarrowUtf8(const std::u16string& text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      narrow += static_cast<char>(code);
    } else if (code < 0x800) {
      narrow += static_cast<char>(0xC0 | (code >> 6));
      narrow += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      narrow += static_cast<char>(0xE0 | (code >> 12));
      narrow += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      narrow += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      narrow += static_cast<char>(0xF0 | (code >> 18));
      narrow += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      narrow += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      narrow += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return narrow;
}

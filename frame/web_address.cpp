#include "frame/web_address.h"

#include <cctype>

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsWebAddress(std::string_view text) {
  size_t scheme = 0;
  if (StartsWithNoCase(text, "https://")) {
    scheme = 8;
  } else if (StartsWithNoCase(text, "http://")) {
    scheme = 7;
  } else {
    return false;
  }
  if (text.size() == scheme) return false;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return false;
  }
  return true;
}

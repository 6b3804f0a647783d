// Plain ASCII lowercasing, byte by byte, as virtual file names are compared.
#pragma once

#include <string>
#include <string_view>

inline std::string LowerCaseAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

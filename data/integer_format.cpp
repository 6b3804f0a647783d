#include "data/integer_format.h"

#include <cstdio>
#include <vector>

namespace {

bool IsFlag(char c) {
  return c == '-' || c == '+' || c == ' ' || c == '0' || c == '#';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string FormatIntegers(std::string_view format, std::initializer_list<int> arguments) {
  std::vector<int> values(arguments);
  size_t next = 0;
  std::string out;
  size_t i = 0;
  while (i < format.size()) {
    if (format[i] != '%') {
      out += format[i++];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    // "%" [flags] [width] ["." precision] conversion; width and precision at most 2 digits.
    size_t j = i + 1;
    while (j < format.size() && IsFlag(format[j])) ++j;
    size_t digits = 0;
    while (j < format.size() && IsDigit(format[j]) && digits < 2) ++j, ++digits;
    if (j < format.size() && format[j] == '.') {
      ++j;
      digits = 0;
      while (j < format.size() && IsDigit(format[j]) && digits < 2) ++j, ++digits;
    }
    const char conversion = j < format.size() ? format[j] : '\0';
    if (conversion != 'd' && conversion != 'i' && conversion != 'u' && conversion != 'x' &&
        conversion != 'X') {
      out += format[i++];  // not ours: written as text
      continue;
    }
    const std::string directive(format.substr(i, j + 1 - i));
    const int value = next < values.size() ? values[next] : 0;
    ++next;
    char buffer[128];
    if (conversion == 'd' || conversion == 'i')
      std::snprintf(buffer, sizeof buffer, directive.c_str(), value);
    else
      std::snprintf(buffer, sizeof buffer, directive.c_str(), static_cast<unsigned>(value));
    out += buffer;
    i = j + 1;
  }
  return out;
}

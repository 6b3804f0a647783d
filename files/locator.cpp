#include "files/locator.h"

#include <charconv>

bool ParseLocatorNumber(std::string_view text, size_t position, uint64_t& value) {
  if (position >= text.size()) return false;
  const char* first = text.data() + position;
  const char* last = text.data() + text.size();
  const auto result = std::from_chars(first, last, value);
  return result.ec == std::errc() && result.ptr != first;
}

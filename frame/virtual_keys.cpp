#include "frame/virtual_keys.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct TKeyName {
  const char* name;
  int code;
};

constexpr TKeyName kNames[] = {
    {"backspace", VK_BACK},    {"tab", VK_TAB},       {"return", VK_RETURN},
    {"enter", VK_RETURN},      {"shift", VK_SHIFT},   {"ctrl", VK_CONTROL},
    {"alt", VK_MENU},          {"pause", VK_PAUSE},   {"escape", VK_ESCAPE},
    {"esc", VK_ESCAPE},        {"space", VK_SPACE},   {"pageup", VK_PRIOR},
    {"pagedown", VK_NEXT},     {"end", VK_END},       {"home", VK_HOME},
    {"left", VK_LEFT},         {"up", VK_UP},         {"right", VK_RIGHT},
    {"down", VK_DOWN},         {"insert", VK_INSERT}, {"delete", VK_DELETE},
    {"minus", VK_OEM_MINUS},   {"plus", VK_OEM_PLUS}, {"comma", VK_OEM_COMMA},
    {"period", VK_OEM_PERIOD},
};

}  // namespace

int VirtualKeyFromName(const char* name) {
  if (!name || !*name) return 0;
  std::string lower;
  for (const char* p = name; *p; ++p) {
    lower += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
  }
  if (lower.size() == 1) {
    const char c = lower[0];
    if (c >= 'a' && c <= 'z') return VK_A + (c - 'a');
    if (c >= '0' && c <= '9') return VK_0 + (c - '0');
    return 0;
  }
  for (const TKeyName& key : kNames) {
    if (lower == key.name) return key.code;
  }
  if (lower[0] == 'f' && lower.size() <= 3) {
    const int number = std::atoi(lower.c_str() + 1);
    if (number >= 1 && number <= 24 &&
        lower.find_first_not_of("0123456789", 1) == std::string::npos) {
      return VK_F1 + number - 1;
    }
  }
  errno = 0;
  char* end = nullptr;
  const long code = std::strtol(lower.c_str(), &end, 0);
  if (errno == 0 && *end == '\0' && code > 0 && code < 256) return static_cast<int>(code);
  return 0;
}

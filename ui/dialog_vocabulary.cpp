#include "ui/dialog_vocabulary.h"

#include <algorithm>
#include <cctype>

namespace {

// Lua's reserved words: a global of such a name could never be written in a script.
constexpr std::string_view kReservedWords[] = {
    "and",   "break", "do",  "else", "elseif", "end",    "false", "for",  "function", "if",    "in",
    "local", "nil",   "not", "or",   "repeat", "return", "then",  "true", "until",    "while",
};

}  // namespace

bool IsScriptName(std::string_view name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front()))) return false;
  for (char c : name) {
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  }
  return std::find(std::begin(kReservedWords), std::end(kReservedWords), name) ==
         std::end(kReservedWords);
}

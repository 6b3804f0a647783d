#include "script/script_path.h"

#include "files/file_system.h"

namespace {
std::string& SearchPathStorage() {
  static std::string path = "assets/?;?;../?;../../?";
  return path;
}
}  // namespace

const char* const kDefaultCompilePath = "assets/?;../?;?";

const std::string& ScriptSearchPath() {
  return SearchPathStorage();
}

void SetScriptSearchPath(const std::string& path) {
  SearchPathStorage() = path;
}

std::string FindScriptFile(const std::string& name, const std::string& path) {
  if (name.empty()) return "";
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(';', start);
    if (end == std::string::npos) end = path.size();
    const std::string pattern = path.substr(start, end - start);
    if (!pattern.empty()) {
      std::string candidate;
      for (char c : pattern) {
        if (c == '?')
          candidate += name;
        else
          candidate += c;
      }
      if (FileExists(candidate)) return candidate;
    }
    start = end + 1;
  }
  return "";
}

#include "files/replace_file.h"

#include "files/atomic_file.h"
#include "files/file_system.h"

namespace {

// The disk path a virtual name is written to, or "" when it is no disk file.
std::string DiskPathForWriting(const std::string& name) {
  if (name.compare(0, 2, "::") == 0) return name.substr(2);
  const std::string locator = ResolveFileName(name, false);
  if (locator.empty() || locator[0] == '@' || locator[0] == '&') return std::string();
  return locator;
}

}  // namespace

bool ReplaceWholeFile(const std::string& name, std::string_view bytes, std::string* error) {
  const std::string path = DiskPathForWriting(name);
  if (path.empty()) {
    if (error) *error = "no place to write " + name;
    return false;
  }
  return PlatformReplaceFile(path, bytes.data(), bytes.size(), error);
}

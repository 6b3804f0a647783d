#include "files/file_access.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool PlatformCanRead(const std::string& path) {
  return !path.empty() && IsRegularFile(path) && ::access(path.c_str(), R_OK) == 0;
}

bool PlatformCanReadWrite(const std::string& path) {
  return !path.empty() && IsRegularFile(path) && ::access(path.c_str(), R_OK | W_OK) == 0;
}

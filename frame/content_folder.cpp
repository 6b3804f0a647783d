#include "frame/content_folder.h"

#include <filesystem>
#include <system_error>

namespace {

bool HoldsAssets(const std::filesystem::path& folder) {
  std::error_code error;
  return std::filesystem::is_directory(folder / "assets", error);
}

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::string ContentFolderFor(const std::string& programFolder, const std::string& installName) {
  if (HoldsAssets(programFolder) || installName.empty()) return programFolder;
  // Lexically normal, so that the log and the folders the program reports read
  // "/usr/share/..." rather than "/usr/bin/../share/...".
  const std::filesystem::path installed =
      (std::filesystem::path(programFolder) / ".." / "share" / installName).lexically_normal();
  if (HoldsAssets(installed)) return WithSlash(installed.string());
  return programFolder;
}

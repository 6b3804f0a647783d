#include "webcontrol/sample_page.h"

#include <filesystem>
#include <system_error>

const char kSamplePageName[] = "mahjongcuriomar.html";

namespace {

bool IsFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string SamplePageFor(const std::string& hostFolder, const std::string& installName) {
  if (hostFolder.empty()) return "";
  const std::filesystem::path folder(hostFolder);
  const std::filesystem::path beside = folder / "page" / kSamplePageName;
  if (IsFile(beside)) return beside.lexically_normal().string();
  if (installName.empty()) return "";
  // Lexically normal, so the host's messages name "/usr/share/..." and not
  // "/usr/lib/<name>/../../share/...".
  const std::filesystem::path installed =
      (folder / ".." / ".." / "share" / installName / "page" / kSamplePageName).lexically_normal();
  return IsFile(installed) ? installed.string() : "";
}

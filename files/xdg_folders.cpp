#include "files/xdg_folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// base/publisher/game, created when missing; empty when it cannot be made.
std::string BuildFolder(const std::string& base, const std::string& publisher,
                        const std::string& game) {
  if (base.empty()) return {};
  std::filesystem::path folder = std::filesystem::path(base) / publisher;
  if (!game.empty()) folder /= game;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!std::filesystem::is_directory(folder, error)) return {};
  std::string text = folder.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

std::string DesktopFromUserDirs(const std::string& configText, const std::string& home) {
  std::istringstream lines(configText);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, 16, "XDG_DESKTOP_DIR=") != 0) continue;
    std::string value = line.substr(start + 16);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
      value.pop_back();
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    if (value.empty() || value[0] != '/') return {};
    return value;
  }
  return {};
}

TSpecialFolders ComputeSpecialFolders(const std::string& publisher, const std::string& game,
                                      const std::string& systemBase) {
  const std::string publisherName = publisher.empty() ? kDefaultPublisher : publisher;
  const std::string home = Environment("HOME");

  std::string dataHome = Environment("XDG_DATA_HOME");
  if (dataHome.empty() || dataHome[0] != '/') dataHome = home.empty() ? "" : home + "/.local/share";

  TSpecialFolders folders;
  folders.user = BuildFolder(dataHome, publisherName, game);
  folders.common = BuildFolder(systemBase, publisherName, game);
  if (folders.common.empty()) folders.common = folders.user;

  std::string configHome = Environment("XDG_CONFIG_HOME");
  if (configHome.empty() || configHome[0] != '/') configHome = home + "/.config";
  std::ifstream config(configHome + "/user-dirs.dirs");
  const std::string text((std::istreambuf_iterator<char>(config)),
                         std::istreambuf_iterator<char>());
  folders.desktop = DesktopFromUserDirs(text, home);
  std::error_code error;
  if (folders.desktop.empty() || !std::filesystem::is_directory(folders.desktop, error)) {
    folders.desktop = folders.user;
  }
  return folders;
}

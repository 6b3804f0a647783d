// The per-user, all-users and desktop folders on an XDG desktop:
//   user    $XDG_DATA_HOME (default ~/.local/share) / publisher / game
//   common  systemBase / publisher / game when a system folder is configured and can be
//           built, else the user folder
//   desktop the XDG desktop folder (user-dirs.dirs), else the user folder
// Building the user and common folders creates the publisher and game folders.
#pragma once

#include <string>

struct TSpecialFolders {
  std::string user;
  std::string common;
  std::string desktop;
};

constexpr char kDefaultPublisher[] = "Tandervel";

// publisher: the setting "publisher", or empty for the default. Folders come back without
// a trailing separator; user is empty only when no home folder can be found at all.
TSpecialFolders ComputeSpecialFolders(const std::string& publisher, const std::string& game,
                                      const std::string& systemBase = "");

// The XDG desktop folder named in configText (the contents of user-dirs.dirs), with $HOME
// expanded; empty when the file does not name one.
std::string DesktopFromUserDirs(const std::string& configText, const std::string& home);

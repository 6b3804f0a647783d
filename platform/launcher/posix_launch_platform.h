// TPosixLaunchPlatform: the launch's work on this system. The game is unpacked from the
// cabinet payload into a fresh private folder (mode 0700, unique name) under the user's
// runtime folder ($XDG_RUNTIME_DIR) or the temporary folder, started there without a shell
// (posix_spawn, its working folder set for the child only), waited for, and the folder is
// removed again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "webcontrol/game_launch.h"

class TPosixLaunchPlatform : public TLaunchPlatform {
 public:
  // payload: the cabinet's bytes; window: the control's X11 window; environment: extra
  // NAME=value entries for the game (tests use it), on top of the host's own.
  TPosixLaunchPlatform(std::string_view payload, uint64_t window,
                       std::vector<std::string> environment = {});

  std::string HostProgram() override;
  uint64_t WindowId() override { return mWindow; }
  std::string MakeFolder() override;
  bool Unpack(const std::string& folder) override;
  long StartGame(const std::string& folder, const std::vector<std::string>& arguments) override;
  void WaitForGame(long process) override;
  bool RemoveFolder(const std::string& folder) override;

  // Where launch folders are made: $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp.
  static std::string FolderBase();

 private:
  std::string_view mPayload;
  uint64_t mWindow;
  std::vector<std::string> mEnvironment;
};

// The launch's work on this system with a stand-in game (a small script in a cabinet): the
// private folder, the unpacking, the start without a shell in that folder, the clean-up.
#include "platform/launcher/posix_launch_platform.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/webcontrol/launcher_test_support.h"
#include "webcontrol/game_launch.h"
#include "webcontrol/launcher_control.h"

namespace {

class PosixLaunchPlatform : public ::testing::Test {
 protected:
  void SetUp() override {
    root = MakeTemporaryFolder("mc_launch_");
    runtime = root / "runtime";
    std::filesystem::create_directories(runtime);
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    oldRuntime = old ? old : "";
    hadRuntime = old != nullptr;
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);

    // The stand-in game writes its working folder and its arguments, one per line.
    const std::filesystem::path source = root / "source";
    std::filesystem::create_directories(source / "assets");
    WriteFile(source / "mahjongcuriomar",
              "#!/bin/sh\n{ pwd; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > "
              "\"$MC_LAUNCH_OUT\"\n");
    WriteFile(source / "assets" / "assets.tvp", "package");
    ASSERT_TRUE(MakeCabinet(source, root / "game.cab", {"mahjongcuriomar", "assets/assets.tvp"}));
    payload = ReadFile(root / "game.cab");
  }
  void TearDown() override {
    if (hadRuntime) {
      setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
    std::error_code error;
    std::filesystem::remove_all(root, error);
  }

  std::filesystem::path root, runtime;
  std::string payload, oldRuntime;
  bool hadRuntime = false;
};

}  // namespace

TEST_F(PosixLaunchPlatform, EachLaunchGetsAFreshPrivateFolder) {
  TPosixLaunchPlatform platform(payload, 0x10);
  const std::string first = platform.MakeFolder(), second = platform.MakeFolder();
  ASSERT_FALSE(first.empty());
  EXPECT_NE(first, second);
  EXPECT_EQ(std::filesystem::path(first).parent_path(), runtime);
  EXPECT_EQ(
      std::filesystem::path(first).filename().string().rfind("tv_MahjongCuriomar.1.0.0.18.", 0),
      0u);
  struct stat info {};
  ASSERT_EQ(stat(first.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(platform.RemoveFolder(first));
  EXPECT_TRUE(platform.RemoveFolder(second));
  EXPECT_FALSE(std::filesystem::exists(first));
}

TEST_F(PosixLaunchPlatform, TheGameStartsInItsFolderWithItsArgumentsUntouched) {
  const std::string out = (root / "out.txt").string();
  TPosixLaunchPlatform platform(payload, 0x10, {"MC_LAUNCH_OUT=" + out});
  const std::string folder = platform.MakeFolder();
  ASSERT_TRUE(platform.Unpack(folder));
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder) / "assets" / "assets.tvp"));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder) / "__game.cab"));
  const long process =
      platform.StartGame(folder, {"-wnd=10", "-options=a;$(touch pwned)", "", "x y"});
  ASSERT_GT(process, 0);
  platform.WaitForGame(process);
  EXPECT_EQ(ReadFile(out), folder + "\n[-wnd=10]\n[-options=a;$(touch pwned)]\n[]\n[x y]\n");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder) / "pwned"));
  // The host's own working folder did not change.
  EXPECT_NE(std::filesystem::current_path().string(), folder);
  EXPECT_TRUE(platform.RemoveFolder(folder));
  EXPECT_TRUE(std::filesystem::is_empty(runtime));
}

TEST_F(PosixLaunchPlatform, NoPayloadOrABrokenOneUnpacksNothing) {
  TPosixLaunchPlatform empty("", 1);
  const std::string folder = empty.MakeFolder();
  EXPECT_FALSE(empty.Unpack(folder));
  const std::string half = payload.substr(0, payload.size() / 2);  // the platform keeps a view
  TPosixLaunchPlatform broken(half, 1);
  EXPECT_FALSE(broken.Unpack(folder));
  EXPECT_EQ(broken.StartGame((root / "nowhere").string(), {}), -1);
  EXPECT_TRUE(broken.RemoveFolder(folder));
}

TEST_F(PosixLaunchPlatform, TheWholeLaunchLeavesNothingBehind) {
  const std::string out = (root / "out.txt").string();
  TPosixLaunchPlatform platform(payload, 0x1a02b4, {"MC_LAUNCH_OUT=" + out});
  class TWindow : public TControlWindow {
   public:
    bool Exists() const override { return true; }
    bool HasGameWindow() const override { return false; }
    void PostHostCommand(uint32_t) override {}
    void PostQuit() override {}
    void Invalidate() override {}
  } window;
  TLauncherControl control(nullptr, [](TLauncherControl*) {});
  control.Properties().msn = u"1";
  control.Properties().anonymousScores = u"2";
  control.WindowCreated(&window);
  RunGameLaunch(&control, &platform);
  EXPECT_TRUE(control.Started());
  EXPECT_TRUE(control.Finished());
  const std::string written = ReadFile(out);
  EXPECT_NE(written.find("[-wnd=1a02b4]\n[-anon]\n[2]\n[-msn]\n"), std::string::npos) << written;
  EXPECT_TRUE(std::filesystem::is_empty(runtime));
}

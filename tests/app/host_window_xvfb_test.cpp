// The real program inside a page host's X11 window on a private Xvfb server: the host
// starts it with "-wnd=", sends the page's commands as ClientMessages to the game's window
// and collects the host texts the game sends to the host window. Skipped where Xvfb cannot
// start.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "online/host_protocol.h"
#include "platform/x11_test_host/x11_test_host.h"
#include "platform/x11_test_host/xvfb_server.h"

namespace {

const std::string kProgram = std::string(MC_BIN_DIR) + "/mahjongcuriomar";
// The sound switch's face, on and off (the host link mutes the game in MSN mode until a
// game starts for the page).
constexpr long kSwitchOnFace = 0xD9B06C;
constexpr long kSwitchOffFace = 0xA88048;

class HostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("mc_host_window_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    if (!xvfb.Start(1024, 768)) GTEST_SKIP() << "Xvfb cannot start here";
    ASSERT_TRUE(host.Open(xvfb.Display(), 800, 600)) << host.Error();
  }
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }

  void StartGame(const std::vector<std::string>& arguments) {
    host.SetOutputFile((folder / "output.txt").string());
    ASSERT_TRUE(host.Start(kProgram, arguments,
                           {{"DISPLAY", xvfb.Display()},
                            {"SDL_AUDIODRIVER", "dummy"},
                            {"XDG_RUNTIME_DIR", folder.string()},
                            {"XDG_DATA_HOME", folder.string()},
                            {"LIBGL_ALWAYS_SOFTWARE", "1"},
                            {"ASAN_OPTIONS", "detect_leaks=0"}}))
        << host.Error();
    ASSERT_NE(host.WaitForGameWindow(30000), 0u) << "the game's window never came into the host";
  }

  // Whether the main screen's sound switch shows (its face at the top left); the splash
  // before it is plain table green there.
  bool MainScreenShows() {
    const long pixel = host.PixelAt(350, 260);
    return pixel == kSwitchOnFace || pixel == kSwitchOffFace;
  }
  bool WaitForMainScreen(bool shown) {
    for (int i = 0; i < 100; ++i) {
      if (MainScreenShows() == shown) return true;
      host.Pump(100);
    }
    return false;
  }

  std::string Output() const {
    std::ifstream file(folder / "output.txt");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  std::filesystem::path folder;
  TXvfbServer xvfb;
  TX11TestHost host;
};

}  // namespace

TEST_F(HostWindow, TheGameAnnouncesItselfWaitsForThePageAndObeysItsCommands) {
  StartGame({"-msn", "options=splash_ms=1500"});
  // SessionReady, then the game waits: its splash outlasts its own time.
  ASSERT_EQ(host.WaitForText("SessionReady(", 30000), 0);
  EXPECT_EQ(host.Texts()[0], "SessionReady(\"<data></data>\")");
  host.Pump(3000);
  EXPECT_FALSE(MainScreenShows()) << host.PixelAt(350, 260);

  // The session starts; the splash's 1.5 s pass and the main screen comes.
  ASSERT_TRUE(host.SendCommand(kHostSessionStart));
  EXPECT_TRUE(WaitForMainScreen(true)) << host.PixelAt(350, 260);

  // The page's other commands; the game keeps running through them, and the first start
  // of a game restarts nothing.
  for (uint32_t code : {kHostPauseOn, kHostPauseOff, kHostMuteOn, kHostMuteOff, kHostGameContinue,
                        kHostCustomReturn, kHostGameStart}) {
    ASSERT_TRUE(host.SendCommand(code)) << HostCommandName(code);
    host.Pump(100);
  }
  EXPECT_TRUE(MainScreenShows());
  // A second start is a new game: the game goes back to the bottom of its windows, and the
  // main screen's dialog goes.
  ASSERT_TRUE(host.SendCommand(kHostGameStart));
  EXPECT_TRUE(WaitForMainScreen(false)) << host.PixelAt(350, 260);
  ASSERT_TRUE(host.SendCommand(kHostGameMenu));
  ASSERT_TRUE(host.SendCommand(kHostRestartGame));
  host.Pump(300);
  EXPECT_EQ(host.OtherMessages(), 0);
  // Only one SessionReady in the whole run.
  EXPECT_EQ(host.WaitForText("SessionReady(", 0, 1), -1);

  ASSERT_TRUE(host.SendQuit());
  EXPECT_EQ(host.WaitForExit(20000), 0) << Output();
}

TEST_F(HostWindow, InZylomModeTheGameRunsWithoutWaitingForThePage) {
  StartGame({"-zylom", "options=splash_ms=500"});
  ASSERT_EQ(host.WaitForText("SessionReady(", 30000), 0);
  EXPECT_TRUE(WaitForMainScreen(true)) << host.PixelAt(350, 260);
  ASSERT_TRUE(host.SendQuit());
  EXPECT_EQ(host.WaitForExit(20000), 0) << Output();
}

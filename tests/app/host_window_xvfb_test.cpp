// The real program inside a page host's X11 window on a private Xvfb server: the host
// starts it with "-wnd=", sends the page's commands as ClientMessages to the game's window
// and collects the host texts the game sends to the host window. Skipped where Xvfb cannot
// start.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "gfx/pixel_image.h"
#include "online/host_protocol.h"
#include "platform/x11_test_host/x11_test_host.h"
#include "platform/x11_test_host/xvfb_server.h"

namespace {

const std::string kProgram = std::string(MC_BIN_DIR) + "/mahjongcuriomar";
const std::string kStageFolder = std::string(MC_BIN_DIR) + "/../content/stage";

// The colour (0xRRGGBB) of a staged picture's pixel, or -1 when it cannot be read.
long PicturePixel(const std::string& name, int x, int y) {
  std::ifstream file(kStageFolder + "/" + name, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  TPixelImage image;
  if (!DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &image)) return -1;
  return static_cast<long>(image.At(x, y) & 0xFFFFFFu);
}

// Colours equal within a step or two per channel (drawing may round).
bool NearlyEqual(long a, long b) {
  if (a < 0 || b < 0) return false;
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > 2) return false;
  }
  return true;
}

class HostWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "mc_host_window_XXXXXX");
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
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

  // Whether the main menu's sound switch shows (its plaque at 300, 248, off or on); the
  // splash before it shows the shop's curtain there.
  bool MainScreenShows() {
    const long pixel = host.PixelAt(350, 260);
    return NearlyEqual(pixel, PicturePixel("menu/plaque_off.png", 50, 12)) ||
           NearlyEqual(pixel, PicturePixel("menu/plaque_on.png", 50, 12));
  }
  bool WaitForMainScreen(bool shown) {
    for (int i = 0; i < 100; ++i) {
      if (MainScreenShows() == shown) return true;
      host.Pump(100);
    }
    return false;
  }

  // The program's standard output and error (an embedded game writes no log file).
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
  // main menu opens again.
  ASSERT_TRUE(host.SendCommand(kHostGameStart));
  host.Pump(500);
  EXPECT_TRUE(WaitForMainScreen(true)) << host.PixelAt(350, 260);
  ASSERT_TRUE(host.SendCommand(kHostGameMenu));
  ASSERT_TRUE(host.SendCommand(kHostRestartGame));
  host.Pump(300);
  EXPECT_EQ(host.OtherMessages(), 0);
  // Only one SessionReady in the whole run.
  EXPECT_EQ(host.WaitForText("SessionReady(", 0, 1), -1);

  ASSERT_TRUE(host.SendQuit());
  EXPECT_EQ(host.WaitForExit(20000), 0) << Output();
}

// The player picks a classic game (the program's own input script clicks; the first start
// asks for a name): the page hears GameReady and the game waits for its start.
TEST_F(HostWindow, ThePageHearsWhenAGameIsReady) {
  const std::string script = (folder / "input.txt").string();
  std::ofstream(script) << "20000 move 645 257\n"
                           "20100 click 645 257\n"
                           "26000 text Ada\n"
                           "27000 key return\n";
  StartGame({"-msn", "options=splash_ms=500", "--input=" + script});
  ASSERT_EQ(host.WaitForText("SessionReady(", 30000), 0);
  ASSERT_TRUE(host.SendCommand(kHostSessionStart));
  const int ready = host.WaitForText("GameReady(", 90000);
  ASSERT_GT(ready, 0) << Output();
  EXPECT_EQ(host.Texts()[ready], "GameReady(\"<data><mode>mahjongcuriomar_web</mode></data>\")");
  host.Pump(300);
  ASSERT_TRUE(host.SendCommand(kHostGameStart));
  host.Pump(300);
  ASSERT_TRUE(host.SendQuit());
  EXPECT_EQ(host.WaitForExit(20000), 0) << Output();
  // Nothing else came: one SessionReady, one GameReady.
  EXPECT_EQ(host.Texts().size(), 2u);
}

TEST_F(HostWindow, InZylomModeTheGameRunsWithoutWaitingForThePage) {
  StartGame({"-zylom", "options=splash_ms=500"});
  ASSERT_EQ(host.WaitForText("SessionReady(", 30000), 0);
  EXPECT_TRUE(WaitForMainScreen(true)) << host.PixelAt(350, 260);
  ASSERT_TRUE(host.SendQuit());
  EXPECT_EQ(host.WaitForExit(20000), 0) << Output();
}

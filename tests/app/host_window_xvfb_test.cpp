// The real program inside a page host's X11 window on a private Xvfb server: the host
// starts it with "-wnd=", sends the page's commands as ClientMessages to the game's window
// and collects the host texts the game sends to the host window. Skipped where Xvfb cannot
// start.
#include "online/host_protocol.h"
#include "tests/app/host_window_fixture.h"

namespace {

class HostWindow : public THostedProgramTest {
 protected:
  void SetUp() override {
    THostedProgramTest::SetUp();
    if (!xvfb.Start(1024, 768)) GTEST_SKIP() << "Xvfb cannot start here";
    ASSERT_TRUE(host.Open(xvfb.Display(), 800, 600)) << host.Error();
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

#include "webcontrol/launcher_control.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

class TFakeWindow : public TControlWindow {
 public:
  bool Exists() const override { return true; }
  bool HasGameWindow() const override { return gameWindow; }
  void PostHostCommand(uint32_t code) override { commands.push_back(code); }
  void PostQuit() override { ++quits; }
  void Invalidate() override { ++invalidations; }

  bool gameWindow = true;
  std::vector<uint32_t> commands;
  int quits = 0;
  int invalidations = 0;
};

// A control whose page scripts and launches are counted.
struct TControlFixture {
  TControlFixture()
      : control([this](const std::string& text) { scripts.push_back(text); },
                [this](TLauncherControl* launched) {
                  ++launches;
                  last = launched;
                }) {}
  std::vector<std::string> scripts;
  int launches = 0;
  TLauncherControl* last = nullptr;
  TLauncherControl control;
};

void Send(TLauncherControl& control, const std::string& text) {
  for (const THostTextChunk& chunk : SplitHostText(text))
    control.ReceiveHostMessage(chunk.wparam, chunk.lparam);
}

}  // namespace

TEST(LauncherControl, EachMethodSendsItsCommandToTheGamesWindow) {
  TFakeWindow window;  // outlives the control, which uses it until its release
  TControlFixture f;
  f.control.WindowCreated(&window);
  for (int id = 1; id <= 11; ++id) EXPECT_TRUE(f.control.Invoke(id, "<xml>ignored</xml>")) << id;
  // LoadGame (10) sends nothing; GameContinue and CustomReturn send only their number.
  EXPECT_EQ(window.commands, (std::vector<uint32_t>{6, 1, 2, 3, 4, 5, 7, 8, 9, 10}));
  EXPECT_FALSE(f.control.Invoke(0));
  EXPECT_FALSE(f.control.Invoke(12));
  EXPECT_EQ(window.commands.size(), 10u);
  EXPECT_EQ(TLauncherControl::MethodName(5), "PauseOn");
  EXPECT_EQ(TLauncherControl::MethodId("CustomReturn"), 11);
  EXPECT_EQ(TLauncherControl::MethodId("Options"), 0);  // properties are not methods
  EXPECT_EQ(TLauncherControl::MethodName(12), "");
  f.control.SetFinished();
}

TEST(LauncherControl, WithoutAGameWindowCommandsAreDroppedButSucceed) {
  TFakeWindow window;
  TControlFixture f;
  EXPECT_TRUE(f.control.Invoke(TLauncherControl::kPauseOn));  // no window at all
  window.gameWindow = false;
  f.control.WindowCreated(&window);
  EXPECT_TRUE(f.control.Invoke(TLauncherControl::kGameMenu));
  EXPECT_TRUE(window.commands.empty());
  f.control.SetFinished();
}

TEST(LauncherControl, TheLaunchStartsOnceAtTheFirstWindow) {
  TFakeWindow first, second;
  TControlFixture f;
  EXPECT_FALSE(f.control.LaunchStarted());
  f.control.WindowCreated(&first);
  f.control.WindowCreated(&second);
  EXPECT_EQ(f.launches, 1);
  EXPECT_EQ(f.last, &f.control);
  EXPECT_EQ(f.control.Window(), &second);
  f.control.SetFinished();
}

TEST(LauncherControl, HostTextsOfSevenAndEightCharactersReachThePage) {
  TControlFixture f;
  // Seven characters: the terminator is the eighth byte of the one message.
  f.control.ReceiveHostMessage(0x656d6147, 0x00296128);  // "Game(a)"
  ASSERT_EQ(f.scripts, (std::vector<std::string>{"Game(a)"}));
  // Eight: a second message holds the terminator; the bytes behind it are ignored.
  f.control.ReceiveHostMessage(0x656d6147, 0x29626128);  // "Game(ab)"
  EXPECT_EQ(f.scripts.size(), 1u);
  f.control.ReceiveHostMessage(0x7a7a7a00, 0x7a7a7a7a);
  EXPECT_EQ(f.scripts.back(), "Game(ab)");
  // A zero in wParam ends the text there: lParam is not read.
  f.control.ReceiveHostMessage(0x00004241, 0x44434241);
  EXPECT_EQ(f.scripts.back(), "AB");
  Send(f.control, "ScoreSubmit(\"<game><score>1200</score><time>61</time></game>\")");
  EXPECT_EQ(f.scripts.back(), "ScoreSubmit(\"<game><score>1200</score><time>61</time></game>\")");
  EXPECT_EQ(f.scripts.size(), 4u);
}

TEST(LauncherControl, ATextLongerThanTheBufferIsCutAndLaterTextsStillArrive) {
  TControlFixture f;
  const std::string big(3000, 'x');
  Send(f.control, big);
  ASSERT_EQ(f.scripts.size(), 1u);
  EXPECT_EQ(f.scripts[0], std::string(kHostTextBufferBytes - 1, 'x'));
  Send(f.control, "GameBreak(\"<data><breakpoint>1</breakpoint></data>\")");
  ASSERT_EQ(f.scripts.size(), 2u);
  EXPECT_EQ(f.scripts[1], "GameBreak(\"<data><breakpoint>1</breakpoint></data>\")");
}

TEST(LauncherControl, TheStatusLineFollowsTheLaunch) {
  TControlFixture f;
  EXPECT_EQ(f.control.StatusText(), "Loading MahjongCuriomar...");
  f.control.SetStarted(true);
  EXPECT_EQ(f.control.StatusText(), "");
  // Once the launch is over, even after a game that ended normally.
  f.control.SetFinished();
  EXPECT_EQ(f.control.StatusText(), "Sorry, the game cannot run.");
  TControlFixture failed;
  failed.control.SetStarted(false);
  failed.control.SetFinished();
  EXPECT_EQ(failed.control.StatusText(), "Sorry, the game cannot run.");
}

// A page that lets go of the control while the game is still starting: the game is asked to
// quit once its window appears, so the release does not wait for the game's whole life.
TEST(LauncherControl, ReleaseDuringTheGamesStartAsksItToQuitOnceItsWindowAppears) {
  class TStartingWindow : public TFakeWindow {
   public:
    bool HasGameWindow() const override { return appeared.load(); }
    void PostQuit() override { quits.fetch_add(1); }
    std::atomic<bool> appeared{false};
    std::atomic<int> quits{0};
  } window;
  std::thread launch;
  {
    TLauncherControl control(
        [](const std::string&) {},
        [&](TLauncherControl* c) {
          c->SetStarted(true);
          launch = std::thread([c, &window] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            window.appeared = true;  // the game's window comes up
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (window.quits.load() == 0 && std::chrono::steady_clock::now() < end)
              std::this_thread::sleep_for(std::chrono::milliseconds(1));
            c->SetFinished();
          });
        });
    control.WindowCreated(&window);
    const auto start = std::chrono::steady_clock::now();
    control.Release();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  }
  launch.join();
  EXPECT_EQ(window.quits.load(), 1);
}

TEST(LauncherControl, ReleaseWithoutAWindowDoesNotWait) {
  TControlFixture f;
  const auto start = std::chrono::steady_clock::now();
  f.control.Release();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(f.launches, 0);
}

TEST(LauncherControl, ReleaseAsksTheGameToQuitAndWaitsForTheLaunchToFinish) {
  TFakeWindow window;
  std::thread launch;
  std::atomic<bool> quitSeen{false};
  {
    TLauncherControl control([](const std::string&) {},
                             [&](TLauncherControl* c) {
                               c->SetStarted(true);
                               // The game runs until it is asked to quit; the folder goes;
                               // then the launch reports the end.
                               launch = std::thread([c, &window, &quitSeen] {
                                 while (window.quits == 0)
                                   std::this_thread::sleep_for(std::chrono::milliseconds(1));
                                 std::this_thread::sleep_for(std::chrono::milliseconds(50));
                                 quitSeen = true;
                                 c->SetFinished();
                               });
                             });
    control.WindowCreated(&window);
    control.Release();
    EXPECT_TRUE(control.Finished());
    EXPECT_TRUE(quitSeen.load());
  }
  launch.join();
  EXPECT_EQ(window.quits, 1);  // once: the destructor does not release again
}

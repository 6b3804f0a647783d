// The program's host link inside the application on the headless backend: texts reach the
// "-wnd=" host window as the page host receives them, commands arrive through the window's
// message queue, and while the page pauses the game the pump runs nothing and application
// time stands still. The game object reports to the page through the same link.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/program_host_link.h"
#include "campaign/game_app.h"
#include "frame/application.h"
#include "frame/command_line.h"
#include "online/host_link.h"
#include "online/host_protocol.h"
#include "platform/headless/headless_platform.h"
#include "tests/campaign/campaign_test_folder.h"
#include "tests/frame/frame_fakes.h"

namespace {

constexpr TWindowHandle kHostWindow = 0x4400001;

class ProgramHostLink : public ::testing::Test {
 protected:
  void Make(bool msn, bool zylom) {
    auto data = std::make_unique<TApplicationData>();
    data->startTime = platform.TickMs();
    data->embedded = true;
    data->msnMode = msn;
    data->zylomMode = zylom;
    platform.AddHostWindow(kHostWindow, 800, 600);
    data->mExternalWindowParent = kHostWindow;
    app = std::make_unique<TApplication>(std::move(data), platform);
    auto manager = std::make_unique<TRecordingWindowManager>();
    windowManager = manager.get();
    app->SetWindowManager(std::move(manager));
    app->SetRenderer(std::make_unique<TRecordingRenderer>());
    app->SetHostLink(CreateProgramHostLink(*app));
    link = GetHostLink(*app);
    ASSERT_TRUE(app->CreatePlatformWindow());
  }

  // The texts the host window received so far, joined as a page host joins them.
  std::vector<std::string> HostTexts() const {
    THostTextAssembler assembler;
    std::vector<std::string> texts;
    for (const THeadlessPlatform::TPosted& post : platform.Posted()) {
      std::string text;
      if (post.target == kHostWindow && post.offset == 0 &&
          assembler.Add(static_cast<uint64_t>(post.wparam), static_cast<uint64_t>(post.lparam),
                        &text)) {
        texts.push_back(text);
      }
    }
    return texts;
  }

  void Command(long code) {
    TPlatformMessage message;
    message.type = kMsgUser;
    message.wparam = code;
    platform.InjectMessage(message);
  }

  TEvent Next() {
    TEvent event;
    app->GetEvent(event);
    return event;
  }

  THeadlessPlatform platform;
  std::unique_ptr<TApplication> app;
  TRecordingWindowManager* windowManager = nullptr;
  THostLink* link = nullptr;
};

}  // namespace

TEST_F(ProgramHostLink, TheFirstEventAnnouncesTheSessionAndWaitsForThePage) {
  Make(true, false);
  ASSERT_NE(link, nullptr);
  EXPECT_TRUE(link->IsMsnMode());
  // The page's answer is already queued: the pump dispatches it inside the pause.
  Command(kHostSessionStart);
  Next();
  const std::vector<std::string> texts = HostTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "SessionReady(\"<data></data>\")");
  EXPECT_FALSE(link->IsHostPaused());
  Next();
  EXPECT_EQ(HostTexts().size(), 1u);  // only once
}

TEST_F(ProgramHostLink, ApplicationTimeStandsStillWhileThePagePausesTheGame) {
  Make(false, true);  // Zylom: no pause of its own after texts
  Next();
  Command(kHostPauseOn);
  Next();
  ASSERT_TRUE(link->IsHostPaused());
  const uint32_t appBefore = app->GetTime();
  const uint32_t driverBefore = app->DriverTime();
  // The input script runs on during the pause and ends it.
  app->SetInputScript(
      TInputScript::Parse(std::to_string(driverBefore + 400) + " host 5\n", nullptr));
  const size_t eventsBefore = windowManager->events.size();
  Next();
  EXPECT_FALSE(link->IsHostPaused());
  EXPECT_GE(app->DriverTime() - driverBefore, 400u);
  // Generous: what passed outside the pause, never the 400 ms inside it.
  EXPECT_LT(app->GetTime() - appBefore, 300u);
  EXPECT_GE(link->PausedTotal(), 400u);
  // Nothing reached the windows while paused.
  EXPECT_EQ(windowManager->events.size(), eventsBefore);
}

TEST_F(ProgramHostLink, AQuitMessageEndsThePause) {
  Make(true, false);
  platform.PostQuit();
  EXPECT_EQ(Next().kind, kEventQuit);
  EXPECT_TRUE(link->IsHostPaused());
}

TEST_F(ProgramHostLink, MenuAndRestartRequestsRunTheGamesOperations) {
  Make(true, false);
  Command(kHostSessionStart);
  Command(kHostGameStart);
  Command(kHostGameStart);  // during a game: a new one
  Command(kHostGameMenu);
  for (int i = 0; i < 5; ++i) Next();
  std::vector<std::string> calls;
  ServeHostRequests(
      *app, [&] { calls.push_back("menu"); }, [&] { calls.push_back("reset"); });
  EXPECT_EQ(calls, (std::vector<std::string>{"menu", "menu", "reset"}));
  calls.clear();
  ServeHostRequests(
      *app, [&] { calls.push_back("menu"); }, [&] { calls.push_back("reset"); });
  EXPECT_TRUE(calls.empty());
}

TEST_F(ProgramHostLink, WithoutAModeTheHostWindowHearsNothing) {
  Make(false, false);
  Command(kHostPauseOn);
  Next();
  Next();
  EXPECT_FALSE(link->IsHostPaused());
  EXPECT_TRUE(platform.Posted().empty());
}

TEST_F(ProgramHostLink, AHostWindowThatGoesAwayDuringThePauseEndsTheGame) {
  Make(true, false);
  platform.RemoveHostWindow(kHostWindow);
  EXPECT_EQ(Next().kind, kEventQuit);  // within a quarter of a second, not never
}

// The game object over the link, as the program plugs it in, with a player of its own in a
// fresh folder.
class ProgramHostLinkGame : public ProgramHostLink {
 protected:
  void SetUp() override {
    folder = StartCampaignTestFolder("mc_host_link_game_", "host_link_app_test");
    Make(true, false);
    game = std::make_unique<TGameApp>(*app, nullptr, nullptr);
    reports = CreateGameHostReports(*link);
    game->SetHostReports(reports.get());
    game->CreateNewUser("Ada");
    game->SetLaunchOptions(ParseGameOptions("game.exe -msn"));
  }
  void TearDown() override {
    game.reset();
    app.reset();
    ResetSettings();
    ResetFileSystem();
    std::filesystem::remove_all(folder);
  }

  // The menu and restart requests the game loop would serve now.
  std::vector<std::string> Requests() {
    std::vector<std::string> calls;
    ServeHostRequests(
        *app, [&] { calls.push_back("menu"); }, [&] { calls.push_back("reset"); });
    return calls;
  }

  std::filesystem::path folder;
  std::unique_ptr<THostReports> reports;
  std::unique_ptr<TGameApp> game;
};

TEST_F(ProgramHostLinkGame, AWonLevelSendsItsScoreThenTheBreakAndAnnouncesNoNewGame) {
  Command(kHostSessionStart);
  Next();
  // The player picks the campaign from the menu: the page hears of the game and starts it.
  game->SetCurrentGameMode(kGameModeCampaign);
  EXPECT_TRUE(link->IsHostPaused());
  Command(kHostGameStart);
  Next();
  EXPECT_FALSE(link->IsHostPaused());
  EXPECT_TRUE(Requests().empty()) << "a start after the menu begins the game, no restart";

  // The level is won: its end-of-level screen records the score and reports the break.
  game->State().Progress().bankroll = 1500;
  EXPECT_EQ(game->AddFinishedLevelScore(), 1500);
  game->ReportLevelBreak();
  const std::vector<std::string> texts = HostTexts();
  ASSERT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0], "SessionReady(\"<data></data>\")");
  EXPECT_EQ(texts[1], "GameReady(\"<data><mode>mahjongcuriomar_web</mode></data>\")");
  EXPECT_EQ(texts[2].rfind("ScoreSubmit(\"<game><score>1500</score><time>", 0), 0u) << texts[2];
  EXPECT_EQ(texts[3].rfind("ScoreBroadcast(\"<game><score>1500</score><time>", 0), 0u) << texts[3];
  EXPECT_EQ(texts[4], "GameBreak(\"<data><breakpoint>1</breakpoint></data>\")");
  EXPECT_EQ(game->GameMode(), kGameModeCampaign);

  // The page lets the game go on after the break: no restart, no trip to the menu.
  EXPECT_TRUE(link->IsHostPaused());
  Command(kHostGameContinue);
  Next();
  EXPECT_FALSE(link->IsHostPaused());
  EXPECT_TRUE(Requests().empty());

  // The next level's end: the break counts on, and the page still has the one game.
  game->ReportLevelBreak();
  ASSERT_EQ(HostTexts().size(), 6u);
  EXPECT_EQ(HostTexts()[5], "GameBreak(\"<data><breakpoint>2</breakpoint></data>\")");
}

TEST_F(ProgramHostLinkGame, AfterThePagesMenuTheNextGameIsAnnouncedAndStartedWithoutARestart) {
  Command(kHostSessionStart);
  Command(kHostGameStart);  // the page's first start, at the menu
  Next();
  game->SetCurrentGameMode(kGameModeSpeed);
  Command(kHostGameStart);  // the answer to GameReady during a game: a new game
  Next();
  EXPECT_EQ(Requests(), (std::vector<std::string>{"menu", "reset"}));
  Command(kHostGameMenu);
  Next();
  EXPECT_EQ(Requests(), (std::vector<std::string>{"menu"}));

  // From the menu the player picks a game: GameReady, and the page's start begins it.
  const size_t before = HostTexts().size();
  game->SetCurrentGameMode(kGameModeCampaign);
  ASSERT_EQ(HostTexts().size(), before + 1);
  EXPECT_EQ(HostTexts().back(), "GameReady(\"<data><mode>mahjongcuriomar_web</mode></data>\")");
  ASSERT_TRUE(link->IsHostPaused());
  Command(kHostGameStart);
  Next();
  EXPECT_FALSE(link->IsHostPaused());
  EXPECT_TRUE(Requests().empty());
  // Broadcasting is on again: the score of the level that follows reaches the page.
  game->State().Progress().bankroll = 40;
  game->AddFinishedLevelScore();
  EXPECT_EQ(HostTexts().back().rfind("ScoreBroadcast(\"<game><score>40</score>", 0), 0u)
      << HostTexts().back();
}

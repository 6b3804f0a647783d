// The program's host link inside the application on the headless backend: texts reach the
// "-wnd=" host window as the page host receives them, commands arrive through the window's
// message queue, and while the page pauses the game the pump runs nothing and application
// time stands still.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program_host_link.h"
#include "frame/application.h"
#include "online/host_link.h"
#include "online/host_protocol.h"
#include "platform/headless/headless_platform.h"
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

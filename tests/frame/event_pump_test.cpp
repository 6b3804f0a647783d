// The event pump on the headless backend: the message table, the click guard, the
// full-screen toggle, focus and activity flags, close and quit.
#include <gtest/gtest.h>

#include <memory>

#include "frame/application.h"
#include "frame/clock.h"
#include "frame/input_script.h"
#include "frame/task.h"
#include "frame/virtual_keys.h"
#include "platform/headless/headless_platform.h"
#include "tests/frame/frame_fakes.h"

namespace {

class EventPump : public ::testing::Test {
 protected:
  void SetUp() override { Make(false, false); }

  void Make(bool embedded, bool container) {
    app.reset();
    auto data = std::make_unique<TApplicationData>();
    data->startTime = platform.TickMs();
    data->embedded = embedded;
    data->containerMode = container;
    if (embedded) {
      platform.AddHostWindow(0x77, 640, 480);
      data->mExternalWindowParent = 0x77;
    }
    app = std::make_unique<TApplication>(std::move(data), platform);
    auto manager = std::make_unique<TRecordingWindowManager>();
    windowManager = manager.get();
    app->SetWindowManager(std::move(manager));
    auto render = std::make_unique<TRecordingRenderer>();
    renderer = render.get();
    app->SetRenderer(std::move(render));
    ASSERT_TRUE(app->CreatePlatformWindow());
    app->SetDisplay(800, 600, false);
    Drain();
  }

  // Takes every pending event until the pump is idle.
  std::vector<TEvent> Drain() {
    std::vector<TEvent> events;
    TEvent event;
    for (int i = 0; i < 100; ++i) {
      app->GetEvent(event);
      if (event.kind == kEventIdle) break;
      events.push_back(event);
    }
    return events;
  }

  TEvent Send(TPlatformMessage message) {
    platform.InjectMessage(message);
    TEvent event;
    app->GetEvent(event);
    return event;
  }

  TEvent Key(int type, int key, int keyState = 0, bool alt = false) {
    TPlatformMessage m;
    m.type = type;
    m.key = key;
    m.keyState = keyState;
    m.alt = alt;
    return Send(m);
  }

  TEvent Button(int type, int button, int x = 10, int y = 20, int keyState = 0) {
    TPlatformMessage m;
    m.type = type;
    m.button = button;
    m.x = x;
    m.y = y;
    m.keyState = keyState;
    return Send(m);
  }

  void AdvanceMs(int ms) { app->Data().timeOffset += ms; }

  THeadlessPlatform platform;
  std::unique_ptr<TApplication> app;
  TRecordingWindowManager* windowManager = nullptr;
  TRecordingRenderer* renderer = nullptr;
};

}  // namespace

TEST_F(EventPump, InsertPassesOnlyWithShiftAlone) {
  EXPECT_EQ(Key(kMsgKeyDown, VK_INSERT).kind, kEventNone);
  EXPECT_EQ(Key(kMsgKeyDown, VK_INSERT, kModCtrl).kind, kEventNone);
  EXPECT_EQ(Key(kMsgKeyDown, VK_INSERT, kModCtrl | kModShift).kind, kEventNone);
  TPlatformMessage m;
  m.type = kMsgKeyDown;
  m.key = VK_INSERT;
  m.keyState = kModShift;
  m.extended = true;
  const TEvent event = Send(m);
  EXPECT_EQ(event.kind, kEventKeyDown);
  EXPECT_EQ(event.param, VK_INSERT);
  EXPECT_EQ(event.modifiers, kModShift | kModExtended);
}

TEST_F(EventPump, KeysAndCharacters) {
  TEvent event = Key(kMsgKeyDown, VK_A, kModCtrl);
  EXPECT_EQ(event.kind, kEventKeyDown);
  EXPECT_EQ(event.modifiers, kModCtrl);
  event = Key(kMsgSysKeyDown, VK_A, kModShift, true);
  EXPECT_EQ(event.kind, kEventKeyDown);
  EXPECT_EQ(event.modifiers, kModAlt | kModShift);
  event = Key(kMsgSysKeyDown, VK_F1 + 9);  // F10 arrives without Alt: a plain key
  EXPECT_EQ(event.kind, kEventKeyDown);
  EXPECT_EQ(event.modifiers, 0);
  event = Key(kMsgKeyUp, VK_A, kModShift);
  EXPECT_EQ(event.kind, kEventKeyUp);
  EXPECT_EQ(event.modifiers, 0);
  event = Key(kMsgChar, 0xe9);
  EXPECT_EQ(event.kind, kEventChar);
  EXPECT_EQ(event.param, 0xe9);
}

TEST_F(EventPump, ClickGuardDropsClicksForFourHundredMilliseconds) {
  Send({.type = kMsgMouseActivate});
  EXPECT_EQ(Button(kMsgButtonDown, kButtonLeft).kind, kEventNone);
  // The platform's clock runs in real time under the offset, so stop well short of the end:
  // at 399 ms a loaded machine let the clicks through.
  AdvanceMs(350);
  EXPECT_EQ(Button(kMsgButtonDown, kButtonRight).kind, kEventNone);
  TPlatformMessage wheel{.type = kMsgWheel, .wheel = 1};
  EXPECT_EQ(Send(wheel).kind, kEventNone);
  // The release inside the window is dropped too, and clears the guard.
  EXPECT_EQ(Button(kMsgButtonUp, kButtonLeft).kind, kEventNone);
  EXPECT_EQ(Button(kMsgButtonDown, kButtonLeft).kind, kEventLeftDown);
}

TEST_F(EventPump, ClickGuardEndsAfterItsTime) {
  Send({.type = kMsgMouseActivate});
  AdvanceMs(400);
  const TEvent down = Button(kMsgButtonDown, kButtonLeft, 5, 6, kModShift | kModCtrl);
  EXPECT_EQ(down.kind, kEventLeftDown);
  EXPECT_EQ(down.x, 5);
  EXPECT_EQ(down.y, 6);
  EXPECT_EQ(down.modifiers, kModShift | kModCtrl);
  EXPECT_TRUE(platform.Captured());
  const TEvent up = Button(kMsgButtonUp, kButtonLeft, 5, 6, kModShift);
  EXPECT_EQ(up.kind, kEventLeftUp);
  EXPECT_EQ(up.modifiers, 0);
  EXPECT_FALSE(platform.Captured());
}

TEST_F(EventPump, ClickGuardIgnoredWhileSuspendedAndMouseBlocking) {
  Send({.type = kMsgMouseActivate});
  windowManager->suspended = true;
  EXPECT_EQ(Button(kMsgButtonDown, kButtonLeft).kind, kEventLeftDown);
  windowManager->suspended = false;
  windowManager->blocksMouse = true;
  EXPECT_EQ(Button(kMsgButtonUp, kButtonLeft).kind, kEventNone);
  windowManager->blocksMouse = false;
  EXPECT_EQ(Button(kMsgButtonUp, kButtonLeft).kind, kEventLeftUp);
}

TEST_F(EventPump, OtherButtonsAndWheel) {
  EXPECT_EQ(Button(kMsgButtonDown, kButtonRight).param, kMouseRightDown);
  EXPECT_EQ(Button(kMsgButtonUp, kButtonRight).param, kMouseRightUp);
  EXPECT_EQ(Button(kMsgButtonDown, kButtonMiddle).param, kMouseMiddleDown);
  EXPECT_EQ(Button(kMsgButtonUp, kButtonMiddle).param, kMouseMiddleUp);
  EXPECT_EQ(Button(kMsgButtonDown, kButtonX1).param, kMouseExtra1Down);
  EXPECT_EQ(Button(kMsgButtonDown, kButtonX2).param, kMouseExtra2Down);
  EXPECT_EQ(Button(kMsgButtonUp, kButtonX2).kind, kEventNone);
  TPlatformMessage wheel{.type = kMsgWheel, .keyState = kModCtrl, .x = 3, .y = 4, .wheel = -1};
  const TEvent event = Send(wheel);
  EXPECT_EQ(event.kind, kEventMouse);
  EXPECT_EQ(event.param, kMouseWheelBackward);
  EXPECT_EQ(event.modifiers, kModCtrl);
  EXPECT_EQ(event.x, 3);
}

TEST_F(EventPump, CloseRequestThenQuit) {
  EXPECT_EQ(Send({.type = kMsgClose}).kind, kEventNone);
  TEvent event;
  app->GetEvent(event);
  EXPECT_EQ(event.kind, kEventClose);
  app->PostQuit();
  app->GetEvent(event);
  EXPECT_EQ(event.kind, kEventQuit);
  app->GetEvent(event);
  EXPECT_EQ(event.kind, kEventIdle);  // the quit is delivered once
}

TEST_F(EventPump, ControlKeysThatTypeFollowTheirKeyDownWithTheCharacter) {
  for (int key : {VK_BACK, VK_TAB, VK_RETURN, VK_ESCAPE}) {
    TEvent event = Key(kMsgKeyDown, key);
    EXPECT_EQ(event.kind, kEventKeyDown);
    const auto after = Drain();
    ASSERT_EQ(after.size(), 1u) << key;
    EXPECT_EQ(after[0].kind, kEventChar);
    EXPECT_EQ(after[0].param, key);
  }
  // Letters come from text input, and Ctrl turns the control keys into shortcuts.
  Key(kMsgKeyDown, 'A');
  EXPECT_TRUE(Drain().empty());
  Key(kMsgKeyDown, VK_RETURN, kModCtrl);
  EXPECT_TRUE(Drain().empty());
}

TEST_F(EventPump, AltEnterTogglesFullScreen) {
  TEvent event = Key(kMsgSysKeyDown, VK_RETURN, 0, true);
  EXPECT_EQ(event.kind, kEventFullscreen);
  EXPECT_EQ(event.param, 1);
  EXPECT_TRUE(platform.IsFullscreenMode());
  EXPECT_FLOAT_EQ(app->GetScale(), 1.8f);  // 1920 × 1080 desktop: the height limits
  const auto afterSwitch = Drain();
  ASSERT_FALSE(afterSwitch.empty());
  EXPECT_EQ(afterSwitch[0].kind, kEventDisplayReset);
  event = Key(kMsgSysKeyDown, VK_RETURN, 0, true);
  EXPECT_EQ(event.param, 0);
  EXPECT_FALSE(platform.IsFullscreenMode());
  EXPECT_FLOAT_EQ(app->GetScale(), 1.0f);
}

TEST_F(EventPump, AltF1TogglesTheOverlayOnly) {
  EXPECT_EQ(Key(kMsgSysKeyDown, VK_F1, 0, true).kind, kEventNone);
  EXPECT_TRUE(renderer->overlay);
}

TEST_F(EventPump, WindowedOnADesktopThatIsNotLargerGoesFullScreen) {
  platform.SetDesktop(800, 600);
  app->SetDisplayMode(800, 600, false, true, false, false);
  EXPECT_TRUE(platform.IsFullscreenMode());
  platform.SetDesktop(801, 601);
  app->SetDisplayMode(800, 600, false, true, false, false);
  EXPECT_FALSE(platform.IsFullscreenMode());
}

TEST_F(EventPump, FailedWindowedModeFallsBackToFullScreen) {
  platform.SetFailModes(true, false);
  EXPECT_TRUE(app->SetDisplayMode(640, 480, false, true, false, false));
  EXPECT_TRUE(platform.IsFullscreenMode());
  ASSERT_EQ(platform.MessageBoxes().size(), 1u);
  platform.SetFailModes(true, true);
  EXPECT_FALSE(app->SetDisplayMode(800, 600, false, true, false, false));
  EXPECT_TRUE(app->Data().displayFatal);
  TEvent event;
  app->GetEvent(event);
  while (event.kind != kEventQuit && event.kind != kEventIdle) app->GetEvent(event);
  EXPECT_EQ(event.kind, kEventQuit);  // the failure posted the quit message
}

TEST_F(EventPump, FocusChangesReachTheLoopAndSound) {
  auto sound = std::make_unique<TRecordingSound>();
  TRecordingSound* soundLink = sound.get();
  app->Data().soundManager = std::move(sound);
  Send({.type = kMsgActivateApp, .wparam = 0});
  EXPECT_FALSE(soundLink->enabled);
  const auto events = Drain();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, kEventFocus);
  EXPECT_EQ(events[0].param, 0);
  EXPECT_EQ(events[1].kind, kEventFocus);
  EXPECT_EQ(events[1].param, 0);
  EXPECT_EQ(renderer->inactive, 1);
  Send({.type = kMsgActivateApp, .wparam = 1});
  EXPECT_TRUE(soundLink->enabled);
  EXPECT_EQ(Drain().size(), 2u);
  // Two changes before the pump looks cancel out for the window's own focus event.
  app->SetActive(false);
  app->SetActive(true);
  EXPECT_TRUE(Drain().empty());
}

TEST_F(EventPump, MinimiseAndRestore) {
  auto sound = std::make_unique<TRecordingSound>();
  TRecordingSound* soundLink = sound.get();
  app->Data().soundManager = std::move(sound);
  Send({.type = kMsgSize, .wparam = 1});
  EXPECT_TRUE(app->Data().minimized);
  EXPECT_FALSE(soundLink->enabled);
  Drain();
  Send({.type = kMsgSize, .wparam = 0});
  EXPECT_FALSE(app->Data().minimized);
  EXPECT_TRUE(soundLink->enabled);
  EXPECT_TRUE(app->Data().appActive);
}

TEST_F(EventPump, PaintAndDisplayRestore) {
  Send({.type = kMsgPaint});
  TEvent event;
  app->GetEvent(event);
  EXPECT_EQ(event.kind, kEventRepaint);
  EXPECT_GT(windowManager->redraws, 0);
  renderer->valid = false;
  app->GetEvent(event);
  EXPECT_EQ(event.kind, kEventNone);
  EXPECT_EQ(renderer->restores, 1);
  // While the display is lost, a posted quit comes first.
  renderer->valid = false;
  app->Data().minimized = true;
  app->PostQuit();
  app->GetEvent(event);
  EXPECT_EQ(event.kind, kEventQuit);
  EXPECT_EQ(renderer->restores, 1);
}

TEST_F(EventPump, HoverAndLeave) {
  TPlatformMessage move{.type = kMsgMouseMove, .x = 30, .y = 40};
  TEvent event = Send(move);
  EXPECT_EQ(event.kind, kEventMove);
  EXPECT_EQ(event.x, 30);
  EXPECT_TRUE(app->Data().hoverTracking);
  event = Send({.type = kMsgMouseHover, .x = 30, .y = 40});
  EXPECT_EQ(event.kind, kEventHover);
  Send({.type = kMsgMouseLeave});
  app->GetEvent(event);
  EXPECT_EQ(event.kind, kEventLeave);
  EXPECT_EQ(event.x, 30);
  EXPECT_EQ(event.y, 40);
  EXPECT_FALSE(app->Data().hoverTracking);
  EXPECT_EQ(Send({.type = kMsgCaptureChanged, .toOwnWindow = true}).kind, kEventNone);
  EXPECT_EQ(Send({.type = kMsgCaptureChanged}).kind, kEventLeave);
}

TEST_F(EventPump, HeadlessHoverComesOncePerRest) {
  platform.SetPointer(1, 1, true);
  Send({.type = kMsgMouseMove, .x = 1, .y = 1});
  platform.SleepMs(TPosixPlatform::kHoverMs + 20);
  std::vector<TEvent> events = Drain();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, kEventHover);
  EXPECT_TRUE(Drain().empty());  // re-armed, but the next one needs another rest
}

TEST_F(EventPump, RelativeMouseReportsMotionAndWarpsBack) {
  app->SetMouseMode(1, {400, 300});
  const int warps = platform.WarpCount();
  TEvent event = Send({.type = kMsgMouseMove, .x = 410, .y = 295});
  EXPECT_EQ(event.kind, kEventMove);
  EXPECT_EQ(event.x, 10);
  EXPECT_EQ(event.y, -5);
  EXPECT_EQ(platform.WarpCount(), warps + 1);
  EXPECT_EQ(Send({.type = kMsgMouseMove, .x = 400, .y = 300}).kind, kEventNone);
}

// An application embedded in the host window 0x77 of the given size, its window created and
// its display set to 800 x 600; null when the window cannot be created.
static std::unique_ptr<TApplication> EmbeddedApp(THeadlessPlatform& platform, int hostWidth,
                                                 int hostHeight, bool container = false) {
  platform.AddHostWindow(0x77, hostWidth, hostHeight);
  auto data = std::make_unique<TApplicationData>();
  data->embedded = true;
  data->containerMode = container;
  data->mExternalWindowParent = 0x77;
  auto app = std::make_unique<TApplication>(std::move(data), platform);
  if (!app->CreatePlatformWindow()) return nullptr;
  app->SetDisplay(800, 600, false);
  return app;
}

TEST(EventPumpEmbedded, AltEnterChangesNothingWithoutContainerMode) {
  THeadlessPlatform platform;
  auto owned = EmbeddedApp(platform, 640, 480);
  ASSERT_NE(owned, nullptr);
  TApplication& app = *owned;
  EXPECT_FLOAT_EQ(app.GetScale(), 0.8f);
  EXPECT_EQ(platform.Parent(), 0x77u);
  platform.InjectMessage({.type = kMsgSysKeyDown, .key = VK_RETURN, .alt = true});
  TEvent event;
  do app.GetEvent(event);
  while (event.kind == kEventDisplayReset);
  EXPECT_EQ(event.kind, kEventNone);
  EXPECT_FALSE(platform.IsFullscreenMode());
  // Right-button messages stay with the game while embedded.
  TEvent translated;
  EXPECT_FALSE(app.TranslateMessage(
      {.type = kMsgButtonDown, .x = 1, .y = 1, .button = kButtonRight}, translated));
  EXPECT_EQ(translated.param, kMouseRightDown);
  // A host that went away ends the game in container mode.
  app.Data().containerMode = true;
  platform.RemoveHostWindow(0x77);
  app.GetEvent(event);
  EXPECT_EQ(event.kind, kEventQuit);
}

// A host wider than the picture's shape shows it at the scale its height allows, and a
// screen that holds the host holds the picture.
TEST(EventPumpEmbedded, AWideHostOnASmallScreenShowsThePictureAtItsFittedScale) {
  THeadlessPlatform platform;
  platform.SetDesktop(1366, 768);
  auto owned = EmbeddedApp(platform, 1280, 720);
  ASSERT_NE(owned, nullptr);
  TApplication& app = *owned;
  EXPECT_FLOAT_EQ(app.GetScale(), 1.2f);
  EXPECT_EQ(platform.Parent(), 0x77u);
  EXPECT_FALSE(platform.IsFullscreenMode());
  EXPECT_TRUE(platform.MessageBoxes().empty());
}

TEST(EventPumpEmbedded, ContainerModeForwardsTheToggleToTheHost) {
  THeadlessPlatform platform;
  auto owned = EmbeddedApp(platform, 800, 600, /*container=*/true);
  ASSERT_NE(owned, nullptr);
  TApplication& app = *owned;
  platform.InjectMessage({.type = kMsgSysKeyDown, .key = VK_RETURN, .alt = true});
  TEvent event;
  do app.GetEvent(event);
  while (event.kind == kEventDisplayReset);
  EXPECT_EQ(event.kind, kEventFullscreen);
  EXPECT_EQ(event.param, 1);
  EXPECT_FALSE(platform.IsFullscreenMode());  // the display itself stays windowed
  ASSERT_FALSE(platform.Posted().empty());
  EXPECT_EQ(platform.Posted().back().target, 0x77u);
  EXPECT_EQ(platform.Posted().back().offset, 0);
  EXPECT_EQ(platform.Posted().back().wparam, 1);
  EXPECT_TRUE(app.IsFullscreen());
}

namespace {
class TCountingTask : public TTask {
 public:
  explicit TCountingTask(int& runs) : mRuns(runs) {}
  bool Ready(int phase) override { return phase == 0; }
  bool DoTask() override { return ++mRuns < 2; }

 private:
  int& mRuns;
};
}  // namespace

TEST_F(EventPump, IdlePassRunsTheApplicationTasks) {
  int runs = 0;
  app->AddTask(new TCountingTask(runs));
  Send({.type = kMsgPaint});  // a message: no update phase
  EXPECT_EQ(runs, 0);
  Drain();
  EXPECT_EQ(runs, 1);
  Drain();
  EXPECT_EQ(runs, 2);  // the task ended and the list deleted it
  Drain();
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(app->GetTaskList().Size(), 0u);
}

TEST_F(EventPump, ClocksFollowApplicationTime) {
  TClock clock;
  clock.Start();
  const int before = clock.GetTime();
  AdvanceMs(5000);
  EXPECT_GE(clock.GetTime() - before, 5000);
}

TEST_F(EventPump, LaterInputStepsWaitForTheMarkedFrame) {
  app->SetFrameOutput(testing::TempDir() + "mc_event_pump_frames", true);
  app->SetInputScript(TInputScript::Parse("10 frame\n20 quit\n", nullptr));
  AdvanceMs(500);  // both steps are due before any frame has been drawn
  for (const TEvent& event : Drain()) EXPECT_NE(event.kind, kEventQuit);
  EXPECT_TRUE(renderer->frames.empty());

  app->OnFrameDrawn();
  ASSERT_EQ(renderer->frames.size(), 1u);
  bool quit = false;
  for (const TEvent& event : Drain()) quit = quit || event.kind == kEventQuit;
  EXPECT_TRUE(quit);
}

TEST_F(EventPump, FrameMarksWithoutFrameOutputHoldNothingBack) {
  app->SetInputScript(TInputScript::Parse("10 frame\n20 quit\n", nullptr));
  AdvanceMs(500);
  bool quit = false;
  for (const TEvent& event : Drain()) quit = quit || event.kind == kEventQuit;
  EXPECT_TRUE(quit);
}

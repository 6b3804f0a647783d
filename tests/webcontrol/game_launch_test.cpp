#include "webcontrol/game_launch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "webcontrol/launcher_control.h"

namespace {

class TFakeWindow : public TControlWindow {
 public:
  bool Exists() const override { return exists; }
  bool HasGameWindow() const override { return false; }
  void PostHostCommand(uint32_t) override {}
  void PostQuit() override {}
  void Invalidate() override { ++invalidations; }
  bool exists = true;
  int invalidations = 0;
};

// "verb what", built by appending (GCC 12 warns wrongly about "literal" + string here).
std::string Step(const char* verb, const std::string& what) {
  std::string step = verb;
  step += ' ';
  step += what;
  return step;
}

// Records the launch's steps in order.
class TFakePlatform : public TLaunchPlatform {
 public:
  std::string HostProgram() override { return "/usr/bin/activex_host"; }
  uint64_t WindowId() override { return 0x2a; }
  std::string MakeFolder() override {
    steps.push_back("folder");
    return folder;
  }
  bool Unpack(const std::string& where) override {
    steps.push_back(Step("unpack", where));
    return unpacks;
  }
  long StartGame(const std::string& where, const std::vector<std::string>& arguments) override {
    std::string step = Step("start", where);
    for (const std::string& argument : arguments) step = Step(step.c_str(), argument);
    steps.push_back(step);
    startedDuringLaunch = control && control->Started();
    return starts ? 77 : -1;
  }
  void WaitForGame(long process) override {
    steps.push_back(Step("wait", std::to_string(process)));
    statusWhileRunning = control ? control->StatusText() : "?";
  }
  bool RemoveFolder(const std::string& where) override {
    steps.push_back(Step("remove", where));
    return true;
  }

  std::string folder = "/run/user/1/tv_game";
  bool unpacks = true;
  bool starts = true;
  TLauncherControl* control = nullptr;
  bool startedDuringLaunch = false;
  std::string statusWhileRunning;
  std::vector<std::string> steps;
};

// A control with its window; the test runs the launch itself, as the launch thread would.
struct TLaunchFixture {
  TLaunchFixture() : control(nullptr, [](TLauncherControl*) {}) {
    platform.control = &control;
    control.WindowCreated(&window);
  }
  ~TLaunchFixture() { control.SetFinished(); }
  TFakeWindow window;
  TFakePlatform platform;
  TLauncherControl control;
};

}  // namespace

TEST(GameLaunch, UnpacksStartsWaitsAndCleansUpInOrder) {
  TLaunchFixture f;
  f.control.Properties().msn.assign(1, u'1');  // MSN page
  RunGameLaunch(&f.control, &f.platform);
  EXPECT_EQ(f.platform.steps, (std::vector<std::string>{"folder", "unpack /run/user/1/tv_game",
                                                        "start /run/user/1/tv_game -wnd=2a -msn",
                                                        "wait 77", "remove /run/user/1/tv_game"}));
  EXPECT_FALSE(f.platform.startedDuringLaunch);
  EXPECT_EQ(f.platform.statusWhileRunning, "");  // empty while the game runs
  EXPECT_TRUE(f.control.Started());
  EXPECT_TRUE(f.control.Finished());
  EXPECT_EQ(f.control.StatusText(), "Sorry, the game cannot run.");
  EXPECT_EQ(f.window.invalidations, 2);  // after the start and at the end
}

TEST(GameLaunch, AGameThatCannotBeUnpackedIsNotStartedAndTheFolderStillGoes) {
  TLaunchFixture f;
  f.platform.unpacks = false;
  RunGameLaunch(&f.control, &f.platform);
  EXPECT_EQ(f.platform.steps, (std::vector<std::string>{"folder", "unpack /run/user/1/tv_game",
                                                        "remove /run/user/1/tv_game"}));
  EXPECT_FALSE(f.control.Started());
  EXPECT_TRUE(f.control.Finished());
}

TEST(GameLaunch, AFailedStartStillRemovesTheFolder) {
  TLaunchFixture f;
  f.platform.starts = false;
  RunGameLaunch(&f.control, &f.platform);
  ASSERT_EQ(f.platform.steps.size(), 4u);
  EXPECT_EQ(f.platform.steps.back(), "remove /run/user/1/tv_game");
  EXPECT_FALSE(f.control.Started());
  EXPECT_TRUE(f.control.Finished());
}

TEST(GameLaunch, WithoutAFolderNothingIsUnpackedOrStarted) {
  TLaunchFixture f;
  f.platform.folder = "";
  RunGameLaunch(&f.control, &f.platform);
  EXPECT_EQ(f.platform.steps, (std::vector<std::string>{"folder"}));
  EXPECT_TRUE(f.control.Finished());
}

TEST(GameLaunch, AWindowThatWentBeforeTheStartStartsNoGame) {
  TLaunchFixture f;
  f.window.exists = false;
  RunGameLaunch(&f.control, &f.platform);
  EXPECT_EQ(f.platform.steps, (std::vector<std::string>{"folder", "unpack /run/user/1/tv_game",
                                                        "remove /run/user/1/tv_game"}));
  EXPECT_EQ(f.window.invalidations, 0);
  EXPECT_TRUE(f.control.Finished());
}

// EngineMain on the headless backend: start-up and shutdown order, the single-instance
// rule, the host window check, settings from the command line.
#include "frame/engine_main.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>

#include "frame/application.h"
#include "platform/headless/headless_platform.h"
#include "tests/frame/frame_fakes.h"

namespace {

std::vector<std::string> gTrace;
std::map<std::string, std::string> gSettings;
TApplication* gSeenApplication = nullptr;

class TTracingSound : public TRecordingSound {
 public:
  ~TTracingSound() override { gTrace.push_back("~sound"); }
};
class TTracingRenderer : public TRecordingRenderer {
 public:
  ~TTracingRenderer() override { gTrace.push_back("~renderer"); }
};
class TTracingWindowManager : public TRecordingWindowManager {
 public:
  ~TTracingWindowManager() override { gTrace.push_back("~window manager"); }
};

TFrameServices TracingServices() {
  TFrameServices services;
  services.trace = [](const char* step) { gTrace.push_back(step); };
  services.createWindowManager = [](TApplication&) -> std::unique_ptr<TWindowManagerLink> {
    gTrace.push_back("+window manager");
    return std::make_unique<TTracingWindowManager>();
  };
  services.createSound = [](TApplication&) -> std::unique_ptr<TSoundLink> {
    gTrace.push_back("+sound");
    return std::make_unique<TTracingSound>();
  };
  services.createRenderer = [](TApplication&) -> std::unique_ptr<TRenderLink> {
    gTrace.push_back("+renderer");
    return std::make_unique<TTracingRenderer>();
  };
  services.storeSetting = [](const std::string& key, const std::string& value) {
    gSettings[key] = value;
  };
  services.createAssetManager = [] { gTrace.push_back("+asset manager"); };
  services.destroyAssetManager = [] { gTrace.push_back("~asset manager"); };
  services.destroyStringTable = [] { gTrace.push_back("~string table"); };
  services.clearSettings = [] { gTrace.push_back("~settings"); };
  return services;
}

// The game: checks what the engine set up, then leaves through close and quit.
int TestGameMain(TApplication& app, const std::string&) {
  gSeenApplication = TApplication::Get();
  gTrace.push_back(app.Platform().HasWindow() ? "game sees window" : "game without window");
  gTrace.push_back(app.Heartbeat().IsRunning() ? "heartbeat running" : "no heartbeat");
  app.Platform().InjectMessage({.type = kMsgClose});
  TEvent event;
  for (int i = 0; i < 1000; ++i) {
    app.GetEvent(event);
    if (event.kind == kEventClose) app.PostQuit();
    if (event.kind == kEventQuit) {
      gTrace.push_back("quit");
      break;
    }
  }
  return 0;
}

class EngineMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gTrace.clear();
    gSettings.clear();
    gSeenApplication = nullptr;
    // Lock files of these runs stay out of the user's runtime folder.
    runtime =
        std::filesystem::temp_directory_path() / ("mc_frame_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(runtime);
    const char* old = getenv("XDG_RUNTIME_DIR");
    oldRuntime = old ? old : "";
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    oldDirectory = std::filesystem::current_path();
  }
  void TearDown() override {
    std::filesystem::current_path(oldDirectory);
    if (oldRuntime.empty()) {
      unsetenv("XDG_RUNTIME_DIR");
    } else {
      setenv("XDG_RUNTIME_DIR", oldRuntime.c_str(), 1);
    }
    std::error_code error;
    std::filesystem::remove_all(runtime, error);
  }

  static int IndexOf(const std::string& step) {
    for (size_t i = 0; i < gTrace.size(); ++i) {
      if (gTrace[i] == step) return static_cast<int>(i);
    }
    return -1;
  }

  std::filesystem::path runtime;
  std::string oldRuntime;
  std::filesystem::path oldDirectory;
};

}  // namespace

TEST_F(EngineMainTest, StartsAndShutsDownInOrder) {
  THeadlessPlatform platform;
  EXPECT_EQ(EngineMain(TCommandLine("--multiple"), platform, TestGameMain, TracingServices()), 0);
  const std::vector<std::string> startup = {"harness",           "application data",
                                            "application",       "create asset manager",
                                            "+asset manager",    "create window manager",
                                            "+window manager",   "create window",
                                            "init sound",        "+sound",
                                            "create renderer",   "+renderer",
                                            "game main",         "game sees window",
                                            "heartbeat running", "quit",
                                            "post quit"};
  const std::vector<std::string> shutdown = {"destroy window manager",
                                             "~window manager",
                                             "clear tasks",
                                             "destroy sound",
                                             "~sound",
                                             "destroy renderer",
                                             "~renderer",
                                             "destroy string table",
                                             "~string table",
                                             "destroy asset manager",
                                             "~asset manager",
                                             "stop heartbeat",
                                             "destroy window",
                                             "clear settings",
                                             "~settings"};
  std::vector<std::string> expected = startup;
  expected.insert(expected.end(), shutdown.begin(), shutdown.end());
  EXPECT_EQ(gTrace, expected);
  EXPECT_NE(gSeenApplication, nullptr);
  EXPECT_EQ(TApplication::Get(), nullptr);
  EXPECT_FALSE(platform.HasWindow());
}

TEST_F(EngineMainTest, StoresStartupSettings) {
  THeadlessPlatform platform;
  EXPECT_EQ(EngineMain(TCommandLine("--multiple options=a=1&b=2 -x --cheat abc"), platform,
                       TestGameMain, TracingServices()),
            0);
  EXPECT_EQ(gSettings["a"], "1");
  EXPECT_EQ(gSettings["b"], "2");
  EXPECT_EQ(gSettings["cheatcode"], "abc");
  EXPECT_FALSE(gSettings["version"].empty());
  EXPECT_FALSE(gSettings["gamename"].empty());
  EXPECT_EQ(gSettings.count("buildtag"), 1u);
  EXPECT_EQ(gSettings.count("installkey"), 1u);
  EXPECT_EQ(gSettings.count("startupdir"), 1u);
  EXPECT_EQ(gSettings.count("activex"), 0u);
}

TEST_F(EngineMainTest, SecondInstanceHandsOverAndExitsWithZero) {
  THeadlessPlatform first;
  const std::string name = InstanceNameFromPath(first.ExecutablePath());
  ASSERT_TRUE(first.AcquireInstanceLock(name + "_MUTEX", name + "_WNDCLASS"));

  THeadlessPlatform second;
  EXPECT_EQ(EngineMain(TCommandLine(""), second, TestGameMain, TracingServices()), 0);
  EXPECT_EQ(IndexOf("game main"), -1);
  EXPECT_NE(IndexOf("second instance"), -1);
  EXPECT_FALSE(second.HasWindow());

  // The first instance hears the poke as a request to come forward.
  TPlatformMessage message;
  ASSERT_TRUE(first.PollMessage(message));
  EXPECT_EQ(message.type, kMsgRaise);

  // "--multiple" and "-wnd=" skip the rule.
  gTrace.clear();
  THeadlessPlatform third;
  EXPECT_EQ(EngineMain(TCommandLine("--multiple"), third, TestGameMain, TracingServices()), 0);
  EXPECT_NE(IndexOf("game main"), -1);
  first.ReleaseInstanceLock();

  // Once the first has gone, a plain start runs.
  gTrace.clear();
  THeadlessPlatform fourth;
  EXPECT_EQ(EngineMain(TCommandLine(""), fourth, TestGameMain, TracingServices()), 0);
  EXPECT_NE(IndexOf("game main"), -1);
}

TEST_F(EngineMainTest, HostWindowMustExist) {
  THeadlessPlatform platform;
  EXPECT_EQ(EngineMain(TCommandLine("-wnd=1234"), platform, TestGameMain, TracingServices()), -1);
  EXPECT_EQ(IndexOf("game main"), -1);
  EXPECT_EQ(gSettings["activex"], "1");
  EXPECT_EQ(EngineMain(TCommandLine("-wnd=zz"), platform, TestGameMain, TracingServices()), -1);

  gTrace.clear();
  THeadlessPlatform hosted;
  hosted.AddHostWindow(0x1234, 400, 300);
  EXPECT_EQ(EngineMain(TCommandLine("-wnd=1234"), hosted, TestGameMain, TracingServices()), 0);
  EXPECT_NE(IndexOf("game main"), -1);
}

TEST_F(EngineMainTest, WorkingDirectoryOption) {
  THeadlessPlatform platform;
  const std::filesystem::path target = runtime / "work dir";
  std::filesystem::create_directories(target);
  TGameMain game = [](TApplication& app, const std::string&) {
    app.PostQuit();
    TEvent event;
    do app.GetEvent(event);
    while (event.kind != kEventQuit);
    return 0;
  };
  EXPECT_EQ(EngineMain(TCommandLine("--multiple -wd=\"" + target.string() + "\" -x"), platform,
                       game, TracingServices()),
            0);
  EXPECT_EQ(std::filesystem::current_path(), target);
}

TEST(InstanceName, PathWithoutSeparatorsLowerCased) {
  EXPECT_EQ(InstanceNameFromPath("/Opt/Game/MahJong"), "optgamemahjong");
  const std::string longA = InstanceNameFromPath("/" + std::string(100, 'a') + "/x");
  const std::string longB = InstanceNameFromPath("/" + std::string(100, 'a') + "/y");
  EXPECT_LE(longA.size(), 64u);
  EXPECT_NE(longA, longB);
}

#include "tests/app/program_run.h"

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "app/data_services.h"
#include "app/game_main.h"
#include "app/renderer_setup.h"
#include "app/window_system.h"
#include "campaign/game_app.h"
#include "frame/application.h"
#include "frame/engine_main.h"
#include "frame/task.h"
#include "platform/backend/render_link.h"
#include "platform/headless/headless_platform.h"
#include "sound/sound_device.h"
#include "sound/sound_manager.h"

namespace fs = std::filesystem;

namespace {

const std::string kProgram = std::string(MC_BIN_DIR) + "/mahjongcuriomar";

// The headless platform, running as the program in the build's bin folder.
class TProgramPlatform : public THeadlessPlatform {
 public:
  std::string ExecutablePath() const override { return kProgram; }
};

// Runs once, at the first idle pass of the event loop (the game object exists by then), then
// ends the run through the normal quit path.
class TOnceTask : public TTask {
 public:
  TOnceTask(TApplication& app, std::function<void(TApplication&, TGameApp&)> body)
      : mApp(app), mBody(std::move(body)) {}
  bool DoTask() override {
    if (TGameApp* game = TGameApp::Get()) mBody(mApp, *game);
    mApp.PostQuit();
    return false;
  }

 private:
  TApplication& mApp;
  std::function<void(TApplication&, TGameApp&)> mBody;
};

// Runs at every update pass while the game object exists; the run goes on.
class TWatchTask : public TTask {
 public:
  TWatchTask(TApplication& app, std::function<void(TApplication&, TGameApp&)> watch)
      : mApp(app), mWatch(std::move(watch)) {}
  bool Ready(int phase) override { return phase == kUpdatePhase; }
  bool DoTask() override {
    if (TGameApp* game = TGameApp::Get()) mWatch(mApp, *game);
    return true;
  }

 private:
  TApplication& mApp;
  std::function<void(TApplication&, TGameApp&)> mWatch;
};

std::function<void(TApplication&, TGameApp&)> gDuringRun;
std::function<void(TApplication&, TGameApp&)> gWatch;
std::string gFrames;

int GameMainWithTask(TApplication& app, const std::string& commandLine) {
  app.AddTask(new TOnceTask(app, gDuringRun));
  return GameMain(app, commandLine);
}

int GameMainWatched(TApplication& app, const std::string& commandLine) {
  // Only marked frames: the watch's input scripts mark them.
  app.SetFrameOutput(gFrames, true);
  app.AddTask(new TWatchTask(app, gWatch));
  return GameMain(app, commandLine);
}

TFrameServices InProcessServices() {
  TFrameServices services;
  AddDataServices(services);
  // The sound system without a device, as the headless program has it.
  services.createSound = [](TApplication&) -> std::unique_ptr<TSoundLink> {
    return std::make_unique<TSoundManager>(nullptr);
  };
  services.createWindowManager = [](TApplication& app) -> std::unique_ptr<TWindowManagerLink> {
    return std::make_unique<TWindowSystem>(app);
  };
  return services;
}

}  // namespace

void TProgramRun::SetUp() {
  std::string pattern = (fs::temp_directory_path() / (mPrefix + "XXXXXX")).string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << pattern;
  folder = pattern;
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  setenv("XDG_DATA_HOME", folder.c_str(), 1);
  userFolder = folder / "Tandervel" / "Mahjong Curio Mar";
  previousDirectory = fs::current_path();
}

void TProgramRun::TearDown() {
  fs::current_path(previousDirectory);
  // MC_KEEP_TEST_FOLDER=1 keeps the run's log and frames to look at.
  if (const char* keep = std::getenv("MC_KEEP_TEST_FOLDER"); keep && *keep == '1') return;
  std::error_code error;
  fs::remove_all(folder, error);
}

int TProgramRun::RunInProcess(std::function<void(TApplication&, TGameApp&)> body,
                              const std::string& commandLine) {
  gDuringRun = std::move(body);
  TProgramPlatform platform;
  const int status = EngineMain(TCommandLine("--multiple --exit-after=20000 " + commandLine),
                                platform, GameMainWithTask, InProcessServices());
  gDuringRun = nullptr;
  return status;
}

int TProgramRun::RunDriven(const std::string& frames, int exitAfterMs,
                           std::function<void(TApplication&, TGameApp&)> watch,
                           const std::string& arguments) {
  gWatch = std::move(watch);
  gFrames = frames;
  TProgramPlatform platform;
  TFrameServices services = InProcessServices();
  // The headless program's offscreen screen, which writes the marked frames.
  services.createRenderer = [](TApplication& app) -> std::unique_ptr<TRenderLink> {
    std::unique_ptr<TRenderLink> link = CreateRenderLink(app.Platform(), 800, 600, false);
    if (link && link->Renderer()) ConnectRenderer(app, *link->Renderer());
    return link;
  };
  const int status =
      EngineMain(TCommandLine("--headless --multiple --exit-after=" + std::to_string(exitAfterMs) +
                              " " + arguments),
                 platform, GameMainWatched, std::move(services));
  gWatch = nullptr;
  return status;
}

int TProgramRun::RunProgram(int ms, const std::string& arguments) {
  const std::string command = kProgram +
                              " --headless --multiple --exit-after=" + std::to_string(ms) + " " +
                              arguments + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1000;
}

std::string TProgramRun::ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

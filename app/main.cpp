// Process entry of the game program.
#include "app/data_services.h"
#include "app/game_main.h"
#include "app/program_host_link.h"
#include "app/renderer_setup.h"
#include "app/window_system.h"
#include "frame/application.h"
#include "frame/engine_main.h"
#include "online/http_request.h"
#include "online/online_platform.h"
#include "platform/backend/platform_factory.h"
#include "platform/backend/render_link.h"
#include "platform/backend/sound_device_factory.h"
#include "platform/online/system_online_platform.h"
#include "sound/sound_manager.h"

namespace {
// How long the program waits at exit for abandoned HTTP requests to let go of the network.
constexpr unsigned kHttpShutdownWaitMs = 2000;
}  // namespace

int main(int argc, char** argv) {
  TCommandLine commandLine = TCommandLine::FromArguments(argc, argv);
  TPlatformOptions options;
  options.headless = commandLine.Has("--headless");
  std::unique_ptr<TPlatform> platform = CreatePlatform(options);

  // "--audio-driver=NAME": SDL's audio driver ("disk" writes the output to a file).
  const std::string audioDriver = commandLine.PathOption("--audio-driver=");

  TFrameServices services;
  AddDataServices(services);
  services.createSound = [headless = options.headless,
                          audioDriver](TApplication&) -> std::unique_ptr<TSoundLink> {
    return std::make_unique<TSoundManager>(CreateSoundDevice(headless, audioDriver));
  };
  services.createWindowManager = [](TApplication& app) -> std::unique_ptr<TWindowManagerLink> {
    return std::make_unique<TWindowSystem>(app);
  };
  services.createRenderer = [](TApplication& app) -> std::unique_ptr<TRenderLink> {
    std::unique_ptr<TRenderLink> link =
        CreateRenderLink(app.Platform(), 800, 600, app.Data().embedded);
    if (link && link->Renderer()) ConnectRenderer(app, *link->Renderer());
    return link;
  };
  services.createHostLink = &CreateProgramHostLink;
  TSystemOnlinePlatform online;
  SetOnlinePlatform(&online);
  const int code = EngineMain(std::move(commandLine), *platform, GameMain, std::move(services));
  SetOnlinePlatform(nullptr);
  WaitForHttpRequests(kHttpShutdownWaitMs);
  return code;
}

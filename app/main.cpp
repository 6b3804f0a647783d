// Process entry of the game program.
#include "app/data_services.h"
#include "app/game_main.h"
#include "app/renderer_setup.h"
#include "app/window_system.h"
#include "frame/application.h"
#include "frame/engine_main.h"
#include "platform/backend/platform_factory.h"
#include "platform/backend/render_link.h"
#include "platform/backend/sound_device_factory.h"
#include "sound/sound_manager.h"

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
  return EngineMain(std::move(commandLine), *platform, GameMain, std::move(services));
}

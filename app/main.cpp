// Process entry of the game program.
#include "app/data_services.h"
#include "app/game_main.h"
#include "app/window_system.h"
#include "frame/engine_main.h"
#include "platform/backend/platform_factory.h"

int main(int argc, char** argv) {
  TCommandLine commandLine = TCommandLine::FromArguments(argc, argv);
  TPlatformOptions options;
  options.headless = commandLine.Has("--headless");
  std::unique_ptr<TPlatform> platform = CreatePlatform(options);

  TFrameServices services;
  AddDataServices(services);
  services.createWindowManager = [](TApplication& app) -> std::unique_ptr<TWindowManagerLink> {
    return std::make_unique<TWindowSystem>(app);
  };
  return EngineMain(std::move(commandLine), *platform, GameMain, std::move(services));
}

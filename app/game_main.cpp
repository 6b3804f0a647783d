#include "app/game_main.h"

#include <memory>

#include "app/program_host_link.h"
#include "app/record_game_player.h"
#include "app/window_system.h"
#include "campaign/game_app.h"
#include "frame/application.h"
#include "frame/command_line.h"
#include "frame/log.h"
#include "game/window/game_player.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

namespace {

std::unique_ptr<TGameApp> CreateGameApp(TApplication& app) {
  TWindowSystem* windows = GetWindowSystem(app);
  TWindowScript* script = windows ? windows->Script() : nullptr;
  return std::make_unique<TGameApp>(app, script ? script->GetState() : nullptr,
                                    windows ? &windows->Manager() : nullptr);
}

}  // namespace

int GameMain(TApplication& app, const std::string& commandLine) {
  const std::string title = app.LookupString("application_title");
  app.SetTitle(title.empty() || title == "application_title" ? app.Data().productName : title);

  // The player's record and options: the stored display mode, the game's cursor, a player
  // (the default one on a first start) and that player's sound levels.
  std::unique_ptr<THostReports> hostReports;  // outlives the game object
  std::unique_ptr<TGameApp> game = CreateGameApp(app);
  if (THostLink* link = GetHostLink(app)) {
    hostReports = CreateGameHostReports(*link);
    game->SetHostReports(hostReports.get());
  }
  game->ApplyDisplaySettings();
  game->UseNormalCursor();
  game->EnsurePlayer();
  // The play screen reads and records the current player's progress through the record.
  TRecordGamePlayer player(*game);
  SetCurrentGamePlayer(&player);

  const TGameOptions options = ParseGameOptions(commandLine);
  if (!options.url.empty()) Log("Game address: %s", options.url.c_str());
  if (options.hasAnon) Log("Anonymous play value: %d", options.anon);
  if (options.msn) Log("MSN flag set");
  if (options.aol) Log("AOL flag set");
  game->SetLaunchOptions(options);

  // The dialog scripts take over: the splash, then the screens.
  if (TWindowSystem* windows = GetWindowSystem(app)) {
    if (!windows->Manager().RunScriptFile("scripts/mainloop.lua"))
      Log("Could not start scripts/mainloop.lua");
  }

  // The page's menu and restart requests, while the game runs for an MSN page.
  const auto quitToMainMenu = [&game] { game->QuitToMainMenu(); };
  const auto resetProgress = [&game] { game->State().Reset(); };

  TEvent event;
  for (;;) {
    if (game->IsMSNGame()) ServeHostRequests(app, quitToMainMenu, resetProgress);
    app.GetEvent(event);
    if (event.kind == kEventQuit) break;
    if (event.kind == kEventFocus) {
      if (TWindowManagerLink* windowManager = app.GetWindowManager()) {
        windowManager->SetTopModalClockRunning(event.param == 1);
      }
      continue;
    }
    if (event.kind == kEventClose) app.PostQuit();
    if (event.kind == kEventFullscreen) game->StoreFullScreenState();
    if (TWindowManagerLink* windowManager = app.GetWindowManager()) {
      windowManager->HandleEvent(event);
    }
  }
  Log("Game loop ended");
  // The record goes before the windows: its script functions leave the window script.
  SetCurrentGamePlayer(nullptr);
  game.reset();
  return 0;
}

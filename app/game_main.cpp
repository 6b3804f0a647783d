#include "app/game_main.h"

#include "app/program_host_link.h"
#include "app/window_system.h"
#include "ui/modal_window.h"
#include "ui/window_manager.h"

#include "frame/application.h"
#include "frame/command_line.h"
#include "frame/log.h"

int GameMain(TApplication& app, const std::string& commandLine) {
  const std::string title = app.LookupString("application_title");
  app.SetTitle(title.empty() || title == "application_title" ? app.Data().productName : title);

  // The stored display choice; the player record takes this over once it exists.
  app.SetDisplay(800, 600, app.ReadSetting("fullscreen") == "1");

  const TGameOptions options = ParseGameOptions(commandLine);
  if (!options.url.empty()) Log("Game address: %s", options.url.c_str());
  if (options.hasAnon) Log("Anonymous play value: %d", options.anon);
  if (options.msn) Log("MSN flag set");
  if (options.aol) Log("AOL flag set");

  // The dialog scripts take over: the splash, then the screens.
  if (TWindowSystem* windows = GetWindowSystem(app)) {
    if (!windows->Manager().RunScriptFile("scripts/mainloop.lua"))
      Log("Could not start scripts/mainloop.lua");
  }

  // Pops the modal windows down to the screen; the main-loop script then opens the menu.
  const auto quitToMainMenu = [&app] {
    TWindowSystem* windows = GetWindowSystem(app);
    if (!windows) return;
    while (TModalWindow* top = windows->Manager().TopModal()) {
      if (!top->GetParent() || !windows->Manager().PopModal(top->IdText())) break;
    }
  };
  const auto resetProgress = [] { Log("No progress record to reset"); };

  TEvent event;
  for (;;) {
    if (options.msn) ServeHostRequests(app, quitToMainMenu, resetProgress);
    app.GetEvent(event);
    if (event.kind == kEventQuit) break;
    if (event.kind == kEventFocus) {
      if (TWindowManagerLink* windowManager = app.GetWindowManager()) {
        windowManager->SetTopModalClockRunning(event.param == 1);
      }
      continue;
    }
    if (event.kind == kEventClose) app.PostQuit();
    if (event.kind == kEventFullscreen) app.StoreSetting("fullscreen", event.param ? "1" : "0");
    if (TWindowManagerLink* windowManager = app.GetWindowManager()) {
      windowManager->HandleEvent(event);
    }
  }
  Log("Game loop ended");
  return 0;
}

#include "webcontrol/game_launch.h"

#include "webcontrol/game_command_line.h"
#include "webcontrol/launcher_control.h"
#include "webcontrol/launcher_log.h"

namespace {

// Asks for the status line again while the control's window is still there.
void Redraw(TLauncherControl* control) {
  if (TControlWindow* window = control->Window(); window && window->Exists()) window->Invalidate();
}

}  // namespace

void RunGameLaunch(TLauncherControl* control, TLaunchPlatform* platform) {
  const TGameLaunch launch = BuildGameLaunch(control->Properties(), platform->WindowId(),
                                             platform->HostProgram(), control->Aol());
  const std::string folder = platform->MakeFolder();
  long process = -1;
  if (folder.empty()) {
    LauncherLog("no folder for the game can be made");
  } else if (!platform->Unpack(folder)) {
    LauncherLog("the game cannot be unpacked into %s", folder.c_str());
  } else if (TControlWindow* window = control->Window(); window && window->Exists()) {
    process = platform->StartGame(folder, launch.arguments);
    if (process < 0) LauncherLog("the game cannot be started: %s", launch.text.c_str());
  }
  control->SetStarted(process >= 0);
  Redraw(control);
  if (process >= 0) platform->WaitForGame(process);
  if (!folder.empty() && !platform->RemoveFolder(folder))
    LauncherLog("the folder %s could not be removed", folder.c_str());
  Redraw(control);
  control->SetFinished();
}

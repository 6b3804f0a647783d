// The engine's start-up and shutdown around the game's entry function.
#pragma once

#include <string>

#include "frame/command_line.h"
#include "frame/frame_links.h"
#include "frame/platform.h"

class TApplication;

// The game's entry: runs the event loop until the quit event and returns.
using TGameMain = int (*)(TApplication& app, const std::string& commandLine);

// Starts the engine on the given platform, runs gameMain and tears everything down in the
// fixed shutdown order. Returns the process exit code: 0 after a normal run and for a second
// instance that handed over to the first, -1 when the host window given by "-wnd=" is not a
// window or the program window cannot be created.
int EngineMain(TCommandLine commandLine, TPlatform& platform, TGameMain gameMain,
               TFrameServices services = {});

// The instance name: the executable path, lower-cased, without "/" and ":"; long paths are
// shortened with a hash so the name fits a file name and a socket address.
std::string InstanceNameFromPath(const std::string& path);

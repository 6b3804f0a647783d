// The game's entry function: window title, display, game options, then the event loop.
#pragma once

#include <string>

class TApplication;

int GameMain(TApplication& app, const std::string& commandLine);

// Connects a newly made renderer to the rest of the program.
#pragma once

class TApplication;
class TRenderer;

// Reads the stored display settings, registers the built-in cursor picture, follows the
// "vsync" setting (now and whenever it is stored again) and lets the window manager hold
// back presenting while it is suspended.
void ConnectRenderer(TApplication& app, TRenderer& renderer);

// The script function the window manager offers to the window script: "SetTopModalOnly".
#pragma once

struct lua_State;
class TWindowManager;

void RegisterWindowManagerFunctions(lua_State* L, TWindowManager* manager);

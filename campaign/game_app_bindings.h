// The script functions of the game's application object: players, options, display and
// sound toggles, game mode, web flags. Each forwards to the TGameApp it was bound with.
#pragma once

#include <span>

struct lua_State;
class TGameApp;

void BindGameAppFunctions(lua_State* L, TGameApp* app);
// Removes them again (the object goes before the script state).
void UnbindGameAppFunctions(lua_State* L);
// Their names, in the order they are bound.
std::span<const char* const> GameAppFunctionNames();

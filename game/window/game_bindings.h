// The script functions of the game window: one table of names and members, bound into the
// dialog script's state when a game window is made and set to nil when it goes (only when
// that window still owns them: the most recently made game window wins).
#pragma once

#include <span>

class TGame;

void BindGameFunctions(TGame* game);
void UnbindGameFunctions(TGame* game);
std::span<const char* const> GameFunctionNames();

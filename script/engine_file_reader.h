// Plugs the engine's file system into an interpreter state: loadfile, dofile and the chunk
// compiler then read virtual names (package members, "user:" files, ...) found along a
// script search path.
#pragma once

#include <string>

struct lua_State;

// searchPath is not copied and must outlive the state; null means the engine's current
// ScriptSearchPath().
void InstallEngineFileReader(lua_State* L, const std::string* searchPath = nullptr);

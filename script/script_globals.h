// The globals every script state gets: "_ALERT", "DebugOut" and "DumpTable" (with its
// helpers "_Internal_DumpEntry" and "_Internal_DumpTable").
#pragma once

struct lua_State;

void DefineScriptGlobals(lua_State* L);

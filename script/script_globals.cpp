#include "script/script_globals.h"

#include <cstring>

#include "frame/log.h"
#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"

namespace {

// The error sink. It answers its argument so that, as an error handler, it leaves the
// message in place for the caller.
int Alert(lua_State* L) {
  if (lua_gettop(L) == 0) lua_pushnil(L);
  const char* text =
      lua_type(L, 1) == LUA_TSTRING || lua_type(L, 1) == LUA_TNUMBER ? lua_tostring(L, 1) : nullptr;
  if (text)
    Log("Lua error: %s", text);
  else
    Log("Lua error: (%s value)", lua_typename(L, lua_type(L, 1)));
  lua_settop(L, 1);
  return 1;
}

int DebugOut(lua_State*) {
  return 0;
}

// Nested tables are listed with two more spaces per level; below level 10 the listing
// stops with "...", which also ends tables that contain themselves.
const char kDumpTableText[] =
    "function _Internal_DumpEntry( key, value, indent )\n"
    "  local pad = string.rep( '  ', indent )\n"
    "  if type( value ) == 'table' then\n"
    "    return pad .. tostring( key ) .. ' = {\\n' ..\n"
    "           _Internal_DumpTable( value, indent + 1 ) .. pad .. '}\\n'\n"
    "  end\n"
    "  return pad .. tostring( key ) .. ' = ' .. tostring( value ) .. '\\n'\n"
    "end\n"
    "function _Internal_DumpTable( t, indent )\n"
    "  if indent > 10 then return string.rep( '  ', indent ) .. '...\\n' end\n"
    "  local text = ''\n"
    "  for key, value in pairs( t ) do\n"
    "    text = text .. _Internal_DumpEntry( key, value, indent )\n"
    "  end\n"
    "  return text\n"
    "end\n"
    "function DumpTable( t )\n"
    "  if type( t ) ~= 'table' then DebugOut( 'Dump Table: \\n' .. tostring( t ) .. '\\n' ) "
    "return end\n"
    "  DebugOut( 'Dump Table: \\n' .. _Internal_DumpTable( t, 1 ) )\n"
    "end\n";

}  // namespace

void DefineScriptGlobals(lua_State* L) {
  lua_pushcfunction(L, Alert);
  lua_setglobal(L, "_ALERT");
  lua_pushcfunction(L, DebugOut);
  lua_setglobal(L, "DebugOut");
  const int top = lua_gettop(L);
  if (luaL_loadbuffer(L, kDumpTableText, std::strlen(kDumpTableText), "=DumpTable") != 0 ||
      lua_pcall(L, 0, 0, 0) != 0) {
    Log("DumpTable could not be defined: %s", lua_tostring(L, -1) ? lua_tostring(L, -1) : "");
  }
  lua_settop(L, top);
}

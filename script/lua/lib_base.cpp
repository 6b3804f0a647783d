// Base library: printing, conversions, metatables, errors and protected calls,
// loading, the collector interface and the coroutine table.
#include <cstdio>
#include <cstring>
#include <string>

#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"
#include "script/lua/lua_vm.h"

static int Print(lua_State* L) {
  int n = lua_gettop(L);
  std::string out;
  for (int i = 1; i <= n; i++) {
    lua_getglobal(L, lua_type(L, i) == LUA_TWSTRING ? "towstring" : "tostring");
    lua_pushvalue(L, i);
    lua_call(L, 1, 1);
    if (i > 1) out.push_back('\t');
    if (lua_type(L, -1) == LUA_TWSTRING) {
      size_t len = lua_strlen(L, -1);
      const char16_t* w = lua_towstring(L, -1);
      for (size_t k = 0; k < len; k++) {
        char16_t c = w[k];
        if (c < 0x80) {
          out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
          out.push_back(static_cast<char>(0xc0 | (c >> 6)));
          out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        } else {
          out.push_back(static_cast<char>(0xe0 | (c >> 12)));
          out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
          out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        }
      }
    } else {
      const char* s = lua_tostring(L, -1);
      if (s == nullptr) luaL_error(L, "`tostring' must return a string to `print'");
      out.append(s, lua_strlen(L, -1));
    }
    lua_pop(L, 1);
  }
  out.push_back('\n');
  fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

static int ToNumber(lua_State* L) {
  int base = luaL_optint(L, 2, 10);
  if (base == 10) {
    luaL_checkany(L, 1);
    if (lua_isnumber(L, 1)) {
      lua_pushnumber(L, lua_tonumber(L, 1));
      return 1;
    }
  } else {
    const char* s1 = luaL_checkstring(L, 1);
    luaL_argcheck(L, 2 <= base && base <= 36, 2, "base out of range");
    char* s2;
    unsigned long n = strtoul(s1, &s2, base);
    if (s1 != s2) {
      while (*s2 == ' ' || (*s2 >= '\t' && *s2 <= '\r')) s2++;
      if (*s2 == '\0') {
        lua_pushnumber(L, static_cast<lua_Number>(n));
        return 1;
      }
    }
  }
  lua_pushnil(L);
  return 1;
}

static int Error(lua_State* L) {
  int level = luaL_optint(L, 2, 1);
  lua_settop(L, 1);
  if (lua_isstring(L, 1) && lua_type(L, 1) != LUA_TWSTRING && level > 0) {
    luaL_where(L, level);
    lua_pushvalue(L, 1);
    lua_concat(L, 2);
  }
  return lua_error(L);
}

static int GetMetatable(lua_State* L) {
  luaL_checkany(L, 1);
  if (!lua_getmetatable(L, 1)) {
    lua_pushnil(L);
    return 1;
  }
  luaL_getmetafield(L, 1, "__metatable");
  return 1;
}

static int SetMetatable(lua_State* L) {
  int t = lua_type(L, 2);
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_argcheck(L, t == LUA_TNIL || t == LUA_TTABLE, 2, "nil or table expected");
  if (luaL_getmetafield(L, 1, "__metatable")) luaL_error(L, "cannot change a protected metatable");
  lua_settop(L, 2);
  lua_setmetatable(L, 1);
  return 1;
}

// getfenv(f): the environment of a function; for a level the globals of the thread.
static int GetFenv(lua_State* L) {
  if (lua_isfunction(L, 1)) {
    lua_getfenv(L, 1);
    return 1;
  }
  luaL_argcheck(L, lua_isnoneornil(L, 1) || luaL_checknumber(L, 1) >= 0, 1,
                "level must be non-negative");
  lua_pushvalue(L, LUA_GLOBALSINDEX);
  return 1;
}

static int SetFenv(lua_State* L) {
  luaL_checktype(L, 2, LUA_TTABLE);
  if (!lua_isfunction(L, 1)) luaL_argerror(L, 1, "function expected");
  lua_pushvalue(L, 1);
  lua_pushvalue(L, 2);
  if (lua_setfenv(L, -2) == 0)
    luaL_error(L, "`setfenv' cannot change environment of given function");
  return 1;
}

static int RawEqual(lua_State* L) {
  luaL_checkany(L, 1);
  luaL_checkany(L, 2);
  lua_pushboolean(L, lua_rawequal(L, 1, 2));
  return 1;
}

static int RawGet(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_checkany(L, 2);
  lua_rawget(L, 1);
  return 1;
}

static int RawSet(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_checkany(L, 2);
  luaL_checkany(L, 3);
  lua_rawset(L, 1);
  return 1;
}

static int GcInfo(lua_State* L) {
  lua_pushnumber(L, lua_getgccount(L));
  lua_pushnumber(L, lua_getgcthreshold(L));
  return 2;
}

static int CollectGarbage(lua_State* L) {
  if (lua_isnoneornil(L, 1))
    lua_fullgc(L);
  else
    lua_setgcthreshold(L, luaL_optint(L, 1, 0));
  return 0;
}

static int Type(lua_State* L) {
  luaL_checkany(L, 1);
  lua_pushstring(L, lua_typename(L, lua_type(L, 1)));
  return 1;
}

int luaB_next(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  lua_settop(L, 2);
  if (lua_next(L, 1)) return 2;
  lua_pushnil(L);
  return 1;
}

static int Pairs(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  lua_pushliteral(L, "next");
  lua_rawget(L, LUA_GLOBALSINDEX);
  lua_pushvalue(L, 1);
  lua_pushnil(L);
  return 3;
}

int luaB_ipairsaux(lua_State* L) {
  int i = luaL_clampint(lua_tonumber(L, 2));
  if (i == 2147483647) return 0;
  i++;
  luaL_checktype(L, 1, LUA_TTABLE);
  lua_pushnumber(L, i);
  lua_rawgeti(L, 1, i);
  return lua_isnil(L, -1) ? 0 : 2;
}

static int Ipairs(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  lua_pushvalue(L, lua_upvalueindex(1));
  lua_pushvalue(L, 1);
  lua_pushnumber(L, 0);
  return 3;
}

static int LoadAux(lua_State* L, int status) {
  if (status == 0) return 1;
  lua_pushnil(L);
  lua_insert(L, -2);
  return 2;
}

static int LoadString(lua_State* L) {
  size_t l;
  const char* s = luaL_checklstring(L, 1, &l);
  const char* chunkname = luaL_optstring(L, 2, s);
  return LoadAux(L, luaL_loadbuffer(L, s, l, chunkname));
}

static int LoadFile(lua_State* L) {
  const char* fname = luaL_optstring(L, 1, nullptr);
  return LoadAux(L, luaL_loadfile(L, fname));
}

static int DoFile(lua_State* L) {
  const char* fname = luaL_optstring(L, 1, nullptr);
  int n = lua_gettop(L);
  if (luaL_loadfile(L, fname) != 0) lua_error(L);
  lua_call(L, 0, LUA_MULTRET);
  return lua_gettop(L) - n;
}

static int Assert(lua_State* L) {
  luaL_checkany(L, 1);
  if (!lua_toboolean(L, 1)) luaL_error(L, "%s", luaL_optstring(L, 2, "assertion failed!"));
  lua_settop(L, 1);
  return 1;
}

static int Unpack(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  int n = luaL_getn(L, 1);
  luaL_checkstack(L, n, "table too big to unpack");
  for (int i = 1; i <= n; i++) lua_rawgeti(L, 1, i);
  return n;
}

static int PCall(lua_State* L) {
  luaL_checkany(L, 1);
  int status = lua_pcall(L, lua_gettop(L) - 1, LUA_MULTRET, 0);
  lua_pushboolean(L, status == 0);
  lua_insert(L, 1);
  return lua_gettop(L);
}

static int XPCall(lua_State* L) {
  luaL_checkany(L, 2);
  lua_settop(L, 2);
  lua_insert(L, 1);
  int status = lua_pcall(L, 0, LUA_MULTRET, 1);
  lua_pushboolean(L, status == 0);
  lua_replace(L, 1);
  return lua_gettop(L);
}

static int ToString(lua_State* L) {
  char buff[64];
  luaL_checkany(L, 1);
  if (luaL_callmeta(L, 1, "__tostring")) return 1;
  switch (lua_type(L, 1)) {
    case LUA_TNUMBER:
      lua_pushstring(L, lua_tostring(L, 1));
      return 1;
    case LUA_TSTRING:
      lua_pushvalue(L, 1);
      return 1;
    case LUA_TWSTRING: {
      // Each character narrowed to its low byte.
      size_t len = lua_strlen(L, 1);
      const char16_t* w = lua_towstring(L, 1);
      std::string s(len, '\0');
      for (size_t i = 0; i < len; i++) s[i] = static_cast<char>(w[i]);
      lua_pushlstring(L, s.data(), s.size());
      return 1;
    }
    case LUA_TBOOLEAN:
      lua_pushstring(L, lua_toboolean(L, 1) ? "true" : "false");
      return 1;
    case LUA_TTABLE:
      snprintf(buff, sizeof buff, "table: %p", lua_topointer(L, 1));
      break;
    case LUA_TFUNCTION:
      snprintf(buff, sizeof buff, "function: %p", lua_topointer(L, 1));
      break;
    case LUA_TUSERDATA:
    case LUA_TLIGHTUSERDATA:
      snprintf(buff, sizeof buff, "userdata: %p", lua_touserdata(L, 1));
      break;
    case LUA_TTHREAD:
      snprintf(buff, sizeof buff, "thread: %p", static_cast<void*>(lua_tothread(L, 1)));
      break;
    default:
      lua_pushliteral(L, "nil");
      return 1;
  }
  lua_pushstring(L, buff);
  return 1;
}

static void PushWidened(lua_State* L, const char* s, size_t len) {
  std::u16string w(len, u'\0');
  for (size_t i = 0; i < len; i++) w[i] = static_cast<unsigned char>(s[i]);
  lua_pushwstring(L, w.data(), w.size());
}

static int ToWString(lua_State* L) {
  char buff[128];
  switch (lua_type(L, 1)) {
    case LUA_TWSTRING:
      lua_pushvalue(L, 1);
      return 1;
    case LUA_TNUMBER: {
      int n = snprintf(buff, sizeof buff, "%.14g", lua_tonumber(L, 1));
      PushWidened(L, buff, static_cast<size_t>(n));
      return 1;
    }
    case LUA_TSTRING: {
      size_t len;
      const char* s = lua_tostring(L, 1);
      len = lua_strlen(L, 1);
      PushWidened(L, s, len);
      return 1;
    }
    case LUA_TTABLE:
      snprintf(buff, sizeof buff, "%.40s: %p", "table", lua_topointer(L, 1));
      break;
    case LUA_TFUNCTION:
      snprintf(buff, sizeof buff, "function: %p", lua_topointer(L, 1));
      break;
    case LUA_TUSERDATA:
      snprintf(buff, sizeof buff, "userdata: %p", lua_touserdata(L, 1));
      break;
    case LUA_TTHREAD:
      snprintf(buff, sizeof buff, "thread: %p", static_cast<void*>(lua_tothread(L, 1)));
      break;
    case LUA_TNIL:
      lua_pushliteral(L, "nil");
      return 1;
    default:
      luaL_argerror(L, 1, "value expected");
  }
  PushWidened(L, buff, strlen(buff));
  return 1;
}

static int Require(lua_State* L) {
  const char* name = luaL_checkstring(L, 1);
  lua_settop(L, 1);
  lua_pushliteral(L, "_LOADED");
  lua_rawget(L, LUA_REGISTRYINDEX);
  if (lua_isnil(L, -1)) {
    lua_pop(L, 1);
    lua_newtable(L);
    lua_pushliteral(L, "_LOADED");
    lua_pushvalue(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
  }
  lua_pushvalue(L, 1);
  lua_rawget(L, 2);
  if (lua_toboolean(L, -1)) return 1;
  lua_pop(L, 1);
  lua_getglobal(L, "LUA_PATH");
  std::string path = lua_type(L, -1) == LUA_TSTRING ? lua_tostring(L, -1) : "?;?.lua";
  lua_pop(L, 1);
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(';', start);
    if (end == std::string::npos) end = path.size();
    std::string candidate = path.substr(start, end - start);
    size_t q;
    while ((q = candidate.find('?')) != std::string::npos) candidate.replace(q, 1, name);
    if (!candidate.empty()) {
      int status = luaL_loadfile(L, candidate.c_str());
      if (status == 0) {
        lua_pushvalue(L, 1);
        lua_setglobal(L, "_REQUIREDNAME");
        lua_call(L, 0, 1);
        if (!lua_toboolean(L, -1)) {
          lua_pop(L, 1);
          lua_pushboolean(L, 1);
        }
        lua_pushvalue(L, 1);
        lua_pushvalue(L, -2);
        lua_rawset(L, 2);
        return 1;
      }
      if (status != LUA_ERRFILE) lua_error(L);
      lua_pop(L, 1);
    }
    start = end + 1;
  }
  luaL_error(L, "could not load package `%s' from path `%s'", name, path.c_str());
}

static const luaL_reg base_funcs[] = {{"error", Error},
                                      {"getmetatable", GetMetatable},
                                      {"setmetatable", SetMetatable},
                                      {"getfenv", GetFenv},
                                      {"setfenv", SetFenv},
                                      {"next", luaB_next},
                                      {"print", Print},
                                      {"tonumber", ToNumber},
                                      {"tostring", ToString},
                                      {"towstring", ToWString},
                                      {"type", Type},
                                      {"assert", Assert},
                                      {"unpack", Unpack},
                                      {"rawequal", RawEqual},
                                      {"rawget", RawGet},
                                      {"rawset", RawSet},
                                      {"pcall", PCall},
                                      {"xpcall", XPCall},
                                      {"collectgarbage", CollectGarbage},
                                      {"gcinfo", GcInfo},
                                      {"loadfile", LoadFile},
                                      {"dofile", DoFile},
                                      {"loadstring", LoadString},
                                      {"require", Require},
                                      {"pairs", Pairs},
                                      {nullptr, nullptr}};

// --- coroutines -------------------------------------------------------------

static int AuxResume(lua_State* L, lua_State* co, int narg) {
  if (!lua_checkstack(co, narg)) luaL_error(L, "too many arguments to resume");
  lua_xmove(L, co, narg);
  int status = lua_resume(co, narg);
  if (status == 0 || status == LUA_YIELD_STATUS) {
    int nres = lua_gettop(co);
    if (!lua_checkstack(L, nres + 1)) luaL_error(L, "too many results to resume");
    lua_xmove(co, L, nres);
    return nres;
  }
  lua_xmove(co, L, 1);
  return -1;
}

static int CoResume(lua_State* L) {
  lua_State* co = lua_tothread(L, 1);
  luaL_argcheck(L, co, 1, "coroutine expected");
  int r = AuxResume(L, co, lua_gettop(L) - 1);
  if (r < 0) {
    lua_pushboolean(L, 0);
    lua_insert(L, -2);
    return 2;
  }
  lua_pushboolean(L, 1);
  lua_insert(L, -(r + 1));
  return r + 1;
}

static int AuxWrap(lua_State* L) {
  lua_State* co = lua_tothread(L, lua_upvalueindex(1));
  int r = AuxResume(L, co, lua_gettop(L));
  if (r < 0) {
    if (lua_type(L, -1) == LUA_TSTRING) {
      luaL_where(L, 1);
      lua_insert(L, -2);
      lua_concat(L, 2);
    }
    lua_error(L);
  }
  return r;
}

static int CoCreate(lua_State* L) {
  luaL_argcheck(L, lua_isfunction(L, 1) && !lua_iscfunction(L, 1), 1, "Lua function expected");
  lua_State* NL = lua_newthread(L);
  lua_pushvalue(L, 1);
  lua_xmove(L, NL, 1);
  return 1;
}

static int CoWrap(lua_State* L) {
  CoCreate(L);
  lua_pushcclosure(L, AuxWrap, 1);
  return 1;
}

static int CoYield(lua_State* L) {
  return lua_yield(L, lua_gettop(L));
}

static int CoStatus(lua_State* L) {
  lua_State* co = lua_tothread(L, 1);
  luaL_argcheck(L, co, 1, "coroutine expected");
  if (L == co) {
    lua_pushliteral(L, "running");
  } else if (lua_status(co) == LUA_YIELD_STATUS) {
    lua_pushliteral(L, "suspended");
  } else if (lua_status(co) != 0) {
    lua_pushliteral(L, "dead");
  } else {
    // A coroutine that is resuming another one also counts as suspended.
    lua_Debug ar;
    if (lua_getstack(co, 0, &ar) == 0 && lua_gettop(co) == 0)
      lua_pushliteral(L, "dead");
    else
      lua_pushliteral(L, "suspended");
  }
  return 1;
}

static const luaL_reg co_funcs[] = {{"create", CoCreate}, {"wrap", CoWrap},
                                    {"resume", CoResume}, {"yield", CoYield},
                                    {"status", CoStatus}, {nullptr, nullptr}};

int luaopen_base(lua_State* L) {
  lua_pushliteral(L, "_G");
  lua_pushvalue(L, LUA_GLOBALSINDEX);
  luaL_openlib(L, nullptr, base_funcs, 0);
  lua_pushliteral(L, "_VERSION");
  lua_pushliteral(L, LUA_VERSION);
  lua_rawset(L, -3);
  lua_pushliteral(L, "ipairs");
  lua_pushliteral(L, "ipairs");
  lua_pop(L, 1);
  lua_pushcfunction(L, luaB_ipairsaux);
  lua_pushcclosure(L, Ipairs, 1);
  lua_rawset(L, -3);
  lua_rawset(L, LUA_GLOBALSINDEX);  // _G
  luaL_openlib(L, "coroutine", co_funcs, 0);
  lua_pop(L, 1);
  return 0;
}

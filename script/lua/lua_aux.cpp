// Helpers for libraries and hosts built on the public interface.
#include "script/lua/lua_aux.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

int luaL_findstring(const char* name, const char* const list[]) {
  for (int i = 0; list[i]; i++)
    if (strcmp(list[i], name) == 0) return i;
  return -1;
}

int luaL_argerror(lua_State* L, int narg, const char* extramsg) {
  lua_Debug ar;
  lua_getstack(L, 0, &ar);
  lua_getinfo(L, "n", &ar);
  if (strcmp(ar.namewhat, "method") == 0) {
    narg--;
    if (narg == 0) luaL_error(L, "calling `%s' on bad self (%s)", ar.name, extramsg);
  }
  if (ar.name == nullptr) ar.name = "?";
  luaL_error(L, "bad argument #%d to `%s' (%s)", narg, ar.name, extramsg);
}

int luaL_typerror(lua_State* L, int narg, const char* tname) {
  const char* msg =
      lua_pushfstring(L, "%s expected, got %s", tname, lua_typename(L, lua_type(L, narg)));
  luaL_argerror(L, narg, msg);
}

static void TagError(lua_State* L, int narg, int tag) {
  luaL_typerror(L, narg, lua_typename(L, tag));
}

void luaL_where(lua_State* L, int level) {
  lua_Debug ar;
  if (lua_getstack(L, level, &ar)) {
    lua_getinfo(L, "Sl", &ar);
    if (ar.currentline > 0) {
      lua_pushfstring(L, "%s:%d: ", ar.short_src, ar.currentline);
      return;
    }
  }
  lua_pushliteral(L, "");
}

int luaL_error(lua_State* L, const char* fmt, ...) {
  va_list argp;
  va_start(argp, fmt);
  luaL_where(L, 1);
  lua_pushvfstring(L, fmt, argp);
  va_end(argp);
  lua_concat(L, 2);
  lua_error(L);
  __builtin_unreachable();
}

int luaL_newmetatable(lua_State* L, const char* tname) {
  lua_pushstring(L, tname);
  lua_rawget(L, LUA_REGISTRYINDEX);
  if (!lua_isnil(L, -1)) return 0;
  lua_pop(L, 1);
  lua_newtable(L);
  lua_pushstring(L, tname);
  lua_pushvalue(L, -2);
  lua_rawset(L, LUA_REGISTRYINDEX);
  lua_pushvalue(L, -1);
  lua_pushstring(L, tname);
  lua_rawset(L, LUA_REGISTRYINDEX);
  return 1;
}

void luaL_getmetatable(lua_State* L, const char* tname) {
  lua_pushstring(L, tname);
  lua_rawget(L, LUA_REGISTRYINDEX);
}

void* luaL_checkudata(lua_State* L, int ud, const char* tname) {
  if (!lua_getmetatable(L, ud)) return nullptr;
  lua_pushstring(L, tname);
  lua_rawget(L, LUA_REGISTRYINDEX);
  bool same = lua_rawequal(L, -1, -2);
  lua_pop(L, 2);
  return same && lua_type(L, ud) == LUA_TUSERDATA ? lua_touserdata(L, ud) : nullptr;
}

void luaL_checkstack(lua_State* L, int space, const char* mes) {
  if (!lua_checkstack(L, space)) luaL_error(L, "stack overflow (%s)", mes);
}

void luaL_checktype(lua_State* L, int narg, int t) {
  if (lua_type(L, narg) != t) TagError(L, narg, t);
}

void luaL_checkany(lua_State* L, int narg) {
  if (lua_type(L, narg) == LUA_TNONE) luaL_argerror(L, narg, "value expected");
}

const char* luaL_checklstring(lua_State* L, int narg, size_t* len) {
  int t = lua_type(L, narg);
  if (t != LUA_TSTRING && t != LUA_TNUMBER) TagError(L, narg, LUA_TSTRING);
  const char* s = lua_tostring(L, narg);
  if (len) *len = lua_strlen(L, narg);
  return s;
}

const char* luaL_optlstring(lua_State* L, int narg, const char* def, size_t* len) {
  if (lua_isnoneornil(L, narg)) {
    if (len) *len = def ? strlen(def) : 0;
    return def;
  }
  return luaL_checklstring(L, narg, len);
}

lua_Number luaL_checknumber(lua_State* L, int narg) {
  lua_Number d = lua_tonumber(L, narg);
  if (d == 0 && !lua_isnumber(L, narg)) TagError(L, narg, LUA_TNUMBER);
  return d;
}

lua_Number luaL_optnumber(lua_State* L, int narg, lua_Number def) {
  if (lua_isnoneornil(L, narg)) return def;
  return luaL_checknumber(L, narg);
}

const char16_t* luaL_checkwstring(lua_State* L, int narg, size_t* len) {
  if (lua_type(L, narg) != LUA_TWSTRING) TagError(L, narg, LUA_TWSTRING);
  if (len) *len = lua_strlen(L, narg);
  return lua_towstring(L, narg);
}

int luaL_getmetafield(lua_State* L, int obj, const char* event) {
  if (!lua_getmetatable(L, obj)) return 0;
  lua_pushstring(L, event);
  lua_rawget(L, -2);
  if (lua_isnil(L, -1)) {
    lua_pop(L, 2);
    return 0;
  }
  lua_remove(L, -2);
  return 1;
}

int luaL_callmeta(lua_State* L, int obj, const char* event) {
  if (obj < 0 && obj > LUA_REGISTRYINDEX) obj = lua_gettop(L) + obj + 1;
  if (!luaL_getmetafield(L, obj, event)) return 0;
  lua_pushvalue(L, obj);
  lua_call(L, 1, 1);
  return 1;
}

void luaL_openlib(lua_State* L, const char* libname, const luaL_reg* l, int nup) {
  if (libname) {
    lua_pushstring(L, libname);
    lua_gettable(L, LUA_GLOBALSINDEX);
    if (lua_isnil(L, -1)) {
      lua_pop(L, 1);
      lua_newtable(L);
      lua_pushstring(L, libname);
      lua_pushvalue(L, -2);
      lua_settable(L, LUA_GLOBALSINDEX);
    }
    lua_insert(L, -(nup + 1));
  }
  for (; l->name; l++) {
    lua_pushstring(L, l->name);
    for (int i = 0; i < nup; i++) lua_pushvalue(L, -(nup + 1));
    lua_pushcclosure(L, l->func, nup);
    lua_settable(L, -(nup + 3));
  }
  lua_pop(L, nup);
}

// table.getn/setn: an explicit "n" field wins, then a size stored with setn in a
// weak registry table, then the border of the table.
static void GetSizes(lua_State* L) {
  lua_pushliteral(L, "_LUA_SIZES");
  lua_rawget(L, LUA_REGISTRYINDEX);
  if (lua_isnil(L, -1)) {
    lua_pop(L, 1);
    lua_newtable(L);
    lua_pushvalue(L, -1);
    lua_setmetatable(L, -2);
    lua_pushliteral(L, "__mode");
    lua_pushliteral(L, "k");
    lua_rawset(L, -3);
    lua_pushliteral(L, "_LUA_SIZES");
    lua_pushvalue(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
  }
}

static int CheckInt(lua_State* L, int topop) {
  int n = lua_isnumber(L, -1) ? luaL_clampint(lua_tonumber(L, -1)) : -1;
  lua_pop(L, topop);
  return n;
}

void luaL_setn(lua_State* L, int t, int n) {
  if (t < 0 && t > LUA_REGISTRYINDEX) t = lua_gettop(L) + t + 1;
  lua_pushliteral(L, "n");
  lua_rawget(L, t);
  if (CheckInt(L, 1) >= 0) {
    lua_pushliteral(L, "n");
    lua_pushnumber(L, n);
    lua_rawset(L, t);
  } else {
    GetSizes(L);
    lua_pushvalue(L, t);
    lua_pushnumber(L, n);
    lua_rawset(L, -3);
    lua_pop(L, 1);
  }
}

int luaL_getn(lua_State* L, int t) {
  if (t < 0 && t > LUA_REGISTRYINDEX) t = lua_gettop(L) + t + 1;
  lua_pushliteral(L, "n");
  lua_rawget(L, t);
  int n = CheckInt(L, 1);
  if (n >= 0) return n;
  GetSizes(L);
  lua_pushvalue(L, t);
  lua_rawget(L, -2);
  n = CheckInt(L, 2);
  if (n >= 0) return n;
  // Otherwise count the elements up to the first nil.
  n = 0;
  for (;;) {
    lua_rawgeti(L, t, n + 1);
    bool isnil = lua_isnil(L, -1);
    lua_pop(L, 1);
    if (isnil || n == 0x7ffffffe) return n;
    n++;
  }
}

int luaL_ref(lua_State* L, int t) {
  if (t < 0 && t > LUA_REGISTRYINDEX) t = lua_gettop(L) + t + 1;
  if (lua_isnil(L, -1)) {
    lua_pop(L, 1);
    return LUA_REFNIL;
  }
  lua_rawgeti(L, t, 0);  // free list head
  int ref = luaL_clampint(lua_tonumber(L, -1));
  lua_pop(L, 1);
  if (ref != 0) {
    lua_rawgeti(L, t, ref);
    lua_rawseti(L, t, 0);
  } else {
    ref = luaL_getn(L, t) + 1;
    luaL_setn(L, t, ref);
  }
  lua_rawseti(L, t, ref);
  return ref;
}

void luaL_unref(lua_State* L, int t, int ref) {
  if (ref < 0) return;
  if (t < 0 && t > LUA_REGISTRYINDEX) t = lua_gettop(L) + t + 1;
  lua_rawgeti(L, t, 0);
  lua_rawseti(L, t, ref);
  lua_pushnumber(L, ref);
  lua_rawseti(L, t, 0);
}

namespace {
struct BufferReader {
  const char* s;
  size_t size;
};
const char* ReadBuffer(lua_State*, void* ud, size_t* size) {
  BufferReader* r = static_cast<BufferReader*>(ud);
  if (r->size == 0) return nullptr;
  *size = r->size;
  r->size = 0;
  return r->s;
}
}  // namespace

int luaL_loadbuffer(lua_State* L, const char* buff, size_t size, const char* name) {
  BufferReader r{buff, size};
  return lua_load(L, ReadBuffer, &r, name);
}

int luaL_loadfile(lua_State* L, const char* filename) {
  char* data = nullptr;
  size_t size = 0;
  std::string chunkname;
  if (filename == nullptr) {
    chunkname = "=stdin";
    std::string all;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, stdin)) > 0) all.append(buf, n);
    return luaL_loadbuffer(L, all.data(), all.size(), chunkname.c_str());
  }
  chunkname = std::string("@") + filename;
  if (!lua_readfile(L, filename, &data, &size)) {
    lua_pushfstring(L, "cannot read %s", filename);
    return LUA_ERRFILE;
  }
  int status = luaL_loadbuffer(L, data, size, chunkname.c_str());
  lua_freefilebuffer(data);
  return status;
}

int luaL_dostring(lua_State* L, const char* str) {
  int status = luaL_loadbuffer(L, str, strlen(str), str);
  if (status == 0) status = lua_pcall(L, 0, LUA_MULTRET, 0);
  return status;
}

int luaL_dofile(lua_State* L, const char* filename) {
  int status = luaL_loadfile(L, filename);
  if (status == 0) status = lua_pcall(L, 0, LUA_MULTRET, 0);
  return status;
}

// Table library: getn/setn, insert, remove, concat, foreach, foreachi and sort.
#include <string>

#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"

static int ForeachI(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_checktype(L, 2, LUA_TFUNCTION);
  int n = luaL_getn(L, 1);
  for (int i = 1; i <= n; i++) {
    lua_pushvalue(L, 2);
    lua_pushnumber(L, i);
    lua_rawgeti(L, 1, i);
    lua_call(L, 2, 1);
    if (!lua_isnil(L, -1)) return 1;
    lua_pop(L, 1);
  }
  return 0;
}

static int Foreach(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_checktype(L, 2, LUA_TFUNCTION);
  lua_pushnil(L);
  for (;;) {
    if (lua_next(L, 1) == 0) return 0;
    lua_pushvalue(L, 2);
    lua_pushvalue(L, -3);
    lua_pushvalue(L, -3);
    lua_call(L, 2, 1);
    if (!lua_isnil(L, -1)) return 1;
    lua_pop(L, 2);
  }
}

static int GetN(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  lua_pushnumber(L, luaL_getn(L, 1));
  return 1;
}

static int SetN(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_setn(L, 1, luaL_checkint(L, 2));
  return 0;
}

static int TInsert(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  int v = lua_gettop(L);
  int n = luaL_getn(L, 1) + 1;
  int pos;
  if (v == 2) {
    pos = n;
  } else {
    pos = luaL_checkint(L, 2);
    if (pos > n) n = pos;
    v = 3;
  }
  luaL_setn(L, 1, n);
  while (--n >= pos) {
    lua_rawgeti(L, 1, n);
    lua_rawseti(L, 1, n + 1);
  }
  lua_pushvalue(L, v);
  lua_rawseti(L, 1, pos);
  return 0;
}

static int TRemove(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  int n = luaL_getn(L, 1);
  int pos = luaL_optint(L, 2, n);
  if (n <= 0) return 0;
  luaL_setn(L, 1, n - 1);
  lua_rawgeti(L, 1, pos);
  for (; pos < n; pos++) {
    lua_rawgeti(L, 1, pos + 1);
    lua_rawseti(L, 1, pos);
  }
  lua_pushnil(L);
  lua_rawseti(L, 1, n);
  return 1;
}

static int TConcat(lua_State* L) {
  size_t lsep;
  const char* sep = luaL_optlstring(L, 2, "", &lsep);
  luaL_checktype(L, 1, LUA_TTABLE);
  int i = luaL_optint(L, 3, 1);
  int last = luaL_optint(L, 4, luaL_getn(L, 1));
  std::string b;
  for (; i <= last; i++) {
    lua_rawgeti(L, 1, i);
    luaL_argcheck(L, lua_isstring(L, -1) && lua_type(L, -1) != LUA_TWSTRING, 1,
                  "table contains non-strings");
    b.append(lua_tostring(L, -1), lua_strlen(L, -1));
    lua_pop(L, 1);
    if (i != last) b.append(sep, lsep);
  }
  lua_pushlstring(L, b.data(), b.size());
  return 1;
}

// Quicksort over t[lo..up] with an optional comparison function at index 2.
static bool SortLess(lua_State* L, int a, int b) {
  if (!lua_isnil(L, 2)) {
    lua_pushvalue(L, 2);
    lua_pushvalue(L, a - 1);
    lua_pushvalue(L, b - 2);
    lua_call(L, 2, 1);
    bool res = lua_toboolean(L, -1);
    lua_pop(L, 1);
    return res;
  }
  return lua_lessthan(L, a, b);
}

static void Set2(lua_State* L, int i, int j) {
  lua_rawseti(L, 1, i);
  lua_rawseti(L, 1, j);
}

static void AuxSort(lua_State* L, int lo, int up) {
  while (lo < up) {
    lua_rawgeti(L, 1, lo);
    lua_rawgeti(L, 1, up);
    if (SortLess(L, -1, -2))
      Set2(L, lo, up);
    else
      lua_pop(L, 2);
    if (up - lo == 1) break;
    int i = (lo + up) / 2;
    lua_rawgeti(L, 1, i);
    lua_rawgeti(L, 1, lo);
    if (SortLess(L, -2, -1)) {
      Set2(L, i, lo);
    } else {
      lua_pop(L, 1);
      lua_rawgeti(L, 1, up);
      if (SortLess(L, -1, -2))
        Set2(L, i, up);
      else
        lua_pop(L, 2);
    }
    if (up - lo == 2) break;
    lua_rawgeti(L, 1, i);
    lua_pushvalue(L, -1);
    lua_rawgeti(L, 1, up - 1);
    Set2(L, i, up - 1);
    i = lo;
    int j = up - 1;
    for (;;) {
      while (lua_rawgeti(L, 1, ++i), SortLess(L, -1, -2)) {
        if (i > up) luaL_error(L, "invalid order function for sorting");
        lua_pop(L, 1);
      }
      while (lua_rawgeti(L, 1, --j), SortLess(L, -3, -1)) {
        if (j < lo) luaL_error(L, "invalid order function for sorting");
        lua_pop(L, 1);
      }
      if (j < i) {
        lua_pop(L, 3);
        break;
      }
      Set2(L, i, j);
    }
    lua_rawgeti(L, 1, up - 1);
    lua_rawgeti(L, 1, i);
    Set2(L, up - 1, i);
    if (i - lo < up - i) {
      j = lo;
      i = i - 1;
      lo = i + 2;
    } else {
      j = i + 1;
      i = up;
      up = j - 2;
    }
    AuxSort(L, j, i);
  }
}

static int Sort(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  int n = luaL_getn(L, 1);
  luaL_checkstack(L, 40, "");
  if (!lua_isnoneornil(L, 2)) luaL_checktype(L, 2, LUA_TFUNCTION);
  lua_settop(L, 2);
  AuxSort(L, 1, n);
  return 0;
}

static const luaL_reg tab_funcs[] = {
    {"concat", TConcat}, {"foreach", Foreach}, {"foreachi", ForeachI},
    {"getn", GetN},      {"setn", SetN},       {"sort", Sort},
    {"insert", TInsert}, {"remove", TRemove},  {nullptr, nullptr}};

int luaopen_table(lua_State* L) {
  luaL_openlib(L, "table", tab_funcs, 0);
  lua_pop(L, 1);
  return 0;
}

// The C++ interface as a host uses it: stack, tables, calls, references, userdata
// with finalizers, threads, the file-reading hook, dump and load.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"
#include "tests/lua/dump_bytes.h"

namespace {

struct State {
  lua_State* L = lua_open();
  State() { luaL_openstdlibs(L); }
  ~State() { lua_close(L); }
};

int finalized = 0;
int CountGc(lua_State*) {
  finalized++;
  return 0;
}

int Add(lua_State* L) {
  lua_pushnumber(L, luaL_checknumber(L, 1) + luaL_checknumber(L, 2));
  return 1;
}

bool MemoryReader(void* ud, const char* name, char** out, size_t* size) {
  auto* files = static_cast<std::pair<const char*, const char*>*>(ud);
  if (strcmp(name, files->first) != 0) return false;
  *size = strlen(files->second);
  *out = static_cast<char*>(malloc(*size));
  memcpy(*out, files->second, *size);
  return true;
}

}  // namespace

TEST(LuaApi, StackAndTables) {
  State s;
  lua_State* L = s.L;
  lua_newtable(L);
  lua_pushstring(L, "key");
  lua_pushnumber(L, 42);
  lua_settable(L, -3);
  lua_pushstring(L, "key");
  lua_gettable(L, -2);
  EXPECT_EQ(lua_tonumber(L, -1), 42);
  lua_pop(L, 1);
  lua_pushnumber(L, 7);
  lua_rawseti(L, -2, 1);
  lua_rawgeti(L, -1, 1);
  EXPECT_EQ(lua_tonumber(L, -1), 7);
  lua_settop(L, 0);
  EXPECT_EQ(lua_gettop(L), 0);
  EXPECT_EQ(lua_type(L, 5), LUA_TNONE);
}

TEST(LuaApi, CallsAndErrors) {
  State s;
  lua_State* L = s.L;
  lua_register(L, "add", Add);
  ASSERT_EQ(luaL_dostring(L, "result = add(2, 3)"), 0);
  lua_getglobal(L, "result");
  EXPECT_EQ(lua_tonumber(L, -1), 5);
  lua_pop(L, 1);
  EXPECT_EQ(luaL_dostring(L, "add(1, {})"), LUA_ERRRUN);
  EXPECT_NE(std::string(lua_tostring(L, -1)).find("bad argument #2 to `add'"), std::string::npos);
  lua_pop(L, 1);
  EXPECT_EQ(luaL_loadbuffer(L, "x = = 2", 7, "=text"), LUA_ERRSYNTAX);
  EXPECT_STREQ(lua_tostring(L, -1), "text:1: unexpected symbol near `='");
}

TEST(LuaApi, RegistryReferencesKeepValuesAlive) {
  State s;
  lua_State* L = s.L;
  lua_newtable(L);
  lua_pushstring(L, "payload");
  lua_rawseti(L, -2, 1);
  int ref = luaL_ref(L, LUA_REGISTRYINDEX);
  lua_fullgc(L);
  lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
  lua_rawgeti(L, -1, 1);
  EXPECT_STREQ(lua_tostring(L, -1), "payload");
  luaL_unref(L, LUA_REGISTRYINDEX, ref);
  // Light userdata keys as a host uses them for its handles.
  int handle;
  lua_pushlightuserdata(L, &handle);
  lua_pushnumber(L, 3);
  lua_settable(L, LUA_REGISTRYINDEX);
  lua_pushlightuserdata(L, &handle);
  lua_gettable(L, LUA_REGISTRYINDEX);
  EXPECT_EQ(lua_tonumber(L, -1), 3);
}

TEST(LuaApi, UserdataFinalizersRunOnce) {
  finalized = 0;
  {
    State s;
    lua_State* L = s.L;
    for (int i = 0; i < 3; i++) {
      lua_newuserdata(L, 16);
      luaL_newmetatable(L, "Thing");
      lua_pushstring(L, "__gc");
      lua_pushcfunction(L, CountGc);
      lua_settable(L, -3);
      lua_setmetatable(L, -2);
      lua_pop(L, 1);
    }
    lua_fullgc(L);
    EXPECT_EQ(finalized, 3);
    lua_fullgc(L);
    EXPECT_EQ(finalized, 3);
    lua_newuserdata(L, 8);
    luaL_getmetatable(L, "Thing");
    lua_setmetatable(L, -2);
    EXPECT_NE(luaL_checkudata(L, -1, "Thing"), nullptr);
  }
  EXPECT_EQ(finalized, 4);  // closing the state finalizes the rest
}

TEST(LuaApi, ThreadsResumeAndYield) {
  State s;
  lua_State* L = s.L;
  ASSERT_EQ(luaL_dostring(L, "function body(a) local b = coroutine.yield(a * 2) return b + 1 end"),
            0);
  lua_State* co = lua_newthread(L);
  lua_getglobal(co, "body");
  lua_pushnumber(co, 5);
  ASSERT_EQ(lua_resume(co, 1), 0);
  EXPECT_EQ(lua_status(co), LUA_YIELD_STATUS);
  EXPECT_EQ(lua_tonumber(co, -1), 10);
  lua_settop(co, 0);
  lua_pushnumber(co, 6);
  ASSERT_EQ(lua_resume(co, 1), 0);
  EXPECT_EQ(lua_status(co), 0);
  EXPECT_EQ(lua_tonumber(co, -1), 7);
}

TEST(LuaApi, FileReaderHookServesLoadfile) {
  State s;
  lua_State* L = s.L;
  std::pair<const char*, const char*> file{"scripts/x.lua", "return 'from hook'"};
  lua_setfilereader(L, MemoryReader, &file);
  ASSERT_EQ(luaL_dostring(L, "v = dofile('scripts/x.lua') w, e = loadfile('missing.lua')"), 0);
  lua_getglobal(L, "v");
  EXPECT_STREQ(lua_tostring(L, -1), "from hook");
  lua_getglobal(L, "e");
  EXPECT_STREQ(lua_tostring(L, -1), "cannot read missing.lua");
}

TEST(LuaApi, DumpAndLoadRoundTrip) {
  State s;
  lua_State* L = s.L;
  ASSERT_EQ(luaL_loadbuffer(L, "return 6 ^ 3, L\"w\"", 18, "=t"), 0);
  const std::string bytes = DumpBytes(L);
  EXPECT_EQ(bytes.substr(0, 5), std::string("\033Lua\x50"));
  ASSERT_EQ(luaL_loadbuffer(L, bytes.data(), bytes.size(), "=bin"), 0);
  ASSERT_EQ(lua_pcall(L, 0, 2, 0), 0);
  EXPECT_EQ(lua_tonumber(L, -2), 5);
  EXPECT_EQ(lua_type(L, -1), LUA_TWSTRING);
  EXPECT_EQ(luaL_loadbuffer(L, bytes.data(), bytes.size() - 3, "=bin"), LUA_ERRSYNTAX);
}

namespace {
int order[8];
int norder = 0;
int RecordGc(lua_State* L) {
  int* id = static_cast<int*>(lua_touserdata(L, 1));
  if (norder < 8) order[norder++] = *id;
  return 0;
}
int ResurrectGc(lua_State* L) {
  lua_pushvalue(L, 1);
  lua_setglobal(L, "resurrected");
  return 0;
}
int FailingGc(lua_State* L) {
  lua_pushstring(L, "finalizer failed");
  return lua_error(L);
}
void NewUdataWithGc(lua_State* L, int id, lua_CFunction gc) {
  *static_cast<int*>(lua_newuserdata(L, sizeof(int))) = id;
  lua_newtable(L);
  lua_pushstring(L, "__gc");
  lua_pushcfunction(L, gc);
  lua_rawset(L, -3);
  lua_setmetatable(L, -2);
}
}  // namespace

TEST(LuaApi, FinalizersRunInReverseOrderOfCreation) {
  State s;
  lua_State* L = s.L;
  norder = 0;
  lua_newtable(L);  // holds all three so that they die in the same collection
  for (int i = 1; i <= 3; i++) {
    NewUdataWithGc(L, i, RecordGc);
    lua_rawseti(L, -2, i);
  }
  lua_pop(L, 1);
  lua_fullgc(L);
  ASSERT_EQ(norder, 3);
  EXPECT_EQ(order[0], 3);
  EXPECT_EQ(order[2], 1);
}

TEST(LuaApi, ResurrectedUserdataStaysValidAndIsNotFinalizedTwice) {
  State s;
  lua_State* L = s.L;
  NewUdataWithGc(L, 7, ResurrectGc);
  lua_pop(L, 1);
  lua_fullgc(L);
  lua_getglobal(L, "resurrected");
  ASSERT_EQ(lua_type(L, -1), LUA_TUSERDATA);
  EXPECT_EQ(*static_cast<int*>(lua_touserdata(L, -1)), 7);
  lua_pop(L, 1);
  lua_pushnil(L);
  lua_setglobal(L, "resurrected");
  lua_fullgc(L);  // now it goes without a second finalizer call
  lua_getglobal(L, "resurrected");
  EXPECT_TRUE(lua_isnil(L, -1));
}

TEST(LuaApi, FailingFinalizerDoesNotBreakTheState) {
  State s;
  lua_State* L = s.L;
  NewUdataWithGc(L, 1, FailingGc);
  lua_pop(L, 1);
  lua_fullgc(L);
  ASSERT_EQ(luaL_dostring(L, "x = 1 + 1"), 0);
  lua_getglobal(L, "x");
  EXPECT_EQ(lua_tonumber(L, -1), 2);
}

TEST(LuaApi, WeakTablesDropCollectedUserdata) {
  State s;
  lua_State* L = s.L;
  ASSERT_EQ(luaL_dostring(L, "weak = setmetatable({}, {__mode = 'k'})"), 0);
  lua_getglobal(L, "weak");
  lua_newuserdata(L, 4);
  lua_pushnumber(L, 1);
  lua_rawset(L, -3);
  lua_newuserdata(L, 4);
  lua_pushvalue(L, -1);
  lua_setglobal(L, "kept");
  lua_pushnumber(L, 2);
  lua_rawset(L, -3);
  lua_pop(L, 1);
  lua_fullgc(L);
  ASSERT_EQ(luaL_dostring(L, "local n = 0 for k, v in pairs(weak) do n = n + v end return n"), 0);
  EXPECT_EQ(lua_tonumber(L, -1), 2);
}

TEST(LuaApi, StackOperations) {
  State s;
  lua_State* L = s.L;
  for (int i = 1; i <= 5; i++) lua_pushnumber(L, i);
  lua_insert(L, 1);  // 5 1 2 3 4
  EXPECT_EQ(lua_tonumber(L, 1), 5);
  lua_remove(L, 2);  // 5 2 3 4
  EXPECT_EQ(lua_tonumber(L, 2), 2);
  lua_pushstring(L, "r");
  lua_replace(L, 1);  // r 2 3 4
  EXPECT_STREQ(lua_tostring(L, 1), "r");
  EXPECT_EQ(lua_gettop(L), 4);
  lua_settop(L, 6);
  EXPECT_TRUE(lua_isnil(L, 6));
  lua_settop(L, -3);
  EXPECT_EQ(lua_gettop(L), 4);
  EXPECT_EQ(lua_checkstack(L, 5000), 1);
  for (int i = 0; i < 5000; i++) lua_pushnumber(L, i);
  EXPECT_EQ(lua_tonumber(L, -1), 4999);
  lua_settop(L, 0);
  lua_pushstring(L, "a");
  lua_pushnumber(L, 1);
  lua_pushstring(L, "b");
  lua_concat(L, 3);
  EXPECT_STREQ(lua_tostring(L, -1), "a1b");
  lua_pushnumber(L, 2);
  lua_pushnumber(L, 3);
  EXPECT_TRUE(lua_lessthan(L, -2, -1));
  EXPECT_FALSE(lua_equal(L, -2, -1));
  EXPECT_TRUE(lua_rawequal(L, -1, -1));
  EXPECT_EQ(lua_type(L, 100), LUA_TNONE);
  EXPECT_STREQ(lua_typename(L, LUA_TNONE), "no value");
}

TEST(LuaApi, TableTraversalWithNext) {
  State s;
  lua_State* L = s.L;
  ASSERT_EQ(luaL_dostring(L, "return {10, 20, x = 30}"), 0);
  double sum = 0;
  int n = 0;
  lua_pushnil(L);
  while (lua_next(L, -2)) {
    sum += lua_tonumber(L, -1);
    n++;
    lua_pop(L, 1);
  }
  EXPECT_EQ(n, 3);
  EXPECT_EQ(sum, 60);
  EXPECT_EQ(luaL_getn(L, -1), 2);
}

TEST(LuaApi, ProtectedNativeCallsAndEnvironments) {
  State s;
  lua_State* L = s.L;
  int value = 0;
  int status = lua_cpcall(
      L,
      [](lua_State* L1) {
        *static_cast<int*>(lua_touserdata(L1, 1)) = 42;
        lua_pushstring(L1, "inside");
        return lua_error(L1);
      },
      &value);
  EXPECT_EQ(status, LUA_ERRRUN);
  EXPECT_EQ(value, 42);
  EXPECT_STREQ(lua_tostring(L, -1), "inside");
  lua_pop(L, 1);
  ASSERT_EQ(luaL_loadbuffer(L, "return y", 8, "=env"), 0);
  lua_newtable(L);
  lua_pushstring(L, "y");
  lua_pushnumber(L, 9);
  lua_rawset(L, -3);
  EXPECT_EQ(lua_setfenv(L, -2), 1);
  ASSERT_EQ(lua_pcall(L, 0, 1, 0), 0);
  EXPECT_EQ(lua_tonumber(L, -1), 9);
}

TEST(LuaApi, ReferencesAreReused) {
  State s;
  lua_State* L = s.L;
  lua_pushstring(L, "one");
  int r1 = luaL_ref(L, LUA_REGISTRYINDEX);
  lua_pushstring(L, "two");
  int r2 = luaL_ref(L, LUA_REGISTRYINDEX);
  EXPECT_NE(r1, r2);
  luaL_unref(L, LUA_REGISTRYINDEX, r1);
  lua_pushstring(L, "three");
  int r3 = luaL_ref(L, LUA_REGISTRYINDEX);
  EXPECT_EQ(r3, r1);
  lua_pushnil(L);
  EXPECT_EQ(luaL_ref(L, LUA_REGISTRYINDEX), LUA_REFNIL);
  lua_rawgeti(L, LUA_REGISTRYINDEX, r2);
  EXPECT_STREQ(lua_tostring(L, -1), "two");
}

TEST(LuaApi, MemoryIsReturnedAfterCollection) {
  State s;
  lua_State* L = s.L;
  lua_fullgc(L);
  int before = lua_getgccount(L);
  ASSERT_EQ(luaL_dostring(L, "local t = {} for i = 1, 20000 do t[i] = {tostring(i)} end"), 0);
  lua_fullgc(L);
  EXPECT_LE(lua_getgccount(L), before + 16);
  lua_setgcthreshold(L, 0);  // collects at once and sets a new threshold
  EXPECT_GE(lua_getgcthreshold(L), lua_getgccount(L));
}

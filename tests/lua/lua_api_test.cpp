// The C++ interface as a host uses it: stack, tables, calls, references, userdata
// with finalizers, threads, the file-reading hook, dump and load.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"

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
  std::string bytes;
  lua_dump(
      L,
      [](lua_State*, const void* p, size_t n, void* ud) {
        static_cast<std::string*>(ud)->append(static_cast<const char*>(p), n);
        return 0;
      },
      &bytes);
  EXPECT_EQ(bytes.substr(0, 5), std::string("\033Lua\x50"));
  ASSERT_EQ(luaL_loadbuffer(L, bytes.data(), bytes.size(), "=bin"), 0);
  ASSERT_EQ(lua_pcall(L, 0, 2, 0), 0);
  EXPECT_EQ(lua_tonumber(L, -2), 5);
  EXPECT_EQ(lua_type(L, -1), LUA_TWSTRING);
  EXPECT_EQ(luaL_loadbuffer(L, bytes.data(), bytes.size() - 3, "=bin"), LUA_ERRSYNTAX);
}

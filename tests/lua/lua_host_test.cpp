// The interpreter as the engine's script host drives it: one state, scripts running as
// coroutines resumed once per frame, handles kept in the registry under light-userdata
// keys, native functions with upvalues, and the runner program.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"
#include "tests/lua/dump_bytes.h"

namespace {

struct State {
  lua_State* L = lua_open();
  State() {
    luaopen_base(L);
    luaopen_string(L);
    luaopen_table(L);
  }
  ~State() { lua_close(L); }
};

int frameCounter = 0;
int GetFrame(lua_State* L) {
  lua_pushnumber(L, frameCounter);
  return 1;
}

// A native function whose behaviour comes from its upvalue (as engine bindings do).
int Scaled(lua_State* L) {
  double factor = lua_tonumber(L, lua_upvalueindex(1));
  lua_pushnumber(L, luaL_checknumber(L, 1) * factor);
  return 1;
}

}  // namespace

TEST(LuaHost, ScriptBodyRunsAsCoroutineAcrossFrames) {
  State s;
  lua_State* L = s.L;
  lua_register(L, "GetFrame", GetFrame);
  const char* script =
      "log = {}\n"
      "return function()\n"
      "  for i = 1, 3 do table.insert(log, GetFrame()) coroutine.yield() end\n"
      "  return 'finished'\n"
      "end\n";
  ASSERT_EQ(luaL_loadbuffer(L, script, strlen(script), "=main"), 0);
  ASSERT_EQ(lua_pcall(L, 0, 1, 0), 0);
  ASSERT_TRUE(lua_isfunction(L, -1));
  lua_State* co = lua_newthread(L);
  int threadRef = luaL_ref(L, LUA_REGISTRYINDEX);  // keeps the thread alive
  lua_xmove(L, co, 1);
  int resumes = 0;
  for (frameCounter = 1; frameCounter <= 10; frameCounter++) {
    int status = lua_resume(co, 0);
    ASSERT_EQ(status, 0);
    resumes++;
    lua_fullgc(L);  // the suspended coroutine survives collections
    if (lua_status(co) != LUA_YIELD_STATUS) break;
    lua_settop(co, 0);
  }
  EXPECT_EQ(resumes, 4);
  EXPECT_STREQ(lua_tostring(co, -1), "finished");
  ASSERT_EQ(luaL_dostring(L, "return table.concat(log, ',')"), 0);
  EXPECT_STREQ(lua_tostring(L, -1), "1,2,3");
  luaL_unref(L, LUA_REGISTRYINDEX, threadRef);
}

TEST(LuaHost, CallingIntoStateWhileAScriptIsSuspended) {
  State s;
  lua_State* L = s.L;
  ASSERT_EQ(
      luaL_dostring(L, "counter = 0 function Bump(n) counter = counter + n return counter end"), 0);
  lua_State* co = lua_newthread(L);
  ASSERT_EQ(luaL_loadbuffer(co, "coroutine.yield() return counter", 32, "=co"), 0);
  ASSERT_EQ(lua_resume(co, 0), 0);
  ASSERT_EQ(lua_status(co), LUA_YIELD_STATUS);
  // The main thread calls Lua while the coroutine waits.
  lua_getglobal(L, "Bump");
  lua_pushnumber(L, 5);
  ASSERT_EQ(lua_pcall(L, 1, 1, 0), 0);
  EXPECT_EQ(lua_tonumber(L, -1), 5);
  ASSERT_EQ(lua_resume(co, 0), 0);
  EXPECT_EQ(lua_tonumber(co, -1), 5);
  // A finished coroutine whose results were taken cannot be resumed again.
  lua_settop(co, 0);
  EXPECT_EQ(lua_resume(co, 0), LUA_ERRRUN);
  EXPECT_STREQ(lua_tostring(co, -1), "cannot resume dead coroutine");
}

TEST(LuaHost, ErrorsInsideCoroutinesStopThem) {
  State s;
  lua_State* L = s.L;
  lua_State* co = lua_newthread(L);
  const char* body = "coroutine.yield(1) local t = nil return t.x";
  ASSERT_EQ(luaL_loadbuffer(co, body, strlen(body), "=body"), 0);
  ASSERT_EQ(lua_resume(co, 0), 0);
  lua_settop(co, 0);
  EXPECT_EQ(lua_resume(co, 0), LUA_ERRRUN);
  EXPECT_STREQ(lua_tostring(co, -1), "body:1: attempt to index local `t' (a nil value)");
  EXPECT_NE(lua_status(co), 0);
}

TEST(LuaHost, ErrorHandlerReceivesMessage) {
  State s;
  lua_State* L = s.L;
  ASSERT_EQ(luaL_dostring(L, "function _ALERT(m) lastAlert = 'Lua error: ' .. m end"), 0);
  lua_getglobal(L, "_ALERT");
  int handler = lua_gettop(L);
  ASSERT_EQ(luaL_loadbuffer(L, "error('bad thing')", 18, "=script"), 0);
  EXPECT_EQ(lua_pcall(L, 0, 0, handler), LUA_ERRRUN);
  lua_getglobal(L, "lastAlert");
  EXPECT_STREQ(lua_tostring(L, -1), "Lua error: script:1: bad thing");
}

TEST(LuaHost, HandlesUnderLightUserdataKeys) {
  State s;
  lua_State* L = s.L;
  int handles[3];
  for (int i = 0; i < 3; i++) {
    lua_pushlightuserdata(L, &handles[i]);
    lua_newtable(L);
    lua_pushnumber(L, i);
    lua_rawseti(L, -2, 1);
    lua_settable(L, LUA_REGISTRYINDEX);
  }
  lua_fullgc(L);
  for (int i = 0; i < 3; i++) {
    lua_pushlightuserdata(L, &handles[i]);
    lua_gettable(L, LUA_REGISTRYINDEX);
    ASSERT_TRUE(lua_istable(L, -1));
    lua_rawgeti(L, -1, 1);
    EXPECT_EQ(lua_tonumber(L, -1), i);
    lua_pop(L, 2);
  }
  // Releasing a handle stores nil; the table becomes garbage.
  lua_pushlightuserdata(L, &handles[1]);
  lua_pushnil(L);
  lua_settable(L, LUA_REGISTRYINDEX);
  lua_pushlightuserdata(L, &handles[1]);
  lua_gettable(L, LUA_REGISTRYINDEX);
  EXPECT_TRUE(lua_isnil(L, -1));
}

TEST(LuaHost, NativeClosuresWithUpvalues) {
  State s;
  lua_State* L = s.L;
  lua_pushnumber(L, 2.5);
  lua_pushcclosure(L, Scaled, 1);
  lua_setglobal(L, "Scale");
  ASSERT_EQ(luaL_dostring(L, "return Scale(4)"), 0);
  EXPECT_EQ(lua_tonumber(L, -1), 10);
}

TEST(LuaHost, WideStringsThroughTheInterface) {
  State s;
  lua_State* L = s.L;
  const char16_t text[] = u"h\u00e9llo";
  lua_pushwstring(L, text, 5);
  EXPECT_EQ(lua_type(L, -1), LUA_TWSTRING);
  EXPECT_EQ(lua_strlen(L, -1), 5u);
  EXPECT_TRUE(lua_isstring(L, -1));
  EXPECT_EQ(lua_tostring(L, -1), nullptr);
  EXPECT_EQ(lua_towstring(L, -1)[1], u'\u00e9');
  lua_setglobal(L, "w");
  ASSERT_EQ(luaL_dostring(L, "return w .. 7, string.len(w)"), 0);
  EXPECT_EQ(lua_strlen(L, -2), 6u);
  EXPECT_EQ(lua_tonumber(L, -1), 5);
  EXPECT_STREQ(lua_typename(L, LUA_TWSTRING), "wstring");
}

TEST(LuaHost, RunnerRunsScriptsAndCompilesChunks) {
  std::string dir = ::testing::TempDir();
  std::string src = dir + "/runner_script.lua";
  std::string bin = dir + "/runner_script.luc";
  std::string out = dir + "/runner_out.txt";
  {
    std::ofstream f(src);
    f << "print('sum', arg[1] + arg[2], L\"w\" .. 1)\n";
  }
  std::string runner = std::string(MC_BIN_DIR) + "/lua50";
  ASSERT_EQ(std::system((runner + " " + src + " 2 3 > " + out).c_str()), 0);
  std::ifstream r1(out);
  std::string line;
  std::getline(r1, line);
  EXPECT_EQ(line, "sum\t5\tw1");
  ASSERT_EQ(std::system((runner + " -c " + src + " " + bin).c_str()), 0);
  ASSERT_EQ(std::system((runner + " " + bin + " 1 1 > " + out).c_str()), 0);
  std::ifstream r2(out);
  std::getline(r2, line);
  EXPECT_EQ(line, "sum\t2\tw1");
  // A damaged chunk and a failing script give a non-zero exit code.
  {
    std::ofstream f(bin, std::ios::binary | std::ios::trunc);
    f << "\033Lua\x50\x01garbage";
  }
  EXPECT_NE(std::system((runner + " " + bin + " 2> " + out).c_str()), 0);
  EXPECT_NE(std::system((runner + " -e \"error('x')\" 2> " + out).c_str()), 0);
  std::ifstream r3(out);
  std::getline(r3, line);
  EXPECT_EQ(line, "lua50: (command line):1: x");
}

TEST(LuaHost, ClosureBuilderPassesAtMostSixArguments) {
  State s;
  lua_State* L = s.L;
  ASSERT_EQ(luaL_dostring(L,
                          "function GetClosure( f, ... ) return function() f( arg[1], arg[2], "
                          "arg[3], arg[4], arg[5], arg[6] ); end; end\n"
                          "function Collect(...) got = arg.n last = arg[arg.n] end"),
            0);
  lua_getglobal(L, "GetClosure");
  lua_getglobal(L, "Collect");
  for (int i = 1; i <= 7; i++) lua_pushnumber(L, i);
  ASSERT_EQ(lua_pcall(L, 8, 1, 0), 0);
  ASSERT_EQ(lua_pcall(L, 0, 0, 0), 0);
  lua_getglobal(L, "got");
  EXPECT_EQ(lua_tonumber(L, -1), 6);
  lua_getglobal(L, "last");
  EXPECT_EQ(lua_tonumber(L, -1), 6);
}

namespace {
struct Files {
  std::string name1, text1, name2, text2;
};
bool FilesReader(void* ud, const char* name, char** out, size_t* size) {
  auto* f = static_cast<Files*>(ud);
  const std::string* text = nullptr;
  if (f->name1 == name) text = &f->text1;
  if (f->name2 == name) text = &f->text2;
  if (!text) return false;
  *size = text->size();
  *out = static_cast<char*>(malloc(text->size() + 1));
  memcpy(*out, text->data(), text->size());
  return true;
}
}  // namespace

TEST(LuaHost, RequireAndBinaryChunksThroughTheFileHook) {
  State s;
  lua_State* L = s.L;
  Files files;
  files.name1 = "scripts/mod.lua";
  files.text1 = "loads = (loads or 0) + 1 return {answer = 42}";
  // A precompiled chunk made by the same interpreter.
  ASSERT_EQ(luaL_loadbuffer(L, "return 'binary ' .. _REQUIREDNAME", 33, "=b"), 0);
  files.text2 = DumpBytes(L);
  lua_pop(L, 1);
  files.name2 = "scripts/bin.lua";
  lua_setfilereader(L, FilesReader, &files);
  ASSERT_EQ(luaL_dostring(L,
                          "LUA_PATH = 'scripts/?.lua'\n"
                          "local m = require('mod') local m2 = require('mod')\n"
                          "b = require('bin')\n"
                          "return m.answer, loads, m == m2"),
            0);
  EXPECT_EQ(lua_tonumber(L, -3), 42);
  EXPECT_EQ(lua_tonumber(L, -2), 1);
  EXPECT_TRUE(lua_toboolean(L, -1));
  lua_getglobal(L, "b");
  EXPECT_STREQ(lua_tostring(L, -1), "binary bin");
  EXPECT_NE(luaL_dostring(L, "require('absent')"), 0);
  EXPECT_NE(std::string(lua_tostring(L, -1)).find("could not load package `absent'"),
            std::string::npos);
}

TEST(LuaHost, RunawayRecursionThroughNativeCallsIsAnError) {
  State s;
  lua_State* L = s.L;
  // __index functions recurse through the native call path, not the VM loop.
  ASSERT_NE(luaL_dostring(L,
                          "local t = setmetatable({}, {}) getmetatable(t).__index = "
                          "function(tab, k) return tab[k] end return t.x"),
            0);
  EXPECT_NE(std::string(lua_tostring(L, -1)).find("stack overflow"), std::string::npos);
  lua_pop(L, 1);
  // The state is usable afterwards.
  ASSERT_EQ(luaL_dostring(L, "return 1 + 1"), 0);
  EXPECT_EQ(lua_tonumber(L, -1), 2);
}

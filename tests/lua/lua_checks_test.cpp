// The interface's guards: the checks of the test build stop a host that misuses the stack,
// and lua_nativecall turns C++ exceptions of native functions into Lua errors while the
// interpreter's own errors keep their way to the protected call.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
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

// Runs text in a fresh state and answers "" on success or the error message.
std::string RunText(lua_State* L, const char* text) {
  if (luaL_loadbuffer(L, text, strlen(text), "=test") != 0 || lua_pcall(L, 0, 0, 0) != 0) {
    std::string message = lua_tostring(L, -1) ? lua_tostring(L, -1) : "(no message)";
    lua_pop(L, 1);
    return message;
  }
  return "";
}

int Throws(lua_State* L) {
  return lua_nativecall(
      L, [](lua_State*, void*) -> int { throw std::runtime_error("the lamp is broken"); }, nullptr);
}
int ThrowsUnknown(lua_State* L) {
  return lua_nativecall(
      L, [](lua_State*, void*) -> int { throw 42; }, nullptr);
}
int RaisesLuaError(lua_State* L) {
  return lua_nativecall(
      L, [](lua_State* L, void*) -> int { luaL_error(L, "plain %s", "lua error"); }, nullptr);
}
int Answers(lua_State* L) {
  return lua_nativecall(
      L,
      [](lua_State* L, void*) -> int {
        lua_pushnumber(L, 2 * luaL_checknumber(L, 1));
        return 1;
      },
      nullptr);
}

}  // namespace

TEST(LuaNativeCall, ExceptionsBecomeLuaErrorsWithThePosition) {
  State s;
  lua_register(s.L, "Throws", Throws);
  lua_register(s.L, "ThrowsUnknown", ThrowsUnknown);
  lua_register(s.L, "RaisesLuaError", RaisesLuaError);
  lua_register(s.L, "Answers", Answers);
  EXPECT_EQ(RunText(s.L, "Throws()"), "test:1: the lamp is broken");
  EXPECT_EQ(RunText(s.L, "\nThrowsUnknown()"), "test:2: native function failed");
  EXPECT_EQ(RunText(s.L, "RaisesLuaError()"), "test:1: plain lua error");
  // Caught by the script's own pcall like any Lua error, and the state goes on working.
  EXPECT_EQ(
      RunText(s.L, "local ok, m = pcall(Throws) assert(not ok and m == 'the lamp is broken')"), "");
  EXPECT_EQ(RunText(s.L, "assert(Answers(21) == 42)"), "");
  EXPECT_EQ(lua_gettop(s.L), 0);
}

#ifdef MC_LUA_CHECKS
int PushesPastItsFrame(lua_State* L) {
  for (int i = 0; i < LUA_MINSTACK + 1; i++) lua_pushnumber(L, i);
  return 0;
}
int ReadsBeyondItsFrame(lua_State* L) {
  return lua_type(L, LUA_MINSTACK + 5);
}
int PopsBelowItsBase(lua_State* L) {
  lua_settop(L, -3);  // called with one argument
  return 0;
}
int AnswersMoreThanItPushed(lua_State*) {
  return 3;
}

using LuaChecksDeathTest = testing::Test;

TEST_F(LuaChecksDeathTest, MisusedStackStopsTheTestBuild) {
  const char* const message = "interpreter check failed";
  EXPECT_DEATH(
      {
        State s;
        lua_register(s.L, "f", PushesPastItsFrame);
        RunText(s.L, "f()");
      },
      message);
  EXPECT_DEATH(
      {
        State s;
        lua_register(s.L, "f", ReadsBeyondItsFrame);
        RunText(s.L, "f()");
      },
      message);
  EXPECT_DEATH(
      {
        State s;
        lua_register(s.L, "f", PopsBelowItsBase);
        RunText(s.L, "f(1)");
      },
      message);
  EXPECT_DEATH(
      {
        State s;
        lua_register(s.L, "f", AnswersMoreThanItPushed);
        RunText(s.L, "f()");
      },
      message);
  // Upvalues belong to a running native function, not to the host's base level.
  EXPECT_DEATH(
      {
        State s;
        lua_pushvalue(s.L, lua_upvalueindex(1));
      },
      message);
}

TEST(LuaChecks, CheckedStackStaysUsable) {
  // The same pushes are fine once the function asked for the room.
  State s;
  lua_register(s.L, "f", [](lua_State* L) -> int {
    luaL_checkstack(L, 100, "test");
    for (int i = 0; i < 100; i++) lua_pushnumber(L, i);
    return 100;
  });
  EXPECT_EQ(RunText(s.L, "local t = {f()} assert(table.getn(t) == 100 and t[100] == 99)"), "");
}
#endif

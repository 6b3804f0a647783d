// Runs each Lua test script of tests/lua/scripts in a fresh state with all libraries;
// a script fails by raising an error (its asserts).
#include <gtest/gtest.h>

#include <string>

#include "script/lua/lua_api.h"
#include "script/lua/lua_aux.h"
#include "script/lua/lua_lib.h"

class LuaScript : public testing::TestWithParam<const char*> {};

TEST_P(LuaScript, RunsWithoutError) {
  lua_State* L = lua_open();
  ASSERT_NE(L, nullptr);
  luaL_openstdlibs(L);
  std::string path = std::string(MC_SOURCE_DIR) + "/tests/lua/scripts/" + GetParam() + ".lua";
  int status = luaL_dofile(L, path.c_str());
  const char* msg = status ? lua_tostring(L, -1) : "";
  EXPECT_EQ(status, 0) << (msg ? msg : "(non-string error)");
  lua_close(L);
}

INSTANTIATE_TEST_SUITE_P(Areas, LuaScript,
                         testing::Values("lexer", "syntax", "codegen", "dialect", "closures",
                                         "metatables", "coroutines", "errors", "strings",
                                         "patterns", "tables", "libs", "gc", "dump"));

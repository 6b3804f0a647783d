// Scripts run against the real interpreter and the real file system in a scratch folder;
// the log of each test can be read back, and the compiled-chunk cache starts empty.
#pragma once

#include <string>

#include "data/asset_manager.h"
#include "script/lua/lua_api.h"
#include "script/script_code.h"
#include "tests/files/file_test_fixture.h"

class ScriptTest : public FileSystemTest {
 protected:
  void SetUp() override {
    FileSystemTest::SetUp();
    ForgetCompiledScripts();
    StartLog();
  }
  void TearDown() override {
    ForgetCompiledScripts();
    FileSystemTest::TearDown();
  }

  // Runs text in L and answers the global name as a string afterwards ("" when not one).
  static std::string Global(lua_State* L, const char* name) {
    lua_getglobal(L, name);
    const char* text = lua_tostring(L, -1);
    std::string result = text ? text : "";
    lua_pop(L, 1);
    return result;
  }
  static double GlobalNumber(lua_State* L, const char* name) {
    lua_getglobal(L, name);
    const double result = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return result;
  }
  bool LogHas(const std::string& text) const { return LogText().find(text) != std::string::npos; }

  TAssetManager assets;
};

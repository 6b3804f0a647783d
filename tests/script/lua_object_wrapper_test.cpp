#include "script/lua_object_wrapper.h"

#include <memory>

#include "script/lua_function.h"
#include "script/lua_message.h"
#include "script/lua_table.h"
#include "script/lua_thread.h"
#include "script/script.h"
#include "tests/script/script_test_fixture.h"

namespace {

// Whether the value stored in gWeak[1] (a weak-valued table) is still alive after a full
// collection.
bool WeakEntryAlive(TScript& script) {
  lua_State* L = script.GetState();
  lua_fullgc(L);
  script.DoLuaString("gAlive = gWeak[1] ~= nil");
  lua_getglobal(L, "gAlive");
  const bool alive = lua_toboolean(L, -1) != 0;
  lua_pop(L, 1);
  return alive;
}

TEST_F(ScriptTest, HandlesKeepTheirValueAliveUntilDestroyed) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString("gWeak = setmetatable( {}, { __mode = 'v' } ) gWeak[1] = {}");
  lua_getglobal(L, "gWeak");
  lua_rawgeti(L, -1, 1);
  auto handle = std::make_unique<TLuaTable>(L);
  EXPECT_EQ(lua_gettop(L), 1);  // the handle took its value off the stack
  lua_pop(L, 1);
  EXPECT_TRUE(WeakEntryAlive(script));
  handle.reset();
  EXPECT_FALSE(WeakEntryAlive(script));
}

TEST_F(ScriptTest, FunctionHandlesCallThroughTheOwningScript) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString("function Add( a, b ) gSum = a + b return a * b end");
  lua_getglobal(L, "Add");
  TLuaFunction add(L);
  lua_pushnumber(L, 3);
  lua_pushnumber(L, 4);
  EXPECT_EQ(add.Call(2, 1), 0);
  EXPECT_EQ(lua_tonumber(L, -1), 12);
  lua_pop(L, 1);
  EXPECT_EQ(GlobalNumber(L, "gSum"), 7);

  script.DoLuaString("function Fail() error( 'callback failed' ) end");
  lua_getglobal(L, "Fail");
  TLuaFunction fail(L);
  EXPECT_NE(fail.Call(), 0);
  lua_settop(L, 0);
  EXPECT_TRUE(LogHas("Lua error: "));
  EXPECT_TRUE(LogHas("callback failed"));

  // A handle on something that is not a function fails the call without raising.
  lua_pushnumber(L, 1);
  TLuaFunction notAFunction(L);
  EXPECT_NE(notAFunction.Call(), 0);
  lua_settop(L, 0);
  EXPECT_NE(notAFunction.Call(5), 0);  // more arguments than the stack holds
}

TEST_F(ScriptTest, TableHandlesReadTypedValuesWithDefaults) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString(
      "gT = setmetatable( { name = 'dialog', width = 320, text = '12', [1] = 'first', [2] = 7 },"
      " { __index = function() error( 'not raw' ) end } )");
  lua_getglobal(L, "gT");
  TLuaTable table(L);
  EXPECT_EQ(table.GetString("name"), "dialog");
  EXPECT_EQ(table.GetString("width"), "320");
  EXPECT_EQ(table.GetString("missing", "none"), "none");
  EXPECT_EQ(table.GetNumber("width"), 320);
  EXPECT_EQ(table.GetNumber("text"), 12);
  EXPECT_EQ(table.GetNumber("name", -1), -1);
  EXPECT_EQ(table.GetString(1), "first");
  EXPECT_EQ(table.GetNumber(2), 7);
  EXPECT_EQ(table.GetNumber(3, 5), 5);
  EXPECT_TRUE(table.GetValue("name"));
  EXPECT_STREQ(lua_tostring(L, -1), "dialog");
  lua_pop(L, 1);
  EXPECT_FALSE(table.GetValue("missing"));
  EXPECT_TRUE(lua_isnil(L, -1));
  lua_pop(L, 1);
  EXPECT_FALSE(table.GetValue(nullptr));
  lua_pop(L, 1);
  EXPECT_EQ(lua_gettop(L), 0);

  lua_pushstring(L, "not a table");
  TLuaTable wrong(L);
  EXPECT_FALSE(wrong.GetValue("name"));
  lua_pop(L, 1);
  EXPECT_EQ(wrong.GetString("name", "d"), "d");
  EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ScriptTest, HandlesMadeInsideACoroutineOutliveIt) {
  TScript script;
  lua_State* L = script.GetState();
  std::unique_ptr<TLuaTable> kept;
  {
    TLuaThread thread(L);
    lua_State* co = thread.Thread();
    ASSERT_NE(co, nullptr);
    ASSERT_NE(co, L);
    lua_newtable(co);
    lua_pushstring(co, "value");
    lua_setglobal(co, "gFromThread");
    lua_pushstring(co, "key");
    lua_pushstring(co, "inside");
    lua_settable(co, -3);
    kept = std::make_unique<TLuaTable>(co);
    EXPECT_EQ(kept->State(), L);
  }
  lua_fullgc(L);  // the thread is gone now
  EXPECT_EQ(kept->GetString("key"), "inside");
  EXPECT_EQ(Global(L, "gFromThread"), "value");
  kept.reset();

  lua_newtable(L);
  TLuaMessage message(L);
  message.Push();
  EXPECT_TRUE(lua_istable(L, -1));
  lua_pop(L, 1);
}

}  // namespace

namespace {

TEST_F(ScriptTest, HandlesThatOutliveTheirScriptDoNothing) {
  std::unique_ptr<TLuaTable> table;
  std::unique_ptr<TLuaFunction> function;
  {
    TScript script;
    lua_State* L = script.GetState();
    script.DoLuaString("gT = { name = 'gone' } function gF() end");
    lua_getglobal(L, "gT");
    table = std::make_unique<TLuaTable>(L);
    lua_getglobal(L, "gF");
    function = std::make_unique<TLuaFunction>(L);
    EXPECT_TRUE(table->StateAlive());
    EXPECT_EQ(table->GetString("name"), "gone");
  }
  EXPECT_FALSE(table->StateAlive());
  EXPECT_EQ(table->GetString("name", "default"), "default");
  EXPECT_EQ(table->GetNumber(1, 4), 4);
  EXPECT_FALSE(table->RegisterTemp());
  EXPECT_NE(function->Call(), 0);
  table.reset();  // must not touch the closed state (ASan would tell)
  function.reset();
}

}  // namespace

#include "script/script.h"

#include <memory>

#include "files/file_map_handler.h"
#include "frame/application_time.h"
#include "frame/task_list.h"
#include "script/lua_table.h"
#include "script/native_binding.h"
#include "tests/script/script_test_fixture.h"

namespace {

// Runs one update pass of a task list holding the script.
struct TLoop {
  TTaskList list;
  TManualTime time{1000};
  void Pass() {
    time.Advance(16);
    list.Run(kUpdatePhase);
  }
};

TEST_F(ScriptTest, MainChunkReturningNothingRunsOnceAndIsNeverScheduled) {
  WriteFile("assets/scripts/once.lua", "gRuns = (gRuns or 0) + 1");
  InitFileSystem();
  TLoop loop;
  auto* script = new TScript;
  loop.list.Add(script);
  EXPECT_FALSE(script->IsScheduled());
  EXPECT_TRUE(script->RunScript("scripts/once.lua"));
  EXPECT_FALSE(script->IsScheduled());
  for (int i = 0; i < 3; ++i) loop.Pass();
  EXPECT_EQ(GlobalNumber(script->GetState(), "gRuns"), 1);
  EXPECT_EQ(script->Coroutine(), nullptr);
}

TEST_F(ScriptTest, ReturnedFunctionRunsAsACoroutineAcrossUpdatePasses) {
  WriteFile("assets/scripts/loop.lua",
            "gSteps = 0\n"
            "return function()\n"
            "  for i = 1, 3 do gSteps = i; coroutine.yield() end\n"
            "  gDone = 'yes'\n"
            "end\n");
  InitFileSystem();
  TLoop loop;
  auto* script = new TScript;
  loop.list.Add(script);
  ASSERT_TRUE(script->RunScript("scripts/loop.lua"));
  lua_State* L = script->GetState();
  // The body starts at once and stops at its first yield.
  EXPECT_EQ(GlobalNumber(L, "gSteps"), 1);
  EXPECT_TRUE(script->IsScheduled());
  EXPECT_TRUE(script->IsSuspended());
  loop.Pass();
  EXPECT_EQ(GlobalNumber(L, "gSteps"), 2);
  loop.Pass();
  EXPECT_EQ(GlobalNumber(L, "gSteps"), 3);
  EXPECT_EQ(Global(L, "gDone"), "");
  loop.Pass();
  EXPECT_EQ(Global(L, "gDone"), "yes");
  EXPECT_FALSE(script->IsScheduled());
  // Idle, but still on the list and still usable.
  loop.Pass();
  EXPECT_TRUE(loop.list.Contains(script));
  EXPECT_EQ(lua_gettop(L), 0);
  EXPECT_FALSE(LogHas("lua_resume"));
  script->DoLuaString("gAfter = 1");
  EXPECT_EQ(GlobalNumber(L, "gAfter"), 1);
}

TEST_F(ScriptTest, BodyThatNeverYieldsIsDoneAfterTheFirstResume) {
  TScript script;
  script.DoLuaString("return function() gRan = (gRan or 0) + 1 end");
  EXPECT_EQ(GlobalNumber(script.GetState(), "gRan"), 1);
  EXPECT_FALSE(script.IsScheduled());
  EXPECT_EQ(script.Coroutine(), nullptr);
  EXPECT_FALSE(LogHas("lua_resume"));
}

TEST_F(ScriptTest, CallsIntoASuspendedScriptKeepSixArgumentsAndRunOutsideTheCoroutine) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString(
      "function Record( ... ) gCount = arg.n; gSixth = arg[6]; gSeventh = arg[7] end\n"
      "return function() while true do coroutine.yield() end end");
  ASSERT_TRUE(script.IsSuspended());
  lua_getglobal(L, "Record");
  for (int i = 1; i <= 7; ++i) lua_pushnumber(L, i);
  EXPECT_EQ(script.RunFunction(7, 0), 0);
  EXPECT_EQ(GlobalNumber(L, "gSixth"), 6);
  EXPECT_EQ(Global(L, "gSeventh"), "");
  EXPECT_EQ(GlobalNumber(L, "gCount"), 6);
  EXPECT_EQ(lua_gettop(L), 0);
  // The helper was defined on demand.
  lua_getglobal(L, "GetClosure");
  EXPECT_TRUE(lua_isfunction(L, -1));
  lua_pop(L, 1);
  EXPECT_TRUE(script.IsSuspended());

  // Not suspended: all seven arrive.
  TScript plain;
  lua_State* P = plain.GetState();
  plain.DoLuaString("function Record( ... ) gCount = arg.n; gSeventh = arg[7] end");
  lua_getglobal(P, "Record");
  for (int i = 1; i <= 7; ++i) lua_pushnumber(P, i);
  EXPECT_EQ(plain.RunFunction(7, 0), 0);
  EXPECT_EQ(GlobalNumber(P, "gCount"), 7);
  EXPECT_EQ(GlobalNumber(P, "gSeventh"), 7);
}

// Resumes its coroutine with the closure it is given, the way the window script does.
class TDeliveringScript : public TScript {
 public:
  bool DeliverClosure() override {
    ++deliveries;
    return Resume(1) == 0;
  }
  int deliveries = 0;
};

TEST_F(ScriptTest, AcceptedClosuresAreNotCalledAgainByRunFunction) {
  TDeliveringScript script;
  lua_State* L = script.GetState();
  script.DoLuaString(
      "function Add( a, b ) gSum = (gSum or 0) + a + b end\n"
      "return function()\n"
      "  while true do local f = coroutine.yield(); if f then f(); gInside = 1 end end\n"
      "end");
  ASSERT_TRUE(script.IsSuspended());
  lua_getglobal(L, "Add");
  lua_pushnumber(L, 2);
  lua_pushnumber(L, 3);
  EXPECT_EQ(script.RunFunction(2, 0), 0);
  EXPECT_EQ(script.deliveries, 1);
  EXPECT_EQ(GlobalNumber(L, "gSum"), 5);
  EXPECT_EQ(GlobalNumber(L, "gInside"), 1);
  EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ScriptTest, ErrorsReachAlertAndTheLog) {
  WriteFile("assets/scripts/broken.lua", "x = = 1");
  WriteFile("assets/scripts/fails.lua", "local t = nil\nt.field = 1");
  WriteFile("assets/scripts/body_fails.lua",
            "return function() coroutine.yield(); error('late failure') end");
  InitFileSystem();
  TLoop loop;
  auto* script = new TScript;
  loop.list.Add(script);
  lua_State* L = script->GetState();

  EXPECT_FALSE(script->RunScript("scripts/broken.lua"));
  EXPECT_TRUE(LogHas("Lua error: "));
  EXPECT_TRUE(LogHas("broken.lua:1:"));

  EXPECT_FALSE(script->RunScript("scripts/fails.lua"));
  EXPECT_TRUE(LogHas("fails.lua:2:"));
  EXPECT_TRUE(LogHas("Failed to run script scripts/fails.lua: 1"));

  // A script may replace the sink.
  script->DoLuaString("gAlerts = '' function _ALERT( m ) gAlerts = gAlerts .. '[' .. m .. ']' end");
  ASSERT_TRUE(script->RunScript("scripts/body_fails.lua"));
  EXPECT_TRUE(script->IsScheduled());
  loop.Pass();
  EXPECT_TRUE(LogHas("lua_resume ERROR: "));
  EXPECT_TRUE(LogHas("late failure"));
  EXPECT_NE(Global(L, "gAlerts").find("late failure"), std::string::npos);
  EXPECT_FALSE(script->IsScheduled());
  loop.Pass();
  EXPECT_EQ(lua_gettop(L), 0);

  // A missing file is refused without a message.
  const std::string before = LogText();
  EXPECT_FALSE(script->RunScript("scripts/none.lua"));
  EXPECT_FALSE(script->RunScript(""));
  EXPECT_EQ(LogText(), before);
}

TEST_F(ScriptTest, DoLuaStringReportsParsingAndRunningFailures) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString(
      "gMessages = {} function LuaErrorMessage( m ) table.insert( gMessages, m ) end");
  lua_pushnumber(L, 42);  // something the caller had on the stack
  script.DoLuaString("if then");
  script.DoLuaString("error( 'boom' )");
  script.DoLuaString("gLength = 1 this is not run", 11);
  EXPECT_EQ(lua_gettop(L), 1);
  EXPECT_EQ(lua_tonumber(L, 1), 42);
  script.DoLuaString("gFirst = gMessages[1] gSecond = gMessages[2] gCount = table.getn(gMessages)");
  EXPECT_EQ(GlobalNumber(L, "gCount"), 2);
  EXPECT_EQ(GlobalNumber(L, "gLength"), 1);
  const std::string first = Global(L, "gFirst");
  const std::string second = Global(L, "gSecond");
  EXPECT_EQ(first.rfind("Lua Error: ", 0), 0u);
  EXPECT_NE(first.find("\n\twhen parsing"), std::string::npos);
  EXPECT_NE(second.find("boom\n\twhen running"), std::string::npos);
  EXPECT_TRUE(LogHas("DoLuaString Lua Error: "));
  EXPECT_TRUE(LogHas("when running error( 'boom' )"));
}

TEST_F(ScriptTest, PopConversionsAndTheirLogLines) {
  TScript script;
  lua_State* L = script.GetState();
  lua_pushnil(L);
  EXPECT_FALSE(script.PopBool());
  lua_pushboolean(L, 1);
  EXPECT_TRUE(script.PopBool());
  lua_pushnumber(L, 0);
  EXPECT_FALSE(script.PopBool());
  lua_pushnumber(L, -0.5);
  EXPECT_TRUE(script.PopBool());
  lua_pushstring(L, "true");
  EXPECT_FALSE(script.PopBool());
  EXPECT_TRUE(LogHas("PopBool used on lua string true"));
  lua_newtable(L);
  EXPECT_FALSE(script.PopBool());
  EXPECT_TRUE(LogHas("PopBool used on a type that isn't a number, a boolean, or nil. (type: 5)"));
  EXPECT_EQ(lua_gettop(L), 0);
  EXPECT_FALSE(script.PopBool());  // empty stack: nothing taken

  lua_pushstring(L, " 12.5 ");
  EXPECT_EQ(script.PopNumber(), 12.5);
  lua_pushstring(L, "abc");
  EXPECT_EQ(script.PopNumber(), 0);
  lua_pushnumber(L, 7);
  EXPECT_EQ(script.PopString(), "7");
  lua_pushlstring(L, "a\0b", 3);
  EXPECT_EQ(script.PopString(), std::string("a\0b", 3));
  lua_newtable(L);
  EXPECT_EQ(script.PopString(), "");
  EXPECT_EQ(lua_gettop(L), 0);
}

TEST_F(ScriptTest, TempObjectsLastUntilTheNextCallOrResume) {
  TScript script;
  lua_State* L = script.GetState();
  script.DoLuaString(
      "gWeak = setmetatable( {}, { __mode = 'v' } )\n"
      "function Make() local t = { 1 } gWeak[1] = t return t end");
  lua_getglobal(L, "Make");
  ASSERT_EQ(script.RunFunction(0, 1), 0);
  auto* table = new TLuaTable(L);
  EXPECT_TRUE(table->RegisterTemp());
  EXPECT_EQ(script.TempObjectCount(), 1u);
  lua_fullgc(L);
  script.DoLuaString("gAlive = gWeak[1] ~= nil");  // DoLuaString's call clears them first
  EXPECT_EQ(script.TempObjectCount(), 0u);
  lua_getglobal(L, "gAlive");
  EXPECT_TRUE(lua_toboolean(L, -1));
  lua_pop(L, 1);
  lua_fullgc(L);
  script.DoLuaString("gAlive = gWeak[1] ~= nil");
  lua_getglobal(L, "gAlive");
  EXPECT_FALSE(lua_toboolean(L, -1));
  lua_pop(L, 1);
}

TEST_F(ScriptTest, ThreadScriptsShareGlobalsAndRunTheirOwnCoroutines) {
  TLoop loop;
  auto* parent = new TScript;
  loop.list.Add(parent);
  std::unique_ptr<TScript> child(parent->CreateThreadScript());
  ASSERT_NE(child, nullptr);
  EXPECT_NE(child->GetState(), parent->GetState());
  parent->DoLuaString("gShared = 'from parent'");
  EXPECT_EQ(Global(child->GetState(), "gShared"), "from parent");
  EXPECT_EQ(TScript::FromState(child->GetState()), parent);

  child->DoLuaString("return function() gChild = 1 coroutine.yield() gChild = 2 end");
  EXPECT_TRUE(child->IsSuspended());
  EXPECT_FALSE(parent->IsSuspended());
  EXPECT_EQ(GlobalNumber(parent->GetState(), "gChild"), 1);
  child->Animate();
  EXPECT_EQ(GlobalNumber(parent->GetState(), "gChild"), 2);
  EXPECT_FALSE(child->IsScheduled());
  child.reset();  // the state lives on with its owner
  parent->DoLuaString("gStill = gShared .. '!'");
  EXPECT_EQ(Global(parent->GetState(), "gStill"), "from parent!");
}

TEST_F(ScriptTest, GlobalsOfEveryState) {
  TScript script;
  lua_State* L = script.GetState();
  lua_getglobal(L, "_SCRIPT");
  EXPECT_EQ(lua_touserdata(L, -1), &script);
  lua_pop(L, 1);
  EXPECT_EQ(TScript::FromState(L), &script);
  // A forged or cleared "_SCRIPT" is not believed.
  script.DoLuaString("_SCRIPT = nil");
  EXPECT_EQ(TScript::FromState(L), nullptr);

  script.DoLuaString(
      "gOut = '' function DebugOut( s ) gOut = gOut .. s end\n"
      "local t = { name = 'box', inner = { value = 3 } } t.inner.loop = t\n"
      "DumpTable( t )");
  const std::string out = Global(L, "gOut");
  EXPECT_EQ(out.rfind("Dump Table: \n", 0), 0u);
  EXPECT_NE(out.find("name = box\n"), std::string::npos);
  EXPECT_NE(out.find("    value = 3\n"), std::string::npos);
  EXPECT_NE(out.find("...\n"), std::string::npos);  // the loop ends at the depth limit

  // _ALERT logs and the standard libraries are there; math is not part of a script state.
  script.DoLuaString(
      "_ALERT( 'by hand' ) gKinds = type(string.format) .. type(table.insert) .. "
      "type(coroutine.yield) .. type(math)");
  EXPECT_TRUE(LogHas("Lua error: by hand"));
  EXPECT_EQ(Global(L, "gKinds"), "functionfunctionfunctionnil");
}

TEST_F(ScriptTest, LoadfileAndDofileReadPackageMembers) {
  WriteFile("assets/assets.tvp",
            Package({{"scripts/lib.lua", Bytes("gLib = 'packed' return 5")},
                     {"scripts/main.lua", Bytes("gResult = dofile( 'scripts/lib.lua' ) + 1")}}));
  InitFileSystem();
  TScript script;
  EXPECT_TRUE(script.RunScript("scripts/main.lua"));
  EXPECT_EQ(Global(script.GetState(), "gLib"), "packed");
  EXPECT_EQ(GlobalNumber(script.GetState(), "gResult"), 6);
  script.DoLuaString("gLib = nil require( 'scripts/lib' ) gRequired = gLib");
  EXPECT_EQ(Global(script.GetState(), "gRequired"), "packed");
  script.DoLuaString("local f, e = loadfile( 'scripts/missing.lua' ) gMissing = e");
  EXPECT_NE(Global(script.GetState(), "gMissing").find("scripts/missing.lua"), std::string::npos);
}

}  // namespace

namespace {

// A native function that suspends the script until the next update pass, the way the
// window script waits for messages.
int WaitFrame(lua_State* L) {
  return lua_yield(L, 0);
}

TEST_F(ScriptTest, NativeFunctionsMayYieldTheCoroutine) {
  TScript script;
  RegisterStateFunction(script.GetState(), "WaitFrame", &WaitFrame);
  script.DoLuaString("return function() gStep = 1 WaitFrame() gStep = 2 WaitFrame() gStep = 3 end");
  lua_State* L = script.GetState();
  EXPECT_EQ(GlobalNumber(L, "gStep"), 1);
  script.Animate();
  EXPECT_EQ(GlobalNumber(L, "gStep"), 2);
  EXPECT_TRUE(script.IsScheduled());
  script.Animate();
  EXPECT_EQ(GlobalNumber(L, "gStep"), 3);
  EXPECT_FALSE(script.IsScheduled());
  // Outside a coroutine the same call is an error, not a crash.
  script.DoLuaString("WaitFrame()");
  EXPECT_TRUE(LogHas("attempt to yield"));
}

TEST_F(ScriptTest, ABorrowedStateIsLeftOpenAndForgetsTheScript) {
  lua_State* L = lua_open();
  {
    TScript borrowed(L);
    EXPECT_EQ(TScript::FromState(L), &borrowed);
    borrowed.DoLuaString("gValue = 'kept'");
  }
  lua_getglobal(L, "_SCRIPT");
  EXPECT_TRUE(lua_isnil(L, -1));
  lua_pop(L, 1);
  EXPECT_EQ(Global(L, "gValue"), "kept");
  lua_close(L);
}

}  // namespace

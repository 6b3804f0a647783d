#include "script/native_binding.h"

#include <memory>
#include <string>

#include "frame/application_time.h"
#include "frame/task_list.h"
#include "script/script.h"
#include "tests/script/script_test_fixture.h"

namespace {

int gInt;
long long gLong;
unsigned char gByte;
double gDouble;
float gFloat;
bool gBool;
std::string gString;
std::string gCString;
bool gNullHandle;
std::unique_ptr<TLuaFunction> gKeptFunction;

void TakeIntegers(int i, long long l, unsigned char b) {
  gInt = i;
  gLong = l;
  gByte = b;
}
void TakeFloating(double d, float f) {
  gDouble = d;
  gFloat = f;
}
std::u16string gWide;
std::u16string Wide(const std::u16string& text) {
  gWide = text;
  return text + u"\u00e9\u4e2d";
}
void TakeBool(bool b) {
  gBool = b;
}
void TakeStrings(const std::string& s, const char* c) {
  gString = s;
  gCString = c;
}
std::string CallBack(TLuaFunction* f, int value) {
  if (!f) return "no function";
  lua_pushnumber(f->State(), value);
  if (f->Call(1, 1) != 0) return "failed";
  lua_State* L = f->State();
  std::string result = lua_tostring(L, -1) ? lua_tostring(L, -1) : "";
  lua_pop(L, 1);
  return result;
}
bool gRegistered = true;
double TableWidth(TLuaTable* t) {
  gNullHandle = t == nullptr;
  // The binding deletes this handle after the call; the script must not get it as well.
  if (t) gRegistered = t->RegisterTemp();
  return t ? t->GetNumber("width", -1) : -2;
}
void KeepFunction(std::unique_ptr<TLuaFunction> f) {
  gKeptFunction = std::move(f);
}
const char* MaybeName(bool give) {
  return give ? "name" : nullptr;
}
bool Negate(bool b) {
  return !b;
}
int Fail(int code) {
  if (code == 1) throw TScriptError("native failure 1");
  if (code == 2) throw std::out_of_range("index out of range");
  if (code == 3) throw 42;
  return code;
}
int Counted(lua_State* L) {
  const int n = lua_gettop(L);
  lua_pushnumber(L, n);
  lua_pushstring(L, "two");
  return 2;
}
int StateFails(lua_State* L) {
  if (!lua_isnumber(L, 1)) throw TScriptError("a number please");
  return 0;
}

class TCounter {
 public:
  int Add(int n) { return total += n; }
  int Get() const { return total; }
  void Reset() { total = 0; }
  int Raw(lua_State* L) {
    lua_pushnumber(L, total * 10);
    return 1;
  }
  int total = 0;
};

class BindingTest : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    script = std::make_unique<TScript>();
    L = script->GetState();
  }
  void TearDown() override {
    gKeptFunction.reset();
    script.reset();
    ScriptTest::TearDown();
  }
  void Run(const char* text) {
    script->DoLuaString(text);
    EXPECT_EQ(lua_gettop(L), 0);
  }
  std::unique_ptr<TScript> script;
  lua_State* L = nullptr;
};

TEST_F(BindingTest, IntegersTruncateTowardZeroAndSaturate) {
  RegisterFunction(L, "TakeIntegers", &TakeIntegers);
  Run("TakeIntegers( 3.9, -3.9, 255.7 )");
  EXPECT_EQ(gInt, 3);
  EXPECT_EQ(gLong, -3);
  EXPECT_EQ(gByte, 255);
  Run("TakeIntegers( 1e12, -1e30, -5 )");
  EXPECT_EQ(gInt, 2147483647);
  EXPECT_EQ(gLong, std::numeric_limits<long long>::min());
  EXPECT_EQ(gByte, 0);
  Run("TakeIntegers( ' 42 ', 'abc', nil )");  // numeric strings convert, others are 0
  EXPECT_EQ(gInt, 42);
  EXPECT_EQ(gLong, 0);
  Run("TakeIntegers( 0/0 )");  // NaN and missing arguments
  EXPECT_EQ(gInt, 0);
}

TEST_F(BindingTest, FloatingPointAndBooleans) {
  RegisterFunction(L, "TakeFloating", &TakeFloating);
  RegisterFunction(L, "TakeBool", &TakeBool);
  Run("TakeFloating( 2.75, '0.5' )");
  EXPECT_EQ(gDouble, 2.75);
  EXPECT_EQ(gFloat, 0.5f);
  Run("TakeBool( true )");
  EXPECT_TRUE(gBool);
  Run("TakeBool( 0 )");
  EXPECT_FALSE(gBool);
  Run("TakeBool( -2 )");
  EXPECT_TRUE(gBool);
  Run("TakeBool()");
  EXPECT_FALSE(gBool);
  Run("TakeBool( 'yes' )");
  EXPECT_FALSE(gBool);
  EXPECT_TRUE(LogHas("PopBool used on lua string yes"));
  Run("TakeBool( {} )");
  EXPECT_FALSE(gBool);
  EXPECT_TRUE(LogHas("(type: 5)"));
}

TEST_F(BindingTest, StringsFollowTheStackRules) {
  RegisterFunction(L, "TakeStrings", &TakeStrings);
  Run("TakeStrings( 'text', 12 )");
  EXPECT_EQ(gString, "text");
  EXPECT_EQ(gCString, "12");
  Run("TakeStrings( nil, {} )");
  EXPECT_EQ(gString, "");
  EXPECT_EQ(gCString, "");
  Run("TakeStrings( 'a\\0b' )");
  EXPECT_EQ(gString, std::string("a\0b", 3));
  // A number argument becomes text in its own slot, as the stack's string rules do.
  Run("local n = 1.5 TakeStrings( n, n ) gType = type( n )");
  EXPECT_EQ(gString, "1.5");
  EXPECT_EQ(Global(L, "gType"), "number");
}

TEST_F(BindingTest, WideStrings) {
  RegisterFunction(L, "Wide", &Wide);
  RegisterFunction(L, "TakeStrings", &TakeStrings);
  Run("gW = Wide( L\"ab\\x4e2d\" ) gType = type( gW ) gLen = string.len( gW )");
  EXPECT_EQ(gWide, u"ab\u4e2d");
  EXPECT_EQ(Global(L, "gType"), "wstring");
  EXPECT_EQ(GlobalNumber(L, "gLen"), 5);
  Run("Wide( 'caf\\233' )");  // plain strings widen byte by byte
  EXPECT_EQ(gWide, u"caf\u00e9");
  Run("Wide( 2.5 )");
  EXPECT_EQ(gWide, u"2.5");
  Run("Wide( {} )");
  EXPECT_EQ(gWide, u"");
  // A plain-string parameter gets a wide string narrowed; codes above 255 become '?'.
  Run("TakeStrings( L\"x\\xe9\\x4e2d\", L\"\" )");
  EXPECT_EQ(gString, "x\xe9?");
  EXPECT_EQ(gCString, "");
}

TEST_F(BindingTest, HandleArguments) {
  RegisterFunction(L, "CallBack", &CallBack);
  RegisterFunction(L, "TableWidth", &TableWidth);
  RegisterFunction(L, "KeepFunction", &KeepFunction);
  Run("gResult = CallBack( function( v ) return 'got ' .. v end, 5.8 )");
  EXPECT_EQ(Global(L, "gResult"), "got 5");
  Run("gResult = CallBack( 'not a function', 1 )");
  EXPECT_EQ(Global(L, "gResult"), "no function");
  Run("gResult = CallBack( function() error( 'inner' ) end, 1 )");
  EXPECT_EQ(Global(L, "gResult"), "failed");
  Run("gWidth = TableWidth( { width = 640 } )");
  EXPECT_EQ(GlobalNumber(L, "gWidth"), 640);
  EXPECT_FALSE(gNullHandle);
  EXPECT_FALSE(gRegistered);
  EXPECT_EQ(script->TempObjectCount(), 0u);
  Run("gWidth = TableWidth( 3 )");
  EXPECT_EQ(GlobalNumber(L, "gWidth"), -2);
  EXPECT_TRUE(gNullHandle);

  Run("KeepFunction( function() gCalled = 'later' end )");
  ASSERT_NE(gKeptFunction, nullptr);
  lua_fullgc(L);
  EXPECT_EQ(gKeptFunction->Call(), 0);
  EXPECT_EQ(Global(L, "gCalled"), "later");
  Run("KeepFunction( nil )");
  EXPECT_EQ(gKeptFunction, nullptr);
}

TEST_F(BindingTest, Results) {
  RegisterFunction(L, "MaybeName", &MaybeName);
  RegisterFunction(L, "Negate", &Negate);
  RegisterFunction(L, "TakeBool", &TakeBool);
  Run("gA = MaybeName( true ) gB = type( MaybeName( false ) ) gC = Negate( false ) "
      "gD = type( Negate( 1 ) ) gF = table.getn( { TakeBool( true ) } )");
  EXPECT_EQ(Global(L, "gA"), "name");
  EXPECT_EQ(Global(L, "gB"), "nil");
  lua_getglobal(L, "gC");
  EXPECT_TRUE(lua_isboolean(L, -1) && lua_toboolean(L, -1));
  lua_pop(L, 1);
  EXPECT_EQ(Global(L, "gD"), "boolean");
  EXPECT_EQ(GlobalNumber(L, "gF"), 0);  // void pushes nothing
}

TEST_F(BindingTest, ExceptionsBecomeLuaErrors) {
  RegisterFunction(L, "Fail", &Fail);
  Run("gOk, gMessage = pcall( Fail, 1 )");
  EXPECT_EQ(Global(L, "gOk"), "");
  EXPECT_NE(Global(L, "gMessage").find("native failure 1"), std::string::npos);
  Run("gOk, gMessage = pcall( Fail, 2 )");
  EXPECT_NE(Global(L, "gMessage").find("index out of range"), std::string::npos);
  Run("gOk, gMessage = pcall( Fail, 3 )");
  EXPECT_NE(Global(L, "gMessage").find("native function failed"), std::string::npos);
  Run("gValue = Fail( 9 )");
  EXPECT_EQ(GlobalNumber(L, "gValue"), 9);
  // Unprotected in a script: the error goes to _ALERT and the script goes on living.
  Run("Fail( 1 )");
  EXPECT_TRUE(LogHas("Lua error: "));
  EXPECT_TRUE(LogHas("native failure 1"));
  // Inside a coroutine body the failure ends the body only.
  Run("return function() coroutine.yield() Fail( 2 ) end");
  EXPECT_TRUE(script->IsSuspended());
  script->Animate();
  EXPECT_FALSE(script->IsScheduled());
  EXPECT_TRUE(LogHas("lua_resume ERROR: "));
  Run("gAfter = Fail( 4 )");
  EXPECT_EQ(GlobalNumber(L, "gAfter"), 4);
}

TEST_F(BindingTest, MemberAndStateFunctions) {
  TCounter counter;
  RegisterMethod(L, "Add", &counter, &TCounter::Add);
  RegisterMethod(L, "Get", static_cast<const TCounter*>(&counter), &TCounter::Get);
  RegisterMethod(L, "Reset", &counter, &TCounter::Reset);
  RegisterStateMethod(L, "Raw", &counter, &TCounter::Raw);
  RegisterStateFunction(L, "Counted", &Counted);
  RegisterStateFunction(L, "StateFails", &StateFails);
  Run("Add( 2 ) Add( 3.7 ) gTotal = Get() gRaw = Raw()");
  EXPECT_EQ(counter.total, 5);
  EXPECT_EQ(GlobalNumber(L, "gTotal"), 5);
  EXPECT_EQ(GlobalNumber(L, "gRaw"), 50);
  Run("Reset()");
  EXPECT_EQ(counter.total, 0);
  Run("gN, gS = Counted( 1, nil, 'x' )");
  EXPECT_EQ(GlobalNumber(L, "gN"), 3);
  EXPECT_EQ(Global(L, "gS"), "two");
  Run("gOk, gMessage = pcall( StateFails, 'x' )");
  EXPECT_NE(Global(L, "gMessage").find("a number please"), std::string::npos);
  // Lua's own errors raised inside a state function pass through as they are.
  Run("gOk, gMessage = pcall( string.rep )");
  EXPECT_NE(Global(L, "gMessage").find("bad argument"), std::string::npos);
}

// The whole path: a script file from a package runs as a task across frames of a loop and
// calls native functions on the way.
int gFrames = 0;
int CountFrame() {
  return ++gFrames;
}
std::string gReport;
void Report(const std::string& text) {
  gReport += text + ";";
}

TEST_F(BindingTest, PackagedScriptRunsAsATaskAndCallsNatives) {
  WriteFile(
      "assets/assets.tvp",
      Package({{"scripts/anim.lua", Bytes("Report( 'start' )\n"
                                          "return function()\n"
                                          "  while CountFrame() < 4 do coroutine.yield() end\n"
                                          "  Report( 'frames ' .. gFrames_seen( ) )\n"
                                          "end\n"
                                          "\n")}}));
  InitFileSystem();
  gFrames = 0;
  gReport.clear();
  RegisterFunction(L, "CountFrame", &CountFrame);
  RegisterFunction(L, "Report", &Report);
  Run("function gFrames_seen() return CountFrame() - 1 end");
  TManualTime time(500);
  TTaskList list;
  TScript* task = script.release();
  list.Add(task);
  ASSERT_TRUE(task->RunScript("scripts/anim.lua"));
  EXPECT_EQ(gReport, "start;");
  int passes = 0;
  while (task->IsScheduled() && passes < 10) {
    time.Advance(20);
    list.Run(kUpdatePhase);
    ++passes;
  }
  EXPECT_EQ(passes, 3);
  EXPECT_EQ(gReport, "start;frames 4;");
  EXPECT_FALSE(LogHas("Lua error"));
}

}  // namespace

#include <gtest/gtest.h>

#include "data/settings.h"
#include "frame/application_time.h"
#include "frame/event.h"
#include "script/lua/lua_api.h"
#include "tests/script/script_test_fixture.h"
#include "ui/engine_vocabulary.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/widget_hooks.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"
#include "ui_test_support.h"

namespace {

class TLabelWindow : public TWindow, public TLabelledWindow {
 public:
  static TWindow* Create() { return new TLabelWindow; }
  std::string GetLabelText() const override { return text; }
  void SetLabelText(const std::string& t) override { text = t; }
  std::string text = "initial";
};

class TToggleWindow : public TWindow, public TButtonWindow {
 public:
  static TWindow* Create() { return new TToggleWindow; }
  bool IsDefaultButton() const override { return false; }
  bool Press() override { return false; }
  bool GetToggleState() const override { return on; }
  void SetToggleState(bool state) override { on = state; }
  bool on = false;
};

class WindowScriptTest : public ScriptTest, protected TWindowSystemHarness {
 protected:
  // testing::Test has a Run of its own.
  using TWindowSystemHarness::Run;

  void SetUp() override {
    ScriptTest::SetUp();
    InitFileSystem();
    StartWindowSystem();
    manager->AddWindowType("Label", &TLabelWindow::Create);
    manager->AddWindowType("Toggle", &TToggleWindow::Create);
  }
  void TearDown() override {
    if (HasFailure()) std::printf("log:\n%s\n", LogText().c_str());
    StopWindowSystem();
    ScriptTest::TearDown();
  }
  // The file system scans its folders when it starts: write files first, then rescan.
  void AddFile(const std::string& path, const std::string& text) {
    WriteFile(path, text);
    ResetFileSystem();
    InitFileSystem();
  }
  void Key(int kind, int param) { Event(kind, 0, 0, param); }
  std::string G(const char* name) { return Global(L, name); }
};

TEST_F(WindowScriptTest, LibraryConstantsAndHelpers) {
  Run("gDialogWidth = 400; r = DistributeX(3)"
      " s = kCenter .. ',' .. kMax .. ',' .. kRadioButtonAlignment .. ',' .. kModalClosed"
      " .. ',' .. kGameVersion .. ',' .. r[1] .. ',' .. r[3] .. ',' .. gCurID");
  EXPECT_EQ(G("s"), "80000,160000,4,6,version,100,300,100");
  EXPECT_EQ(G("LUA_PATH"), "?;../?;../../?");
}

TEST_F(WindowScriptTest, EngineVocabularyIsWhatScriptsSee) {
  const TDialogVocabulary& engine = EngineVocabulary();
  for (const TScriptConstant& constant : engine.constants) {
    const std::string name(constant.name);
    SCOPED_TRACE(name);
    lua_getglobal(L, name.c_str());
    if (constant.kind == TScriptConstant::kText) {
      ASSERT_EQ(lua_type(L, -1), LUA_TSTRING);
      EXPECT_EQ(std::string(lua_tostring(L, -1)), constant.text);
    } else {
      ASSERT_EQ(lua_type(L, -1), LUA_TNUMBER);
      EXPECT_EQ(lua_tonumber(L, -1), constant.number);
    }
    lua_pop(L, 1);
  }
  for (const TWindowType& type : engine.windowTypes) {
    const std::string name(type.name);
    EXPECT_EQ(script->FindType(name), type.create) << name;
    lua_getglobal(L, name.c_str());
    EXPECT_EQ(lua_type(L, -1), LUA_TFUNCTION) << name;
    lua_pop(L, 1);
  }
  // The message types scripts used to write as bare numbers have their names.
  Run("s = kTextChanged .. ',' .. kScriptCall .. ',' .. kSliderRailAfter");
  EXPECT_EQ(G("s"), "7,8,12");
}

// A window class of a library outside ui/, with its own message type.
enum TBellMessage : int { kBellRang = kFirstGameMessageType + 7 };

class TBellWindow : public TWindow {
 public:
  static TWindow* Create() { return new TBellWindow; }
  const char* GetClassName() const override { return "TBellWindow"; }
};

constexpr TWindowType kBellTypes[] = {{"Bell", &TBellWindow::Create}};
constexpr TScriptConstant kBellConstants[] = {
    TScriptConstant::Message("kBellRang", kBellRang),
    TScriptConstant::Text("kBellSetting", "bell_volume"),
};

TEST_F(WindowScriptTest, ALibraryRegistersItsWindowTypesAndMessageTypesInOneCall) {
  manager->AddVocabulary({kBellTypes, kBellConstants});
  Run("return function()"
      "  PushModal('belfry') MakeDialog{ Bell{ name = 'bell', w = 10, h = 10 } }"
      "  local m = WaitForMessage()"
      "  heard = tostring(m.type == kBellRang) .. ',' .. m.name .. ',' .. kBellSetting"
      " end");
  TWindow* bell = manager->TopModal()->FindChild("bell");
  ASSERT_NE(bell, nullptr);
  EXPECT_STREQ(bell->GetClassName(), "TBellWindow");
  manager->PostMessage(new TMessage(kBellRang, "bell"));
  Pass();
  EXPECT_EQ(G("heard"), "true,bell,bell_volume");
}

TEST_F(WindowScriptTest, AMessageTypeNumberBelongsToOneName) {
  // Two names for one number would make scripts disagree about what arrived.
  const TScriptConstant clash[] = {TScriptConstant::Message("kBellPressed", kButtonPress)};
  manager->AddVocabulary({{}, clash});
  EXPECT_EQ(G("kBellPressed"), "");
  EXPECT_TRUE(LogHas("message type 3 of kBellPressed is taken by kButtonPress"));
  // A name registered again with another number gives its old number free.
  const TScriptConstant first[] = {TScriptConstant::Message("kBellRang", 150)};
  const TScriptConstant moved[] = {TScriptConstant::Message("kBellRang", 151)};
  const TScriptConstant reuse[] = {TScriptConstant::Message("kBellTolled", 150)};
  manager->AddVocabulary({{}, first});
  manager->AddVocabulary({{}, moved});
  manager->AddVocabulary({{}, reuse});
  EXPECT_EQ(G("kBellRang"), "151");
  EXPECT_EQ(G("kBellTolled"), "150");
  // Names scripts could not write are refused.
  const TScriptConstant bad[] = {TScriptConstant::Number("end", 1),
                                 TScriptConstant::Number("2nd", 2)};
  manager->AddVocabulary({{}, bad});
  EXPECT_TRUE(LogHas("bad constant name end"));
  EXPECT_TRUE(LogHas("bad constant name 2nd"));
}

TEST_F(WindowScriptTest, DescriptionsBuildTheTreeWithStylesScopedToGroups) {
  Run("PushModal('dlg')"
      "MakeDialog{ name = 'dialog',"
      "  Window{ name = 'a', x = 10, y = 10, w = 50, h = 20 },"
      "  Group{ SetStyle{ w = 77, h = 5 }, Window{ name = 'b', x = 0 } },"
      "  Window{ name = 'c', x = kCenter, w = 100, h = 10,"
      "    Window{ name = 'inner', x = 5, y = 2, w = 300, h = 300 }, fit = true },"
      "  Label{ name = 'label' }, Toggle{ name = 'toggle' },"
      "}");
  TModalWindow* top = manager->TopModal();
  ASSERT_NE(top, manager->Screen());
  EXPECT_EQ(top->GetName(), "dialog");
  TWindow* b = top->FindChild("b");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->Width(), 77);
  TWindow* c = top->FindChild("c");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->GetRect().left, 350);
  EXPECT_EQ(c->Width(), 305);  // grew to its child at PostCreate
  EXPECT_EQ(top->FindChild("inner")->GetParent(), c);
  EXPECT_EQ(script->ParentStack(), (std::vector<TWindow*>{top}));
  // After the group the style is back to the outer one (none).
  EXPECT_EQ(G("gCurrentDefaultStyle.w"), "");
  Run("l1 = GetLabel('label'); l2 = GetLabel('c'); l3 = GetLabel('nope')"
      " SetLabel('label', 'changed'); l4 = GetLabel('label')");
  EXPECT_EQ(G("l1"), "initial");
  EXPECT_EQ(G("l2"), "c_is_not_a_TText_window_or_TButton");
  EXPECT_EQ(G("l3"), "nope_is_not_found");
  EXPECT_EQ(G("l4"), "changed");
}

TEST_F(WindowScriptTest, UnknownTypesAreLoggedAndLeaveTheEnclosingWindowAlone) {
  Run("PushModal('dlg') Unknown = function(t) t.typename = 'Unknown'"
      " return function() DoWindow(t) end end"
      " MakeDialog{ Window{ name = 'before', w = 10, h = 10 },"
      "   Unknown{ name = 'u', x = 7, y = 9, fit = true, Window{ name = 'child' } },"
      "   Window{ name = 'after', w = 10, h = 10 } }");
  TModalWindow* top = manager->TopModal();
  EXPECT_TRUE(LogHas("unknown window type 'Unknown'"));
  // Neither renamed nor laid out by the description, and its children were not made.
  EXPECT_EQ(top->GetName(), "dlg");
  EXPECT_EQ(top->GetRect(), (TRect{0, 0, 800, 600}));
  EXPECT_EQ(top->FindChild("child"), nullptr);
  // The siblings around it are made in the enclosing window as usual.
  ASSERT_NE(top->FindChild("before"), nullptr);
  ASSERT_NE(top->FindChild("after"), nullptr);
  EXPECT_EQ(top->FindChild("after")->GetParent(), top);
  EXPECT_EQ(script->ParentStack(), (std::vector<TWindow*>{top}));
}

TEST_F(WindowScriptTest, ReRegisteringATypeReplacesItsCreator) {
  manager->AddWindowType("Label", &TToggleWindow::Create);
  Run("PushModal('dlg') MakeDialog{ Label{ name = 'x' } }");
  EXPECT_NE(dynamic_cast<TToggleWindow*>(manager->TopModal()->FindChild("x")), nullptr);
  // Names that are no identifiers never reach Lua.
  manager->AddWindowType("bad name(", &TWindow::Create);
  EXPECT_EQ(script->FindType("bad name("), nullptr);
}

TEST_F(WindowScriptTest, MessagesArrivingWhileNotWaitingAreReadNewestFirst) {
  // No coroutine is waiting: both go to gMessageQueue, a closure to gCommandQueue.
  script->HandleMessage(std::make_unique<TMessage>(kButtonPress, "first"));
  script->HandleMessage(std::make_unique<TMessage>(kButtonPress, "second"));
  Run("return function()"
      "  local a = WaitForMessage(); local b = WaitForMessage()"
      "  order = a.name .. ',' .. b.name .. ',' .. a.type"
      "  local c = WaitForMessage(); last = c.name"
      " end");
  EXPECT_EQ(G("order"), "second,first,3");
  EXPECT_EQ(script->WaitState(), TWindowScript::kWaitingForMessage);
  EXPECT_FALSE(script->IsScheduled());  // waits without a timer
  manager->PostMessage(new TMessage(kButtonPress, "third"));
  Pass();
  EXPECT_EQ(G("last"), "third");
}

TEST_F(WindowScriptTest, PostedMessagesComeBackAsTheSameValue) {
  Run("return function()"
      "  mine = CreateNamedMessage(kButtonPress, 'mine'); PostMessage(mine)"
      "  local m = WaitForMessage(); same = tostring(m == mine)"
      " end");
  Pass();
  EXPECT_EQ(G("same"), "true");
}

TEST_F(WindowScriptTest, DoModalWaitsForItsCloseAndReturnsTheValue) {
  AddFile("assets/dialogs/ask.lua",
          "MakeDialog{ Window{ name = 'ok', x = 0, y = 0, w = 40, h = 20 } }");
  Run("return function() result = DoModal('dialogs/ask.lua') done = 1 end");
  TModalWindow* dialog = manager->TopModal();
  ASSERT_EQ(dialog->GetName(), "dialogs/ask.lua");
  // A new modal window takes its parent's size; fitting never shrinks it.
  EXPECT_EQ(dialog->Width(), 800);
  EXPECT_NE(dialog->FindChild("ok"), nullptr);
  EXPECT_TRUE(manager->Screen()->Clock().IsPaused());
  Pass();
  EXPECT_EQ(G("done"), "");
  Run("CloseWindow('yes')");
  Pass();
  Pass();
  EXPECT_EQ(G("done"), "1");
  EXPECT_EQ(G("result"), "yes");
  EXPECT_EQ(manager->TopModal(), manager->Screen());
}

TEST_F(WindowScriptTest, ACloseDuringPauseIsStillSeenByTheNextWait) {
  AddFile("assets/dialogs/d.lua", "MakeDialog{ Window{ w = 10, h = 10 } }");
  Run("return function()"
      "  local id = PushModal('d'); ReadFile('dialogs/d.lua')"
      "  inner = PushModal('inner')"
      "  PostMessage(CreateCloseMessage())"
      "  Pause(100)"
      "  WaitForCloseMessage(inner)"
      "  after = 1"
      " end");
  for (int i = 0; i < 10; ++i) Pass();
  EXPECT_EQ(G("after"), "1");
  EXPECT_EQ(manager->TopModal()->GetName(), "d");
}

TEST_F(WindowScriptTest, OtherClosesAreRecordedInClosedWindows) {
  Run("return function()"
      "  outer = PushModal('outer'); inner = PushModal('inner')"
      "  PostMessage(CreateCloseMessage())"
      "  PostMessage(CreateNamedMessage(kCloseWindow, outer))"
      "  WaitForCloseMessage(outer)"
      "  recorded = tostring(gClosedWindows[inner])"
      "  WaitForCloseMessage(inner)"
      "  after = tostring(gClosedWindows[inner])"
      " end");
  for (int i = 0; i < 5; ++i) Pass();
  EXPECT_EQ(G("recorded"), "true");
  EXPECT_EQ(G("after"), "");
  // The inner close was seen already: the next message of any kind ends the wait.
  manager->PostMessage(new TMessage(kButtonPress, "wake"));
  Pass();
  EXPECT_EQ(G("after"), "nil");
  EXPECT_EQ(manager->TopModal(), manager->Screen());
}

TEST_F(WindowScriptTest, PauseBreaksOnAnyKeyAndKeepsOtherMessages) {
  Run("return function()"
      "  PushModal('p')"
      "  local t = GetTimer(); Pause(10000, true); waited = GetTimer() - t"
      "  local m = WaitForMessage(); kept = m.name"
      " end");
  manager->PostMessage(new TMessage(kButtonPress, "button"));
  Pass();
  Key(kEventKeyDown, 'Q');
  Pass();
  EXPECT_LT(std::stoi(G("waited")), 1000);
  EXPECT_EQ(G("kept"), "button");
}

TEST_F(WindowScriptTest, PauseEndsOnTheTimer) {
  Run("return function() Pause(100); paused = 1 end");
  Pass(50);
  EXPECT_EQ(G("paused"), "");
  Pass(60);
  Pass(1);
  EXPECT_EQ(G("paused"), "1");
}

TEST_F(WindowScriptTest, NativeCallsIntoAWaitingScriptRunInsideIt) {
  Run("function Ping(x) pinged = x end\n"
      "return function() PushModal('w'); WaitForMessage(); after = 1 end");
  lua_getglobal(L, "Ping");
  lua_pushnumber(L, 7);
  EXPECT_EQ(script->RunFunction(1, 0), 0);
  EXPECT_EQ(G("pinged"), "7");
  EXPECT_EQ(G("after"), "1");
}

TEST_F(WindowScriptTest, CommandQueueRunsWhenTheScriptWaits) {
  Run("return function() while true do WaitForMessage() end end");
  Run("table.insert(gCommandQueue, function() ran = (ran or 0) + 1 end)");
  manager->PostMessage(new TMessage(kButtonPress, "wake"));
  Pass();
  EXPECT_EQ(G("ran"), "1");
}

TEST_F(WindowScriptTest, SetCommandWithNilClearsTheAction) {
  Run("PushModal('dlg') MakeDialog{ Button{ name = 'b', w = 10, h = 10 } }"
      " SetCommand('b', function() pressed = (pressed or 0) + 1 end)");
  Run("return function() while true do WaitForMessage() end end");
  auto* button = dynamic_cast<TButtonWindow*>(manager->TopModal()->FindChild("b"));
  ASSERT_NE(button, nullptr);
  button->Press();
  Pass();
  EXPECT_EQ(G("pressed"), "1");
  Run("SetCommand('b', nil)");
  button->Press();
  Pass();
  EXPECT_EQ(G("pressed"), "1");
}

// Game code hands script texts to the runner; each runs on the next frame inside the
// dialog coroutine, so it may open a dialog and wait there.
TEST_F(WindowScriptTest, QueuedScriptsRunNextFrameWhetherTheScriptWaitsOrYields) {
  AddFile("assets/dialogs/prompt.lua", "MakeDialog{ Window{ name = 'body', w = 40, h = 20 } }");
  const std::string prompt =
      "local r = DisplayDialog{ 'dialogs/prompt.lua' } prompted = (prompted or 0) + 1"
      " answer = r";
  for (const char* body : {"while true do WaitForMessage() end",  // no timeout: only wakes
                           "while true do Yield() end"}) {
    SCOPED_TRACE(body);
    Run(std::string("return function() ") + body + " end");
    const std::string before = G("prompted");
    manager->QueueScript(prompt);
    EXPECT_EQ(manager->TopModal(), manager->Screen());  // not before the next frame
    Pass();
    ASSERT_EQ(manager->TopModal()->GetName(), "dialogs/prompt.lua");
    EXPECT_EQ(G("prompted"), before);  // waiting for the dialog to close
    Run("CloseWindow('yes')");
    Pass();
    Pass();
    EXPECT_EQ(G("answer"), "yes");
    EXPECT_EQ(manager->TopModal(), manager->Screen());
    // The script went back to what it was doing; the next one runs the same way.
    Pass();
    Run("prompted = 0 answer = nil");
  }
  // A text in the style of the game's screens queues a command, which runs the same frame.
  AddFile("assets/dialogs/end.lua", "MakeDialog{ Window{ w = 10, h = 10 } }");
  Run("return function() while true do WaitForMessage() end end");
  manager->QueueScript(
      "gEndLevel = function()\tDoModal( 'dialogs/end.lua' );end;"
      "table.insert( gCommandQueue, gEndLevel );");
  Pass();
  EXPECT_EQ(manager->TopModal()->GetName(), "dialogs/end.lua");
  // A text that does not compile is reported and dropped.
  manager->QueueScript("this is not lua");
  Pass();
  EXPECT_TRUE(LogHas("queued script"));
}

TEST_F(WindowScriptTest, QuitNowFromAScriptTakesTheQuitPath) {
  Run("PostMessage(CreateNamedMessage(kQuitNow, ''))");
  Pass();
  EXPECT_EQ(host.quits, 1);
}

TEST_F(WindowScriptTest, FunctionFailureAnswers) {
  SetSetting("two", "2");
  SetSetting("letters", "abc");
  SetSetting("zero", "0");
  Run("e1 = tostring(IsEnabled('two')) .. tostring(IsEnabled('letters'))"
      " .. tostring(IsEnabled('zero')) .. tostring(IsEnabled('missing'))"
      " c1 = GetConfig('two', 'd') .. GetConfig('missing', 'dflt')"
      " b1 = tostring(EnableWindow('nowhere', true))"
      " b2 = tostring(GetButtonToggleState('nowhere'))"
      " b3 = tostring(ImageLoaded('nowhere'))"
      " b4 = tostring(StartMovie('x.swf', false, false)) .. tostring(IsMoviePlaying())"
      " StopMovie() SetLabel('nowhere', 'x') SetPosition('nowhere', 1, 2)"
      " DestroyWindow('nowhere') RealSetFocus('nowhere') DoPopModal('nowhere')"
      " m = CreateNamedMessage(3, 'n'); mt = m.type .. m.name .. tostring(m.other)");
  EXPECT_EQ(G("e1"), "truefalsefalsefalse");
  EXPECT_EQ(G("c1"), "2dflt");
  EXPECT_EQ(G("b1"), "false");
  EXPECT_EQ(G("b2"), "false");
  EXPECT_EQ(G("b3"), "false");
  EXPECT_EQ(G("b4"), "falsefalse");
  EXPECT_EQ(G("mt"), "3nnil");
  EXPECT_EQ(manager->TopModal(), manager->Screen());
  // Without any modal window the top-scope functions answer empty.
  manager->PopTop();
  manager->ProcessDeletes();
  Run("l = GetLabel('x') .. '|' .. GetWindowDepth()");
  EXPECT_EQ(G("l"), "|0");
}

TEST_F(WindowScriptTest, StackScopeFunctionsReachLowerDialogs) {
  Run("PushModal('lower') MakeDialog{ Toggle{ name = 't', w = 5, h = 5 } }"
      "PushModal('upper') MakeDialog{ Toggle{ name = 't', w = 5, h = 5 },"
      "  Window{ name = 'only_below_hidden', w = 1, h = 1 } }"
      "SetButtonToggleState('t', true)"
      "shown = tostring(EnableWindow('only_below_hidden', false))"
      "state = tostring(GetButtonToggleState('t')) depth = GetWindowDepth()");
  EXPECT_EQ(G("state"), "true");
  EXPECT_EQ(G("depth"), "3");
  EXPECT_EQ(G("shown"), "true");
  int on = 0;
  for (TModalWindow* m : manager->ModalStack()) {
    auto* t = dynamic_cast<TToggleWindow*>(m->FindChild("t", 1));
    if (t && t->on) ++on;
  }
  EXPECT_EQ(on, 2);
  EXPECT_FALSE(manager->TopModal()->FindChild("only_below_hidden")->IsVisible());
  Run("SetPosition('t', kCenter, kMax - 5)");
  TWindow* t = manager->TopModal()->FindChild("t");
  EXPECT_EQ(t->GetRect().left, 400 - 2);
  EXPECT_EQ(t->GetRect().top, 595);
  Run("SetTopModalOnly(true)");
  EXPECT_TRUE(manager->TopModalOnly());
}

TEST_F(WindowScriptTest, SwapToModalReplacesTheChildren) {
  AddFile("assets/a.lua", "MakeDialog{ Window{ name = 'from_a', w = 30, h = 30 } }");
  AddFile("assets/b.lua", "MakeDialog{ Window{ name = 'from_b', w = 60, h = 10 } }");
  Run("PushModal('s') ReadFile('a.lua') DoFitToChildren() SwapToModal('b.lua')");
  TModalWindow* top = manager->TopModal();
  EXPECT_EQ(top->FindChild("from_a"), nullptr);
  EXPECT_NE(top->FindChild("from_b"), nullptr);
  EXPECT_EQ(top->Width(), 60);
  EXPECT_EQ(top->Height(), 10);
  manager->ProcessDeletes();
}

TEST_F(WindowScriptTest, DisplayDialogWithoutFileLogsAndReturns) {
  Run("r = DisplayDialog{} rr = tostring(r)");
  EXPECT_EQ(G("rr"), "nil");
  EXPECT_EQ(manager->TopModal(), manager->Screen());
}

TEST_F(WindowScriptTest, DisplaySplashWithoutPictureLeavesItsWindowForTheCaller) {
  Run("return function() DisplaySplash(nil, nil, 100); shown = GetWindowDepth()"
      " DisplaySplash(nil, 'gfx/none', 100); after = GetWindowDepth() end");
  Pass();
  EXPECT_EQ(G("shown"), "2");
  // A picture that does not load ends the splash after its two short pauses.
  for (int i = 0; i < 10 && G("after").empty(); ++i) Pass(20);
  EXPECT_EQ(G("after"), "2");
  EXPECT_EQ(manager->TopModal()->GetName(), "DisplaySplash");
}

TEST_F(WindowScriptTest, BadScriptsReachAlertWithoutCrashing) {
  Run("MakeDialog(nil)");
  Run("GenericCreate(5) PostMessage('x') PostMessage(nil) FillRect(nil, nil)");
  Run("x = = 1");
  EXPECT_TRUE(LogHas("Lua"));
  EXPECT_EQ(manager->QueuedMessages(), 0u);
}

}  // namespace

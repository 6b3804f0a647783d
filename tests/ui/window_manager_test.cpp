#include <gtest/gtest.h>

#include "frame/application_time.h"
#include "frame/event.h"
#include "ui/message.h"
#include "ui/screen.h"
#include "ui/widget_hooks.h"
#include "ui/window_manager.h"
#include "ui_test_support.h"

namespace {

// The script as the manager sees it: records tops and keeps the messages no window took.
class TRecordingScript : public TWindowScriptLink {
 public:
  void OnTopChanged(TWindow* top) override { tops.push_back(top); }
  bool HandleMessage(std::unique_ptr<TMessage> m) override {
    messages.push_back(std::to_string(m->type) + ":" + m->name);
    return true;
  }
  void AddWindowType(const std::string&, TWindowCreator) override {}
  bool RunScriptFile(const std::string&) override { return false; }
  std::vector<TWindow*> tops;
  std::vector<std::string> messages;
};

class WindowManagerTest : public ::testing::Test {
 protected:
  WindowManagerTest() : time(1000), manager(&host) {
    manager.SetScript(&script);
    manager.SetScreen(new TScreen);
  }
  TModalWindow* Push(const std::string& name, int w = 0, int h = 0) {
    auto* modal = new TModalWindow;
    modal->SetName(name);
    if (w) modal->SetSize(w, h);
    manager.PushModal(modal);
    return modal;
  }
  TProbeWindow* Probe(TWindow* parent, const std::string& name, TRect r) {
    auto* probe = new TProbeWindow(name, &log);
    probe->SetPosition(r.left, r.top);
    probe->SetSize(r.Width(), r.Height());
    parent->AddChild(probe, true);
    return probe;
  }
  void Send(int kind, int x = 0, int y = 0, int param = 0) {
    TEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.param = param;
    manager.HandleEvent(e);
  }

  // Windows write into the log until the manager is gone: declared first, destroyed last.
  std::vector<std::string> log;
  TManualTime time;
  TTestHost host;
  TRecordingScript script;
  TWindowManager manager;
};

TEST_F(WindowManagerTest, PushPausesTheClockBelowAndPopByNameRestartsIt) {
  TModalWindow* screen = manager.TopModal();
  EXPECT_FALSE(screen->Clock().IsPaused());
  TModalWindow* dialog = Push("dialog");
  EXPECT_EQ(dialog->GetParent(), screen);
  EXPECT_EQ(dialog->Width(), 800);  // takes its parent's size
  EXPECT_TRUE(screen->Clock().IsPaused());
  EXPECT_FALSE(dialog->Clock().IsPaused());
  EXPECT_EQ(manager.GetFocus(), dialog);
  EXPECT_EQ(script.tops.back(), dialog);
  EXPECT_TRUE(manager.PopModal("dialog"));
  EXPECT_EQ(manager.TopModal(), screen);
  EXPECT_FALSE(screen->Clock().IsPaused());
  EXPECT_EQ(manager.GetFocus(), screen);
  EXPECT_EQ(script.tops.back(), screen);
  EXPECT_FALSE(manager.PopModal("nothing"));
  EXPECT_EQ(manager.TopModal(), screen);
}

TEST_F(WindowManagerTest, PopModalByIdPopsEverythingAboveToo) {
  TModalWindow* first = Push("first");
  Push("second");
  TModalWindow* third = Push("third");
  Probe(third, "inner", {0, 0, 5, 5});
  const std::string id = first->IdText();
  EXPECT_TRUE(manager.PopModal(id));
  EXPECT_EQ(manager.TopModal(), manager.Screen());
  EXPECT_EQ(manager.PendingDeletes(), 3u);
  EXPECT_EQ(log, (std::vector<std::string>{"inner:popped"}));
  manager.ProcessDeletes();
  // Each destroyed modal window announced itself; the first one's id is among them.
  manager.ProcessMessages();
  ASSERT_EQ(script.messages.size(), 3u);
  EXPECT_NE(std::find(script.messages.begin(), script.messages.end(), "6:" + id),
            script.messages.end());
}

TEST_F(WindowManagerTest, ClickFocusesTheNearestFocusableAncestor) {
  TModalWindow* dialog = Push("dialog");
  TProbeWindow* plain = Probe(dialog, "plain", {10, 10, 50, 50});
  TProbeWindow* other = Probe(dialog, "other", {100, 100, 150, 150});
  other->SetFocusable();
  manager.SetFocus(other);
  Send(kEventLeftDown, 20, 20);
  EXPECT_EQ(manager.GetFocus(), dialog);
  EXPECT_EQ(plain->lastPoint, (TPoint2{10, 10}));
  Send(kEventLeftDown, 110, 110);
  EXPECT_EQ(manager.GetFocus(), other);
}

TEST_F(WindowManagerTest, UnhandledReleaseAndKeyBecomeAnyKeyMessages) {
  TModalWindow* dialog = Push("dialog");
  Probe(dialog, "plain", {10, 10, 50, 50});
  Send(kEventLeftUp, 20, 20);
  Send(kEventKeyDown, 0, 0, 'A');
  EXPECT_EQ(script.messages, (std::vector<std::string>{"4:mouse:up", "4:raw:A"}));
  EXPECT_EQ(log, (std::vector<std::string>{"plain:up"}));
}

TEST_F(WindowManagerTest, UnhandledClickGoesToTheSiblingBehind) {
  TModalWindow* dialog = Push("dialog");
  TProbeWindow* back = Probe(dialog, "back", {0, 0, 100, 100});
  TProbeWindow* deep = Probe(back, "deep", {40, 40, 60, 60});
  deep->takesDown = true;
  Probe(dialog, "front", {30, 30, 90, 90});
  Send(kEventLeftDown, 45, 47);
  EXPECT_EQ(log, (std::vector<std::string>{"front:down", "deep:down"}));
  EXPECT_EQ(deep->lastPoint, (TPoint2{5, 7}));
}

TEST_F(WindowManagerTest, CaptureKeepsTheReleaseAfterTheLeave) {
  TModalWindow* dialog = Push("dialog");
  TProbeWindow* button = Probe(dialog, "button", {10, 10, 50, 50});
  TProbeWindow* elsewhere = Probe(dialog, "elsewhere", {200, 200, 300, 300});
  elsewhere->takesUp = true;
  manager.AddCapture(button);
  Send(kEventLeftUp, 250, 250);
  EXPECT_EQ(log, (std::vector<std::string>{"button:leave", "button:up"}));
  EXPECT_EQ(button->lastPoint, (TPoint2{240, 240}));
  // Releasing the capture on leave gives the event to nobody that turn.
  log.clear();
  button->releaseOnLeave = true;
  Send(kEventLeftUp, 250, 250);
  EXPECT_EQ(log, (std::vector<std::string>{"button:leave"}));
  Send(kEventLeftUp, 250, 250);
  EXPECT_EQ(log.back(), "elsewhere:up");
}

TEST_F(WindowManagerTest, LeavingTheProgramTellsCapturingWindows) {
  TModalWindow* dialog = Push("dialog");
  TProbeWindow* a = Probe(dialog, "a", {10, 10, 50, 50});
  TProbeWindow* b = Probe(dialog, "b", {60, 10, 90, 50});
  manager.AddCapture(a);
  manager.AddCapture(b);
  manager.AddCapture(a);  // once only
  Send(kEventLeave);
  EXPECT_EQ(log, (std::vector<std::string>{"a:leave", "b:leave"}));
}

TEST_F(WindowManagerTest, PushingReleasesCaptureAndDeletionForgetsWindows) {
  TModalWindow* dialog = Push("dialog");
  TProbeWindow* button = Probe(dialog, "button", {10, 10, 50, 50});
  button->SetFocusable();
  manager.AddCapture(button);
  manager.SetFocus(button);
  dialog->DeleteChildren();
  EXPECT_FALSE(manager.IsCapturing(button));
  EXPECT_EQ(manager.GetFocus(), button);  // still alive until ProcessDeletes
  manager.ProcessDeletes();
  EXPECT_EQ(manager.GetFocus(), nullptr);
  TProbeWindow* again = Probe(dialog, "again", {0, 0, 5, 5});
  manager.AddCapture(again);
  Push("above");
  EXPECT_FALSE(manager.IsCapturing(again));
  EXPECT_EQ(log.back(), "again:leave");
}

TEST_F(WindowManagerTest, DeletingATargetClearsQueuedMessages) {
  TModalWindow* dialog = Push("dialog");
  TProbeWindow* box = Probe(dialog, "box", {0, 0, 10, 10});
  TProbeWindow* inner = Probe(box, "inner", {0, 0, 5, 5});
  manager.PostMessage(new TMessage(kButtonPress, "for-inner", inner));
  dialog->DeleteChildren();
  ASSERT_EQ(manager.QueuedMessages(), 1u);
  EXPECT_EQ(manager.MessageQueue().front()->target, nullptr);
  manager.ProcessDeletes();
  manager.ProcessMessages();
  EXPECT_EQ(script.messages, (std::vector<std::string>{"3:for-inner"}));
}

TEST_F(WindowManagerTest, MessagesClimbToTheModalWindowAndItsKeyTarget) {
  TModalWindow* dialog = Push("dialog");
  TProbeWindow* box = Probe(dialog, "box", {0, 0, 10, 10});
  TProbeWindow* inner = Probe(box, "inner", {0, 0, 5, 5});
  TProbeWindow* keys = Probe(dialog, "keys", {20, 20, 30, 30});
  manager.SetKeyTarget(dialog, keys);
  EXPECT_EQ(manager.GetFocus(), keys);
  manager.PostMessage(new TMessage(kButtonPress, "m1", inner));
  manager.ProcessMessages();
  EXPECT_EQ(log,
            (std::vector<std::string>{"keys:focus", "inner:msg:m1", "box:msg:m1", "keys:msg:m1"}));
  EXPECT_EQ(script.messages, (std::vector<std::string>{"3:m1"}));
  box->takesMessages = true;
  manager.PostMessage(new TMessage(kButtonPress, "m2", inner));
  manager.ProcessMessages();
  EXPECT_EQ(script.messages.size(), 1u);
  // Deleting the key target clears it.
  dialog->RemoveChild(keys);
  delete keys;
  EXPECT_EQ(dialog->KeyTarget(), nullptr);
}

TEST_F(WindowManagerTest, CloseMessagePopsTheNamedDialog) {
  TModalWindow* dialog = Push("dialog");
  manager.PostMessage(new TMessage(kCloseWindow, dialog->IdText()));
  manager.ProcessMessages();
  EXPECT_EQ(manager.TopModal(), manager.Screen());
}

class TDefaultButton : public TProbeWindow, public TButtonWindow {
 public:
  using TProbeWindow::TProbeWindow;
  bool IsDefaultButton() const override { return true; }
  bool Press() override {
    ++presses;
    return closes;
  }
  bool GetToggleState() const override { return false; }
  void SetToggleState(bool) override {}
  int presses = 0;
  bool closes = false;
};

TEST_F(WindowManagerTest, EnterPressesTheDefaultButtonOrSendsDefaultAction) {
  TModalWindow* dialog = Push("dialog");
  Send(kEventChar, 0, 0, 13);
  EXPECT_EQ(script.messages, (std::vector<std::string>{"2:"}));
  auto* button = new TDefaultButton("ok", &log);
  button->SetSize(10, 10);
  dialog->AddChild(button, true);
  button->closes = true;
  Send(kEventChar, 0, 0, 13);
  EXPECT_EQ(button->presses, 1);
  EXPECT_EQ(script.messages.size(), 1u);
  // A hidden default button is not found.
  button->SetFlags(0);
  Send(kEventChar, 0, 0, 13);
  EXPECT_EQ(button->presses, 1);
  EXPECT_EQ(script.messages.size(), 2u);
}

TEST_F(WindowManagerTest, QuitNowTakesTheQuitPath) {
  manager.PostMessage(new TMessage(kQuitNow, ""));
  Send(kEventIdle);
  EXPECT_EQ(host.quits, 1);
  EXPECT_TRUE(script.messages.empty());
}

TEST_F(WindowManagerTest, FramesArePacedAndOnlyDrawnWhenDirty) {
  manager.Invalidate();
  Send(kEventIdle);
  EXPECT_EQ(host.frames, 1);
  Send(kEventIdle);
  EXPECT_EQ(host.frames, 1);  // nothing changed
  manager.Invalidate();
  host.now += 5;
  Send(kEventIdle);
  EXPECT_EQ(host.frames, 1);  // too early
  host.now += 7;
  Send(kEventIdle);
  EXPECT_EQ(host.frames, 2);
  host.foreground = false;
  manager.Invalidate();
  host.now += 100;
  Send(kEventIdle);
  EXPECT_EQ(host.frames, 2);
  host.now += 100;
  Send(kEventIdle);
  EXPECT_EQ(host.frames, 3);
  manager.SetSuspended(true);
  manager.Invalidate();
  host.now += 1000;
  Send(kEventIdle);
  EXPECT_EQ(host.frames, 3);
}

TEST_F(WindowManagerTest, OpaqueFullScreenDialogsHideWhatIsBelow) {
  TModalWindow* game = Push("game", 800, 600);
  auto* cover = new TWindow;
  cover->SetSize(800, 600);
  game->AddChild(cover, true);
  cover->SetFlags(cover->GetFlags() | kWindowOpaque);
  TModalWindow* dialog = Push("dialog", 200, 100);
  manager.Invalidate();
  Send(kEventRepaint);
  EXPECT_EQ(manager.LastDrawnModals(), (std::vector<TModalWindow*>{game, dialog}));
  manager.SetTopModalOnly(true);
  manager.Invalidate();
  host.now += 20;
  Send(kEventRepaint);
  EXPECT_EQ(manager.LastDrawnModals(), (std::vector<TModalWindow*>{dialog}));
  manager.SetTopModalOnly(false);
  cover->SetFlags(cover->GetFlags() & ~kWindowOpaque);
  manager.Invalidate();
  host.now += 20;
  Send(kEventRepaint);
  EXPECT_EQ(manager.LastDrawnModals(),
            (std::vector<TModalWindow*>{manager.Screen(), game, dialog}));
}

TEST_F(WindowManagerTest, IdleRunsTheTopModalTasksOnItsClock) {
  TModalWindow* dialog = Push("dialog");
  auto* probe = new TProbeWindow("anim", &log);
  dialog->AddChild(probe, true);
  probe->StartAnimation(0, true, true, false);
  EXPECT_EQ(dialog->Tasks().Size(), 1u);
  Send(kEventIdle);
  // TProbeWindow::Animate answers false: the task ends and the window forgets it.
  EXPECT_EQ(dialog->Tasks().Size(), 0u);
  EXPECT_NE(probe->GetAnimTask(), nullptr);
  dialog->RemoveChild(probe);
  delete probe;  // the task outlives the window and ends at its next run
  Send(kEventIdle);
  EXPECT_EQ(dialog->Tasks().Size(), 0u);
}

}  // namespace

TEST(WindowTreeHost, WindowsTakenOutOfTheTreeStillReachTheirManagerUntilItGoes) {
  TTestHost host;
  auto manager = std::make_unique<TWindowManager>(&host);
  manager->SetScreen(new TScreen);
  auto* dialog = new TModalWindow;
  manager->PushModal(dialog);
  auto* field = new TProbeWindow("field");
  dialog->AddChild(field, true);
  EXPECT_EQ(field->TreeHost(), manager.get());
  manager->SetFocus(field);
  // Taken out and deleted later: the manager still hears of its end.
  dialog->RemoveChild(field);
  delete field;
  EXPECT_EQ(manager->GetFocus(), nullptr);
  // A window kept after its manager is gone finds no host rather than a dead one.
  auto* kept = new TProbeWindow("kept");
  dialog->AddChild(kept, true);
  dialog->RemoveChild(kept);
  manager.reset();
  EXPECT_EQ(kept->TreeHost(), nullptr);
  delete kept;
  // A tree no manager keeps has no host at all.
  TWindow root;
  auto* child = new TWindow;
  root.AddChild(child, true);
  EXPECT_EQ(child->TreeHost(), nullptr);
}

#include "ui_test_support.h"

#include "frame/event.h"
#include "ui/message.h"
#include "ui/screen.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

bool TProbeWindow::OnMessage(TMessage& m) {
  if (log) log->push_back(GetName() + ":msg:" + m.name);
  return takesMessages;
}

void TProbeWindow::ReleaseCapture() {
  if (TWindowManager* manager = TWindowManager::Get()) manager->RemoveCapture(this);
}

void TWindowSystemHarness::StartWindowSystem(bool clearEveryFrame) {
  manager = std::make_unique<TWindowManager>(&host);
  script = new TWindowScript(manager.get());
  manager->SetScript(script);  // the host's task list owns it from here on
  auto* screen = new TScreen;
  screen->alwaysClear = clearEveryFrame;
  manager->SetScreen(screen);
  L = script->GetState();
}

void TWindowSystemHarness::StopWindowSystem() {
  manager.reset();
  host.tasks.Clear();
  script = nullptr;
  L = nullptr;
}

void TWindowSystemHarness::Pass(uint32_t ms) {
  host.now += ms;
  time.Set(host.now);
  host.tasks.Run(kUpdatePhase);
  Event(kEventIdle);
}

void TWindowSystemHarness::Event(int kind, int x, int y, int param, int modifiers) {
  TEvent e;
  e.kind = kind;
  e.x = x;
  e.y = y;
  e.param = param;
  e.modifiers = modifiers;
  manager->HandleEvent(e);
}

void TWindowSystemHarness::Run(const std::string& text) {
  script->DoLuaString(text.c_str());
}

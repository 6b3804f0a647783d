#include "app/window_system.h"

#include "app/game_vocabulary.h"
#include "campaign/hiscore/hiscore_vocabulary.h"
#include "frame/application.h"
#include "frame/log.h"
#include "gfx/renderer.h"
#include "sound/sound_bindings.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/sound_player.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

TWindowSystem::TWindowSystem(TApplication& app) : mApp(app) {
  mManager = std::make_unique<TWindowManager>(this);
  mScript = new TWindowScript(mManager.get());
  mManager->SetScript(mScript);  // the application task list owns the script from here on
  RegisterGameVocabulary(*mManager);
  RegisterHiscoreVocabulary(*mManager);
  // Buttons play their sounds, and scripts theirs, through the sound manager.
  SetSoundPlayer(&mWidgetSounds);
  RegisterSoundFunctions(mScript->GetState());
  auto* screen = new TScreen;
  // The placeholder screens do not cover the picture: clear under them every frame, in the
  // calm table green the program showed before the screens existed.
  screen->alwaysClear = true;
  screen->clearColour[0] = 0x18 / 255.0f;
  screen->clearColour[1] = 0x48 / 255.0f;
  screen->clearColour[2] = 0x30 / 255.0f;
  screen->clearColour[3] = 1.0f;
  mManager->SetScreen(screen);
}

TWindowSystem::~TWindowSystem() {
  mManager.reset();
  if (GetSoundPlayer() == &mWidgetSounds) SetSoundPlayer(nullptr);
  // The script task stays on the application task list, which deletes it.
}

void TWindowSystem::HandleEvent(const TEvent& event) {
  switch (event.kind) {
    case kEventIdle:
    case kEventNone:
    case kEventMove:
    case kEventHover:
    case kEventRepaint:
    case kEventDisplayReset:
      break;
    default:
      // The input log: what drove the program, for tests and bug reports.
      Log("Event kind=%d param=%d x=%d y=%d modifiers=%d", event.kind, event.param, event.x,
          event.y, event.modifiers);
      break;
  }
  mManager->HandleEvent(event);
}

bool TWindowSystem::IsSuspended() const {
  return mManager->IsSuspended();
}

bool TWindowSystem::BlocksMouseInput() const {
  return mManager->InputBlocked();
}

void TWindowSystem::RequestRedraw() {
  mManager->Invalidate();
}

void TWindowSystem::SetTopModalClockRunning(bool running) {
  TModalWindow* top = mManager->TopModal();
  if (!top) return;
  if (running)
    top->Clock().Start();
  else
    top->Clock().Pause();
}

uint32_t TWindowSystem::Now() const {
  return mApp.GetTime();
}

bool TWindowSystem::WantsFastFrames() const {
  return mApp.IsForeground() || mApp.Data().embedded || mApp.Data().containerMode;
}

bool TWindowSystem::IsRelativeMouse() const {
  return mApp.GetMouseMode() == 1;
}

void TWindowSystem::PostQuit() {
  mApp.PostQuit();
}

void TWindowSystem::OnFrameDrawn() {
  // Until the renderer is hooked into the program, a frame is the platform's plain picture.
  if (!GetRenderer()) mApp.Platform().PresentPlainFrame(24, 72, 48);
  mApp.OnFrameDrawn();
}

TTaskList* TWindowSystem::ApplicationTasks() {
  return &mApp.GetTaskList();
}

bool TWindowSystem::SetClipboardText(const std::string& text) {
  return mApp.SetClipboardText(text);
}

std::string TWindowSystem::GetClipboardText() {
  return mApp.GetClipboardText();
}

TWindowSystem* GetWindowSystem(TApplication& app) {
  return dynamic_cast<TWindowSystem*>(app.GetWindowManager());
}

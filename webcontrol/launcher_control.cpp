#include "webcontrol/launcher_control.h"

#include <array>
#include <chrono>
#include <thread>

namespace {

// Dispatch id -> method name, and the host command each sends (0: none).
struct TMethodEntry {
  std::string_view name;
  uint32_t command;
};
constexpr std::array<TMethodEntry, 12> kMethods = {{
    {"", 0},
    {"GameContinue", kHostGameContinue},
    {"GameMenu", kHostGameMenu},
    {"MuteOn", kHostMuteOn},
    {"MuteOff", kHostMuteOff},
    {"PauseOn", kHostPauseOn},
    {"PauseOff", kHostPauseOff},
    {"GameStart", kHostGameStart},
    {"RestartGame", kHostRestartGame},
    {"SessionStart", kHostSessionStart},
    {"LoadGame", 0},
    {"CustomReturn", kHostCustomReturn},
}};

}  // namespace

std::string_view TLauncherControl::MethodName(int dispatchId) {
  if (dispatchId < kFirstMethod || dispatchId > kLastMethod) return {};
  return kMethods[static_cast<size_t>(dispatchId)].name;
}

int TLauncherControl::MethodId(std::string_view name) {
  for (int id = kFirstMethod; id <= kLastMethod; ++id) {
    if (kMethods[static_cast<size_t>(id)].name == name) return id;
  }
  return 0;
}

TLauncherControl::TLauncherControl(std::function<void(const std::string&)> runScript,
                                   TLaunchStarter starter)
    : mRunScript(std::move(runScript)), mStarter(std::move(starter)) {}

TLauncherControl::~TLauncherControl() {
  Release();
}

void TLauncherControl::WindowCreated(TControlWindow* window) {
  mWindow = window;
  if (mLaunchStarted || !window) return;
  mLaunchStarted = true;
  if (mStarter) {
    mStarter(this);
  } else {
    SetFinished();  // nothing can start the game
  }
}

void TLauncherControl::WindowDestroyed() {
  mWindow = nullptr;
}

bool TLauncherControl::Invoke(int dispatchId, std::string_view /*argument*/) {
  if (dispatchId < kFirstMethod || dispatchId > kLastMethod) return false;
  const uint32_t command = kMethods[static_cast<size_t>(dispatchId)].command;
  if (command != 0 && mWindow && mWindow->HasGameWindow()) mWindow->PostHostCommand(command);
  return true;
}

void TLauncherControl::ReceiveHostMessage(uint64_t wparam, uint64_t lparam) {
  std::string text;
  if (mTexts.Add(wparam, lparam, &text) && mRunScript) mRunScript(text);
}

std::string TLauncherControl::StatusText() const {
  if (Finished()) return kCannotRunText;
  if (Started()) return {};
  return kLoadingText;
}

void TLauncherControl::Release() {
  if (mReleased) return;
  mReleased = true;
  bool quitPosted = false;
  const auto postQuit = [&] {
    if (quitPosted || !mWindow || !mWindow->HasGameWindow()) return;
    mWindow->PostQuit();
    quitPosted = true;
  };
  postQuit();
  if (!mLaunchStarted) return;
  // A game still starting has no window to ask yet; it is asked as soon as its window
  // appears, or the wait would last as long as the game.
  while (!Finished()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    postQuit();
  }
}

// The part of a platform backend that is the same for SDL and headless: the monotonic
// clock, process and folder services, the single-instance lock with its poke socket, the
// test-harness loader, and the message queue around the backend's own messages (injected
// input first, pokes, hover notifications, the posted quit last).
#pragma once

#include <deque>

#include "frame/platform.h"

class TPosixPlatform : public TPlatform {
 public:
  static constexpr uint32_t kHoverMs = 400;

  TPosixPlatform();
  ~TPosixPlatform() override;

  uint32_t TickMs() const override;
  void SleepMs(unsigned ms) override;

  bool PollMessage(TPlatformMessage& message) override;
  void InjectMessage(const TPlatformMessage& message) override;
  void PostQuit() override { mQuitPosted = true; }
  bool TakePostedQuit() override {
    const bool posted = mQuitPosted;
    mQuitPosted = false;
    return posted;
  }
  void StartHoverTracking() override { mHoverArmed = true; }

  bool AcquireInstanceLock(const std::string& instanceName, const std::string& className) override;
  void ReleaseInstanceLock() override;
  bool PokeFirstInstance(const std::string& className) override;

  TWindowHandle RunTestHarness(const std::string& programFolder, std::string& commandLine) override;

  // xdg-open, or the given program, with the address; never through a shell.
  bool OpenUrl(const std::string& target, const std::string& program) override;

  std::string ExecutablePath() const override;
  std::string CurrentDirectory() const override;
  bool ChangeDirectory(const std::string& folder) override;
  [[noreturn]] void ExitProcess(int code) override;

 protected:
  // The backend's own next message, without waiting.
  virtual bool PollNative(TPlatformMessage& message) = 0;
  // True while the pointer is inside the window (hover needs it there).
  virtual bool PointerInside() const = 0;
  bool HasPendingInjected() const { return !mInjected.empty(); }

 private:
  bool PollPoke();
  void Observe(const TPlatformMessage& message);

  std::deque<TPlatformMessage> mInjected;
  bool mQuitPosted = false;
  bool mHoverArmed = false;
  uint32_t mLastMoveTime = 0;
  int mLastX = 0, mLastY = 0;
  int mLockFd = -1;
  int mListenFd = -1;
  std::string mLockPath;
  void* mHarness = nullptr;
};

// The heartbeat thread keeps the mouse cursor smooth while the main thread is busy: it asks
// the render interface to redraw the cursor, then sleeps 16 ms, or 250 ms while the pointer
// is outside the window and nothing needs it.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

class TRenderLink;
class TWindowManagerLink;

class THeartbeat {
 public:
  static constexpr int kFastMs = 16;
  static constexpr int kSlowMs = 250;

  THeartbeat() = default;
  ~THeartbeat() { Stop(); }
  THeartbeat(const THeartbeat&) = delete;
  THeartbeat& operator=(const THeartbeat&) = delete;

  void Start();
  // Sets the stop flag and waits until the thread has ended. Safe to call twice.
  void Stop();
  bool IsRunning() const { return mThread.joinable(); }

  // The main thread changes the links under the heartbeat's lock, so a link is never
  // destroyed while the thread uses it.
  void SetLinks(TRenderLink* renderer, TWindowManagerLink* windowManager);

  // One beat: refreshes the cursor and answers how long to sleep.
  int Beat();
  unsigned long BeatCount() const { return mBeats.load(); }

 private:
  void Run();

  std::thread mThread;
  std::atomic<bool> mStop{false};
  std::atomic<unsigned long> mBeats{0};
  std::mutex mLinksMutex;
  TRenderLink* mRenderer = nullptr;
  TWindowManagerLink* mWindowManager = nullptr;
};

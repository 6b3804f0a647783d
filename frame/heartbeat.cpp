#include "frame/heartbeat.h"

#include <chrono>

#include "frame/frame_links.h"

void THeartbeat::Start() {
  if (mThread.joinable()) return;
  mStop = false;
  mThread = std::thread([this] { Run(); });
}

void THeartbeat::Stop() {
  mStop = true;
  if (mThread.joinable()) mThread.join();
}

void THeartbeat::SetLinks(TRenderLink* renderer, TWindowManagerLink* windowManager) {
  std::lock_guard<std::mutex> lock(mLinksMutex);
  mRenderer = renderer;
  mWindowManager = windowManager;
}

int THeartbeat::Beat() {
  std::lock_guard<std::mutex> lock(mLinksMutex);
  ++mBeats;
  if (!mRenderer) return kFastMs;
  const int x = mRenderer->RefreshCursor();
  if (mWindowManager && !mWindowManager->IsSuspended() && x == -1) return kSlowMs;
  return kFastMs;
}

void THeartbeat::Run() {
  while (!mStop) {
    const int sleepMs = Beat();
    // Sleep in small slices so Stop never waits a whole slow beat.
    for (int slept = 0; slept < sleepMs && !mStop; slept += 4) {
      std::this_thread::sleep_for(std::chrono::milliseconds(4));
    }
  }
}

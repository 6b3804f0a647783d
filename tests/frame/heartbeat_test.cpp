#include "frame/heartbeat.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "frame/frame_links.h"

namespace {

class TCursorRenderer : public TRenderLink {
 public:
  bool IsDisplayValid() const override { return true; }
  void RestoreDisplay() override {}
  void OnInactive() override {}
  void ToggleOverlay() override {}
  int RefreshCursor() override {
    ++refreshes;
    return x;
  }
  bool WriteFramePng(const std::string&) override { return false; }
  std::atomic<int> refreshes{0};
  int x = 10;
};

class TManager : public TWindowManagerLink {
 public:
  void HandleEvent(const TEvent&) override {}
  bool IsSuspended() const override { return suspended; }
  bool BlocksMouseInput() const override { return false; }
  void RequestRedraw() override {}
  void SetTopModalClockRunning(bool) override {}
  bool suspended = false;
};

}  // namespace

TEST(Heartbeat, SleepsLongOnlyWhenThePointerIsOutside) {
  THeartbeat heartbeat;
  TCursorRenderer renderer;
  TManager manager;
  EXPECT_EQ(heartbeat.Beat(), THeartbeat::kFastMs);  // nothing attached yet
  heartbeat.SetLinks(&renderer, &manager);
  EXPECT_EQ(heartbeat.Beat(), THeartbeat::kFastMs);
  renderer.x = -1;
  EXPECT_EQ(heartbeat.Beat(), THeartbeat::kSlowMs);
  manager.suspended = true;
  EXPECT_EQ(heartbeat.Beat(), THeartbeat::kFastMs);
  heartbeat.SetLinks(&renderer, nullptr);
  EXPECT_EQ(heartbeat.Beat(), THeartbeat::kFastMs);
  EXPECT_EQ(renderer.refreshes, 4);
}

TEST(Heartbeat, ThreadRefreshesUntilStopped) {
  TCursorRenderer renderer;
  renderer.x = -1;
  TManager manager;
  THeartbeat heartbeat;
  heartbeat.SetLinks(&renderer, &manager);
  heartbeat.Start();
  EXPECT_TRUE(heartbeat.IsRunning());
  while (renderer.refreshes == 0) std::this_thread::yield();
  heartbeat.Stop();
  EXPECT_FALSE(heartbeat.IsRunning());
  const int count = renderer.refreshes;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(renderer.refreshes, count);  // no beat after Stop
  heartbeat.Stop();                      // a second Stop is harmless
}

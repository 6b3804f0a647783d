// Stands in for the window manager until the window tree exists: draws a plain frame at the
// window manager's pace (every 12 ms in the foreground, 200 ms in the background) and logs
// the input events it receives, so the program can be driven and watched end to end.
#pragma once

#include <cstdint>

#include "frame/frame_links.h"

class TPlainFrame : public TWindowManagerLink {
 public:
  static constexpr uint32_t kForegroundFrameMs = 12;
  static constexpr uint32_t kBackgroundFrameMs = 200;

  explicit TPlainFrame(TApplication& app) : mApp(app) {}

  void HandleEvent(const TEvent& event) override;
  bool IsSuspended() const override { return false; }
  bool BlocksMouseInput() const override { return false; }
  void RequestRedraw() override { mRedraw = true; }
  void SetTopModalClockRunning(bool running) override { mClockRunning = running; }

  unsigned FramesDrawn() const { return mFrames; }

 private:
  void Draw();

  TApplication& mApp;
  bool mRedraw = true;
  bool mClockRunning = true;
  bool mDrawnOnce = false;
  uint32_t mLastFrame = 0;
  unsigned mFrames = 0;
};

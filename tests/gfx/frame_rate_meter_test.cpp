#include <gtest/gtest.h>

#include "gfx/frame_rate_meter.h"

namespace {

TEST(FrameRateMeterTest, RateAppearsFromTheFifteenthFrame) {
  TFrameRateMeter meter;
  uint32_t now = 1000;
  for (int frame = 1; frame <= 14; ++frame, now += 20) {
    meter.OnFrame(now);
    EXPECT_EQ(meter.Rate(), 0.0f) << frame;
  }
  meter.OnFrame(now);  // 15th: 14 intervals of 20 ms since the first
  EXPECT_FLOAT_EQ(meter.Rate(), 15000.0f / 280.0f);
  // Next round: the rate is recomputed only when the ring comes round again.
  for (int frame = 0; frame < 14; ++frame) meter.OnFrame(now += 10);
  EXPECT_FLOAT_EQ(meter.Rate(), 15000.0f / 280.0f);
  meter.OnFrame(now += 10);
  EXPECT_FLOAT_EQ(meter.Rate(), 15000.0f / 140.0f);
}

TEST(FrameRateMeterTest, SurvivesClockWrapAndIdenticalTimes) {
  TFrameRateMeter meter;
  uint32_t now = 0xFFFFFF00u;
  for (int i = 0; i < 15; ++i) meter.OnFrame(now += 20);  // wraps past zero
  EXPECT_FLOAT_EQ(meter.Rate(), 15000.0f / 280.0f);
  for (int i = 0; i < 15; ++i) meter.OnFrame(now);  // no time passed: keep the old rate
  EXPECT_FLOAT_EQ(meter.Rate(), 15000.0f / 280.0f);
}

TEST(FrameRateMeterTest, OverlayStartsOffAndToggles) {
  TFrameRateMeter meter;
  EXPECT_FALSE(meter.OverlayOn());
  meter.ToggleOverlay();
  EXPECT_TRUE(meter.OverlayOn());
  meter.ToggleOverlay();
  EXPECT_FALSE(meter.OverlayOn());
}

}  // namespace

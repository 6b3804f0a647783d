#include "frame/frame_rate.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameRateTest, RateAppearsOnTheFifteenthFrame) {
  TFrameRate rate;
  EXPECT_FALSE(rate.OverlayOn());
  uint32_t now = 1000;
  for (int frame = 1; frame < 15; ++frame, now += 20) {
    rate.FrameEnd(now);
    EXPECT_EQ(rate.Rate(), 0.0f) << frame;
  }
  rate.FrameEnd(now);  // 14 intervals of 20 ms since the first stored frame
  EXPECT_FLOAT_EQ(rate.Rate(), 15000.0f / 280.0f);

  // Fifteen frames in the same millisecond keep the previous rate.
  for (int frame = 0; frame < 15; ++frame) rate.FrameEnd(now);
  EXPECT_FLOAT_EQ(rate.Rate(), 15000.0f / 280.0f);

  rate.ToggleOverlay();
  EXPECT_TRUE(rate.OverlayOn());
}

}  // namespace

#include "frame/clock.h"

#include <gtest/gtest.h>

#include "frame/application_time.h"

namespace {

TEST(ClockTest, BornPausedAndStoppedThenStartsFromZero) {
  TManualTime time(5000);
  TClock clock;
  EXPECT_TRUE(clock.IsPaused());
  EXPECT_FALSE(clock.IsStarted());
  time.Advance(100);
  EXPECT_EQ(clock.GetTime(), 0);

  EXPECT_EQ(clock.Start(), 0);
  EXPECT_TRUE(clock.IsStarted());
  time.Advance(250);
  EXPECT_EQ(clock.GetTime(), 250);
  EXPECT_EQ(clock.Start(), 0);  // already running: nothing changes
  EXPECT_EQ(clock.GetTime(), 250);
}

TEST(ClockTest, PauseFreezesAndStartContinuesWithoutAJump) {
  TManualTime time(1000);
  TClock clock;
  clock.Start();
  time.Advance(400);
  EXPECT_FALSE(clock.Pause());
  EXPECT_TRUE(clock.Pause());
  time.Advance(3000);
  EXPECT_EQ(clock.GetTime(), 400);
  EXPECT_EQ(clock.Start(), 3000);
  EXPECT_EQ(clock.GetTime(), 400);
  time.Advance(50);
  EXPECT_EQ(clock.GetTime(), 450);

  // A second pause adds to the paused total.
  clock.Pause();
  time.Advance(1000);
  EXPECT_EQ(clock.Start(), 1000);
  time.Advance(10);
  EXPECT_EQ(clock.GetTime(), 460);
}

TEST(ClockTest, ResetKeepsThePausedStateAndStopReturnsToZero) {
  TManualTime time(0);
  TClock clock;
  clock.Start();
  time.Advance(700);
  clock.Reset(-200);
  EXPECT_EQ(clock.GetTime(), -200);
  time.Advance(300);
  EXPECT_EQ(clock.GetTime(), 100);

  clock.Pause();
  clock.Reset(5000);
  EXPECT_TRUE(clock.IsPaused());
  time.Advance(300);
  EXPECT_EQ(clock.GetTime(), 5000);
  EXPECT_EQ(clock.Start(), 300);
  EXPECT_EQ(clock.GetTime(), 5000);

  clock.Stop();
  EXPECT_TRUE(clock.IsPaused());
  time.Advance(300);
  EXPECT_EQ(clock.GetTime(), 0);
  EXPECT_EQ(clock.Start(), 300);  // started before: continues from 0
  time.Advance(5);
  EXPECT_EQ(clock.GetTime(), 5);
}

TEST(ClockTest, FollowsApplicationTimeAcrossItsWrapAround) {
  TManualTime time(0xffffff00u);
  TClock clock;
  clock.Start();
  time.Advance(0x200);
  EXPECT_EQ(clock.GetTime(), 0x200);
}

TEST(ApplicationTimeTest, RealSourceIsMonotonicAndManualSourcesNest) {
  const uint32_t first = ApplicationTime();
  EXPECT_GE(ApplicationTime() - first, 0u);
  EXPECT_LT(ApplicationTime() - first, 60000u);
  {
    TManualTime outer(10);
    {
      TManualTime inner(20);
      EXPECT_EQ(ApplicationTime(), 20u);
    }
    EXPECT_EQ(ApplicationTime(), 20u);  // one shared manual value
    outer.Set(30);
    EXPECT_EQ(ApplicationTime(), 30u);
  }
  EXPECT_LT(ApplicationTime() - first, 60000u);
}

}  // namespace

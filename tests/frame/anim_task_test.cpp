#include "frame/anim_task.h"

#include <gtest/gtest.h>

#include <functional>

#include "frame/animated_window.h"
#include "frame/application_time.h"
#include "frame/clock.h"
#include "frame/window_anim.h"

namespace {

// Counts Animate calls; answers what `result` says and may run a hook on each call.
class CountingTask : public TAnimTask {
 public:
  using TAnimTask::TAnimTask;
  bool Animate() override {
    ++runs;
    if (hook) hook(*this);
    return result;
  }
  int runs = 0;
  bool result = true;
  std::function<void(CountingTask&)> hook;
};

TEST(AnimTaskTest, BornDueAndReadyOnlyWhenDue) {
  TManualTime time(1000);
  CountingTask task;
  EXPECT_EQ(task.Due(), 1000);
  EXPECT_TRUE(task.Ready(kUpdatePhase));
  EXPECT_FALSE(task.Ready(kDrawPhase));
  task.SetDrawPhase(true);
  EXPECT_TRUE(task.Ready(kDrawPhase));

  task.Schedule(200, false, true, false);
  EXPECT_FALSE(task.Ready(kUpdatePhase));
  EXPECT_EQ(task.TimeSinceDue(), -200);
  time.Advance(200);
  EXPECT_TRUE(task.Ready(kUpdatePhase));

  task.Unschedule();
  EXPECT_FALSE(task.Ready(kUpdatePhase));
  EXPECT_FALSE(task.Ready(kDrawPhase));
  EXPECT_EQ(task.TimeSinceDue(), -1);
}

TEST(AnimTaskTest, ScheduleCountsFromTheOldDueTimeUnlessFromNow) {
  TManualTime time(0);
  CountingTask task;
  time.Advance(50);
  task.Schedule(100, true, false, false);
  EXPECT_EQ(task.Due(), 100);  // from the due time 0, not from now
  EXPECT_EQ(task.Period(), 100);
  task.Schedule(100, false, true, false);
  EXPECT_EQ(task.Due(), 150);
  EXPECT_EQ(task.Period(), 0);
  task.Unschedule();
  task.Schedule(30, false, false, false);  // unscheduled: from now
  EXPECT_EQ(task.Due(), 80);
}

TEST(AnimTaskTest, PeriodicCatchUpRunsOncePerMissedPeriodUpToOneSecond) {
  TManualTime time(0);
  CountingTask task;
  task.Schedule(100, true, false, true);  // due 100
  time.Set(550);                          // a 450 ms stall past the due time
  ASSERT_TRUE(task.Ready(kUpdatePhase));
  EXPECT_TRUE(task.DoTask());
  EXPECT_EQ(task.runs, 5);
  EXPECT_EQ(task.Due(), 600);

  task.runs = 0;
  time.Set(600 + 5000);  // a 5 s stall: no catching up, due starts again from now
  EXPECT_TRUE(task.DoTask());
  EXPECT_EQ(task.runs, 1);
  EXPECT_EQ(task.Due(), 5700);
}

TEST(AnimTaskTest, WithoutCatchUpOrFromNowTheTaskRunsOnce) {
  TManualTime time(0);
  CountingTask task;
  task.Schedule(100, true, false, false);
  time.Set(450);
  task.DoTask();
  EXPECT_EQ(task.runs, 1);
  EXPECT_EQ(task.Due(), 200);  // still behind: it runs again on the next pass

  task.Schedule(100, true, true, true);
  time.Set(900);
  task.runs = 0;
  task.DoTask();
  EXPECT_EQ(task.runs, 1);  // re-armed from now, so it is never behind
  EXPECT_EQ(task.Due(), 1000);
}

TEST(AnimTaskTest, CatchUpWithoutAPeriodDoesNotLoop) {
  TManualTime time(0);
  CountingTask task;
  task.Schedule(0, false, false, true);  // catch up, period 0, not from now
  time.Set(500);
  EXPECT_TRUE(task.DoTask());
  EXPECT_EQ(task.runs, 1);
  EXPECT_TRUE(task.Ready(kUpdatePhase));  // a one-shot that answered true stays due

  // An Animate that keeps dragging its due time back is stopped too.
  CountingTask stubborn;
  stubborn.Schedule(10, true, false, true);
  stubborn.hook = [](CountingTask& self) { self.Schedule(-20, true, false, true); };
  time.Set(600);
  EXPECT_TRUE(stubborn.DoTask());
  EXPECT_LE(stubborn.runs, 1002);
}

TEST(AnimTaskTest, FalseFromAnimateEndsTheCatchUp) {
  TManualTime time(0);
  CountingTask task;
  task.Schedule(10, true, false, true);
  task.hook = [](CountingTask& self) { self.result = self.runs < 3; };
  time.Set(500);
  EXPECT_FALSE(task.DoTask());
  EXPECT_EQ(task.runs, 3);
}

TEST(AnimTaskTest, FollowsItsClockAndKeepsItsDistanceWhenMoved) {
  TManualTime time(10000);
  TClock slow;
  slow.Start();
  TClock other;
  other.Start();
  time.Advance(1000);
  other.Pause();  // other shows 1000 and stays there; slow shows 1000 and runs

  CountingTask task(&slow);
  EXPECT_EQ(task.Due(), 1000);
  task.Schedule(200, false, true, false);  // due 1200 on slow
  time.Advance(50);
  task.SetClock(&other);  // 150 ms before due, on a clock that shows 1000
  EXPECT_EQ(task.Due(), 1150);
  EXPECT_EQ(task.TimeSinceDue(), -150);
  other.Start();
  time.Advance(149);
  EXPECT_FALSE(task.Ready(kUpdatePhase));
  time.Advance(1);
  EXPECT_TRUE(task.Ready(kUpdatePhase));

  // Paused clocks freeze their tasks.
  other.Pause();
  task.Schedule(10, false, true, false);
  time.Advance(100000);
  EXPECT_FALSE(task.Ready(kUpdatePhase));

  task.SetClock(nullptr);
  EXPECT_EQ(task.TimeSinceDue(), -10);
}

class FakeWindow : public TAnimatedWindow {
 public:
  bool Animate() override {
    ++steps;
    return keepGoing;
  }
  void AnimTaskGone(TWindowAnim* task) override {
    if (task == anim) anim = nullptr;
  }
  TWindowAnim* anim = nullptr;
  int steps = 0;
  bool keepGoing = true;
};

TEST(WindowAnimTest, AnimatesItsWindowAndTellsItWhenItGoes) {
  TManualTime time(0);
  FakeWindow window;
  auto* anim = new TWindowAnim(&window);
  window.anim = anim;
  EXPECT_TRUE(anim->DoTask());
  EXPECT_EQ(window.steps, 1);
  window.keepGoing = false;
  EXPECT_FALSE(anim->DoTask());
  delete anim;
  EXPECT_EQ(window.anim, nullptr);

  // A window that went first leaves a task that ends at its next run.
  TWindowAnim orphan(&window);
  orphan.DetachWindow();
  EXPECT_FALSE(orphan.DoTask());
  EXPECT_EQ(window.steps, 2);
}

}  // namespace

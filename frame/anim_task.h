// A timed task: due at a time on its clock (or on application time without one), re-armed
// by its period after each run. Animate does the work; returning false ends the task.
#pragma once

#include "frame/task.h"

class TClock;

class TAnimTask : public TTask {
 public:
  // The task is born due: its due time is the clock's current time.
  explicit TAnimTask(TClock* clock = nullptr);

  bool Ready(int phase) override;
  bool DoTask() override;
  virtual bool Animate() = 0;

  // The time on the task's clock, or application time without one.
  int GetTime() const;
  // Arms the task delay ms from now (fromNow, or when unscheduled) or from its previous due
  // time. periodic re-arms it by delay after each run; catchUp runs it repeatedly until it
  // is due in the future again, never for more than one second of backlog.
  void Schedule(int delay, bool periodic, bool fromNow, bool catchUp);
  void Unschedule();
  void SetDrawPhase(bool drawPhase) { mDrawPhase = drawPhase; }
  // now - due, or -1 when not scheduled.
  int TimeSinceDue() const;
  // Moves the task to another clock (null: application time) keeping its distance to the
  // due time. The clock is not owned.
  void SetClock(TClock* clock);

  TClock* GetClock() const { return mClock; }
  bool IsScheduled() const { return mDue != -1; }
  bool InDrawPhase() const { return mDrawPhase; }
  int Due() const { return mDue; }
  int Period() const { return mPeriod; }

 private:
  TClock* mClock;
  bool mDrawPhase = false;
  bool mFromNow = false;
  bool mCatchUp = false;
  int mDue;
  int mPeriod = 0;
};

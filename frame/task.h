// Everything that happens over time is a task on a task list. The frame loop runs the
// lists in two phases: the update phase (when no platform message is pending) and the
// draw phase (once per drawn frame, before the windows draw).
#pragma once

enum TTaskPhase : int {
  kUpdatePhase = 0,
  kDrawPhase = 1,
};

class TTask {
 public:
  virtual ~TTask() = default;
  // Whether the task wants to run in this phase.
  virtual bool Ready(int /*phase*/) { return true; }
  // One step; false means finished, and the list deletes the task.
  virtual bool DoTask() = 0;
};

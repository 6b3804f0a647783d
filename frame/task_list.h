// An ordered list of owned tasks, run once per phase. Removal and deletion requested while
// the list is running are deferred to the end of the run, so iteration never touches a
// freed task.
#pragma once

#include <cstddef>
#include <list>
#include <vector>

class TTask;

class TTaskList {
 public:
  TTaskList() = default;
  ~TTaskList() { Clear(); }
  TTaskList(const TTaskList&) = delete;
  TTaskList& operator=(const TTaskList&) = delete;

  // Appends a task; the list owns it from now on.
  void Add(TTask* task);
  // Hands a task back to the caller without deleting it; false if it is not in the list.
  // While running, the task keeps its place but is skipped until the run ends.
  bool Remove(TTask* task);
  // Runs every task that is Ready(phase), in order; a task whose DoTask answers false is
  // deleted. Tasks added during the run run in the same pass when they land after the
  // current one. A nested Run of the same list does nothing.
  void Run(int phase);
  // Deletes every task (after the current run when called from inside one).
  void Clear();

  bool Contains(const TTask* task) const;
  size_t Size() const { return mTasks.size(); }
  bool IsRunning() const { return mRunning; }

 private:
  static bool Holds(const std::vector<TTask*>& tasks, const TTask* task);
  static void Drop(std::vector<TTask*>& tasks, const TTask* task);

  bool mRunning = false;
  std::list<TTask*> mTasks;
  std::vector<TTask*> mPendingRemoval;
  std::vector<TTask*> mPendingDelete;
};

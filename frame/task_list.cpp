#include "frame/task_list.h"

#include <algorithm>

#include "frame/task.h"

bool TTaskList::Holds(const std::vector<TTask*>& tasks, const TTask* task) {
  return std::find(tasks.begin(), tasks.end(), task) != tasks.end();
}

void TTaskList::Drop(std::vector<TTask*>& tasks, const TTask* task) {
  tasks.erase(std::remove(tasks.begin(), tasks.end(), task), tasks.end());
}

bool TTaskList::Contains(const TTask* task) const {
  return std::find(mTasks.begin(), mTasks.end(), task) != mTasks.end();
}

void TTaskList::Add(TTask* task) {
  if (task) mTasks.push_back(task);
}

bool TTaskList::Remove(TTask* task) {
  const auto found = std::find(mTasks.begin(), mTasks.end(), task);
  if (found == mTasks.end()) return false;
  if (!mRunning) {
    mTasks.erase(found);
  } else if (!Holds(mPendingRemoval, task)) {
    mPendingRemoval.push_back(task);
  }
  return true;
}

void TTaskList::Run(int phase) {
  if (mRunning) return;
  mRunning = true;
  for (auto it = mTasks.begin(); it != mTasks.end();) {
    // Nothing unlinks a node while the list runs, so the iterator stays valid across the
    // task's step; the successor is taken afterwards so that tasks appended during the step
    // run in this pass too.
    TTask* task = *it;
    const bool finished = !Holds(mPendingRemoval, task) && task->Ready(phase) && !task->DoTask();
    const auto next = std::next(it);
    if (finished) {
      mTasks.erase(it);
      Drop(mPendingDelete, task);
      Drop(mPendingRemoval, task);
      delete task;
    }
    it = next;
  }
  mRunning = false;

  for (TTask* task : mPendingRemoval) {
    const auto found = std::find(mTasks.begin(), mTasks.end(), task);
    if (found != mTasks.end()) mTasks.erase(found);
  }
  mPendingRemoval.clear();
  std::vector<TTask*> doomed;
  doomed.swap(mPendingDelete);
  for (TTask* task : doomed) delete task;
}

void TTaskList::Clear() {
  if (mRunning) {
    for (TTask* task : mTasks) {
      if (!Holds(mPendingRemoval, task)) mPendingRemoval.push_back(task);
      if (!Holds(mPendingDelete, task)) mPendingDelete.push_back(task);
    }
    return;
  }
  std::list<TTask*> tasks;
  tasks.swap(mTasks);
  std::vector<TTask*> removed;
  removed.swap(mPendingRemoval);
  std::vector<TTask*> doomed;
  doomed.swap(mPendingDelete);
  for (TTask* task : tasks) {
    if (!Holds(removed, task) && !Holds(doomed, task)) delete task;
  }
  for (TTask* task : doomed) delete task;
}

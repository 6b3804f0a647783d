#include "frame/task_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/task.h"

namespace {

// A task that records its runs and deletion in a shared journal and runs an optional
// action on each step.
class JournalTask : public TTask {
 public:
  JournalTask(std::string name, std::vector<std::string>& journal)
      : mName(std::move(name)), mJournal(journal) {}
  ~JournalTask() override { mJournal.push_back("~" + mName); }
  bool Ready(int phase) override { return phase == kUpdatePhase || drawToo; }
  bool DoTask() override {
    mJournal.push_back(mName);
    if (action) action();
    return keep;
  }
  std::function<void()> action;
  bool keep = true;
  bool drawToo = false;

 private:
  std::string mName;
  std::vector<std::string>& mJournal;
};

using Journal = std::vector<std::string>;

TEST(TaskListTest, RunsReadyTasksInOrderAndDeletesFinishedOnes) {
  Journal journal;
  TTaskList list;
  auto* a = new JournalTask("a", journal);
  auto* b = new JournalTask("b", journal);
  auto* c = new JournalTask("c", journal);
  c->drawToo = true;
  list.Add(a);
  list.Add(b);
  list.Add(c);
  b->keep = false;
  list.Run(kUpdatePhase);
  EXPECT_EQ(journal, (Journal{"a", "b", "~b", "c"}));
  EXPECT_EQ(list.Size(), 2u);

  journal.clear();
  list.Run(kDrawPhase);
  EXPECT_EQ(journal, (Journal{"c"}));
}

TEST(TaskListTest, RemoveHandsTheTaskBackWithoutDeletingIt) {
  Journal journal;
  TTaskList list;
  JournalTask kept("kept", journal);
  list.Add(&kept);
  EXPECT_TRUE(list.Remove(&kept));
  EXPECT_FALSE(list.Remove(&kept));
  list.Run(kUpdatePhase);
  EXPECT_TRUE(journal.empty());
}

TEST(TaskListTest, TasksRemovedDuringARunAreSkippedAndUnlinkedAfterwards) {
  Journal journal;
  TTaskList list;
  JournalTask self("self", journal);
  JournalTask victim("victim", journal);
  auto* remover = new JournalTask("remover", journal);
  self.action = [&] { EXPECT_TRUE(list.Remove(&self)); };
  remover->action = [&] {
    if (!journal.empty() && journal.front() != "self") return;  // first run only
    EXPECT_TRUE(list.Remove(&victim));
    EXPECT_TRUE(list.Contains(&victim));  // keeps its place until the run ends
  };
  list.Add(&self);
  list.Add(remover);
  list.Add(&victim);
  list.Run(kUpdatePhase);
  EXPECT_EQ(journal, (Journal{"self", "remover"}));
  EXPECT_FALSE(list.Contains(&self));
  EXPECT_FALSE(list.Contains(&victim));
  EXPECT_EQ(list.Size(), 1u);

  journal.clear();
  list.Run(kUpdatePhase);
  EXPECT_EQ(journal, (Journal{"remover"}));
  list.Clear();  // deletes the remover; self and victim live on the stack
}

TEST(TaskListTest, TasksAddedDuringARunRunInTheSamePass) {
  Journal journal;
  TTaskList list;
  auto* parent = new JournalTask("parent", journal);
  bool added = false;
  parent->action = [&] {
    if (added) return;
    added = true;
    auto* child = new JournalTask("child", journal);
    child->keep = false;
    list.Add(child);
  };
  list.Add(parent);
  list.Run(kUpdatePhase);
  EXPECT_EQ(journal, (Journal{"parent", "child", "~child"}));
}

TEST(TaskListTest, ClearingFromInsideARunDeletesEveryTaskOnceAfterTheRun) {
  Journal journal;
  {
    TTaskList list;
    auto* first = new JournalTask("first", journal);
    auto* clearer = new JournalTask("clearer", journal);
    auto* last = new JournalTask("last", journal);
    clearer->action = [&] {
      list.Clear();
      list.Clear();  // twice: still deleted once
      EXPECT_EQ(list.Size(), 3u);
    };
    clearer->keep = false;  // finishing in the same step must not delete it twice either
    list.Add(first);
    list.Add(clearer);
    list.Add(last);
    list.Run(kUpdatePhase);
    EXPECT_EQ(list.Size(), 0u);
    // "clearer" went when it finished; the others after the run, in list order.
    EXPECT_EQ(journal, (Journal{"first", "clearer", "~clearer", "~first", "~last"}));
  }
  EXPECT_EQ(journal.size(), 5u);
}

TEST(TaskListTest, DestroyingTheListDeletesItsTasksButNotRemovedOnes) {
  Journal journal;
  JournalTask outside("outside", journal);
  {
    TTaskList list;
    list.Add(new JournalTask("owned", journal));
    list.Add(&outside);
    list.Remove(&outside);
  }
  EXPECT_EQ(journal, (Journal{"~owned"}));
}

TEST(TaskListTest, NestedRunOfTheSameListDoesNothing) {
  Journal journal;
  TTaskList list;
  auto* a = new JournalTask("a", journal);
  a->action = [&] { list.Run(kUpdatePhase); };
  list.Add(a);
  list.Add(new JournalTask("b", journal));
  list.Run(kUpdatePhase);
  EXPECT_EQ(journal, (Journal{"a", "b"}));
}

}  // namespace

#include "game/tutorial_prompt_queue.h"

#include <algorithm>

void TTutorialPromptQueue::Clear() {
  mSlots = EmptySlots();
  mCurrent = nullptr;
}

bool TTutorialPromptQueue::Add(int id) {
  if (id < 0 || id >= kTutorialPromptCount) return false;
  const auto free = std::find(mSlots.begin(), mSlots.end(), kEmpty);
  if (free == mSlots.end()) return false;
  *free = id;
  return true;
}

void TTutorialPromptQueue::Flush() {
  const auto first =
      std::find_if(mSlots.begin(), mSlots.end(), [](int id) { return id != kEmpty; });
  if (first != mSlots.end()) *first = kEmpty;
}

void TTutorialPromptQueue::Empty(int slot) {
  if (slot >= 0 && slot < kSlots) mSlots[slot] = kEmpty;
}

int TTutorialPromptQueue::Waiting() const {
  return static_cast<int>(
      std::count_if(mSlots.begin(), mSlots.end(), [](int id) { return id != kEmpty; }));
}

TTutorialPromptQueue& TutorialPromptQueue() {
  static TTutorialPromptQueue queue;
  return queue;
}

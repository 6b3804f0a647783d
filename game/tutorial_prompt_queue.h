// The prompts waiting to be shown, program-wide: ten slots of prompt ids (-1 = empty),
// filled front to back and shown front to back, and the prompt being shown now (the prompt
// dialog reads it to decide whether it offers the tips switch). A game window clears the
// queue when it is created; the "FlushTutorial" script function drops the first waiting
// prompt.
#pragma once

#include <array>

#include "game/tutorial_prompt.h"

class TTutorialPromptQueue {
 public:
  static constexpr int kSlots = 10;
  static constexpr int kEmpty = -1;

  // Empties every slot and forgets the current prompt.
  void Clear();
  // Puts the id into the first empty slot; false when every slot is taken. The same id
  // may stand in several slots.
  bool Add(int id);
  // Empties the first slot that holds an id.
  void Flush();
  // Empties one slot (out of range: nothing).
  void Empty(int slot);
  int At(int slot) const { return slot >= 0 && slot < kSlots ? mSlots[slot] : kEmpty; }
  int Waiting() const;

  // The prompt the dialog shows (null when none has been shown since the last Clear).
  const TTutorialPrompt* Current() const { return mCurrent; }
  void SetCurrent(const TTutorialPrompt* prompt) { mCurrent = prompt; }

 private:
  std::array<int, kSlots> mSlots = EmptySlots();
  const TTutorialPrompt* mCurrent = nullptr;

  static constexpr std::array<int, kSlots> EmptySlots() {
    std::array<int, kSlots> slots{};
    slots.fill(kEmpty);
    return slots;
  }
};

// The one queue of the program.
TTutorialPromptQueue& TutorialPromptQueue();

// The prompts that explain the game's features the first time they matter. A prompt's id is
// its row number; the progress record remembers the ids a player has seen.
#pragma once

#include <span>
#include <string_view>

struct TTutorialPrompt {
  int id;
  std::string_view bodyKey;   // string-table key of the text, also the prompt's name
  std::string_view titleKey;  // string-table key of the title
  bool needsTutorialsOn;      // shown only while the player's tutorials are on
};

inline constexpr int kTutorialPromptCount = 22;

std::span<const TTutorialPrompt> TutorialPrompts();
// The prompt with that body key, or null.
const TTutorialPrompt* FindTutorialPrompt(std::string_view bodyKey);
// The prompt with that id, or null.
const TTutorialPrompt* TutorialPromptById(int id);

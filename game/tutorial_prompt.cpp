#include "game/tutorial_prompt.h"

#include <array>

namespace {

constexpr std::array<TTutorialPrompt, kTutorialPromptCount> kPrompts{{
    {0, "tutorial_normalpair", "tutorial_normalpair_title", false},
    {1, "tutorial_blockedpair", "tutorial_blockedpair_title", false},
    {2, "tutorial_threeofakind", "tutorial_threeofakind_title", false},
    {3, "tutorial_fourofafamily", "tutorial_fourofafamily_title", false},
    {4, "tutorial_hintpair", "tutorial_hintpair_title", false},
    {5, "tutorial_antiquepair", "tutorial_antiquepair_title", false},
    {6, "tutorial_end", "tutorial_end_title", false},
    {7, "tutorial_discover_shuffle", "tutorial_discover_shuffle_title", true},
    {8, "tutorial_discover_appraisal", "tutorial_discover_appraisal_title", true},
    {9, "tutorial_level_unclehenry", "tutorial_level_unclehenry_title", true},
    {10, "tutorial_level_multipleantiques", "tutorial_level_multipleantiques_title", true},
    {11, "tutorial_level_antiquesets", "tutorial_level_antiquesets_title", true},
    {12, "tutorial_discover_notreasuresleft", "tutorial_discover_notreasuresleft_title", false},
    {13, "tutorial_discover_speedauction", "tutorial_discover_speedauction_title", false},
    {14, "tutorial_discover_treasuregallery", "tutorial_discover_treasuregallery_title", true},
    {15, "tutorial_discover_treasuregallery2", "tutorial_discover_treasuregallery2_title", true},
    {16, "tutorial_discover_endtreasuregallery", "tutorial_discover_endtreasuregallery_title",
     false},
    {17, "tutorial_discover_editor_initial", "tutorial_discover_editor_initial_title", true},
    {18, "tutorial_discover_editor_move", "tutorial_discover_editor_move_title", true},
    {19, "tutorial_discover_editor_layer", "tutorial_discover_editor_layer_title", true},
    {20, "tutorial_discover_editor_delete", "tutorial_discover_editor_delete_title", true},
    {21, "tutorial_discover_editor_save", "tutorial_discover_editor_save_title", true},
}};

constexpr bool IdsAreRowNumbers() {
  for (int i = 0; i < kTutorialPromptCount; ++i)
    if (kPrompts[static_cast<size_t>(i)].id != i) return false;
  return true;
}
static_assert(IdsAreRowNumbers(), "a prompt's id is its row number");

}  // namespace

std::span<const TTutorialPrompt> TutorialPrompts() {
  return kPrompts;
}

const TTutorialPrompt* FindTutorialPrompt(std::string_view bodyKey) {
  for (const TTutorialPrompt& prompt : kPrompts)
    if (prompt.bodyKey == bodyKey) return &prompt;
  return nullptr;
}

const TTutorialPrompt* TutorialPromptById(int id) {
  return id >= 0 && id < kTutorialPromptCount ? &kPrompts[static_cast<size_t>(id)] : nullptr;
}

// TEditorPrompts: the layout editor's first-time prompts (opening the editor, moving, layers,
// deleting, saving). They go through the program's prompt queue and the game's prompt logic
// (TGameTutorial, with the editor as its host): each is shown once per player, recorded in
// the player's record when shown, and only while the player's tips are on. A prompt is shown
// through the prompt dialog while the editor is the top screen; one asked for meanwhile waits
// in the queue until the dialog, or a test play, is closed.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "game/game_tutorial.h"

inline constexpr char kEditorPromptInitial[] = "tutorial_discover_editor_initial";
inline constexpr char kEditorPromptMove[] = "tutorial_discover_editor_move";
inline constexpr char kEditorPromptLayer[] = "tutorial_discover_editor_layer";
inline constexpr char kEditorPromptDelete[] = "tutorial_discover_editor_delete";
inline constexpr char kEditorPromptSave[] = "tutorial_discover_editor_save";

// Whether the prompt is one of the editor's five.
bool IsEditorPrompt(int id);

class TEditorPrompts {
 public:
  TEditorPrompts();
  ~TEditorPrompts();

  // Queues the prompt, once per editor: a second request of the same key does nothing.
  void Ask(std::string_view bodyKey);
  // One update of the editor, which calls it only while it is the top screen (its updates
  // stop while a dialog covers it) and no dialog asked for is still to open: the first
  // waiting prompt is shown. So two prompts asked for at once come one after the other.
  void Drive();

 private:
  class THost;
  std::unique_ptr<THost> mHost;
  std::unique_ptr<TGameTutorial> mPrompts;
  std::set<std::string, std::less<>> mAsked;
};

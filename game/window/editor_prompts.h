// The editor's first-time prompts (opening the editor, moving, layers, deleting, saving),
// asked for by their body keys. They go through the program's prompt queue, which shows each
// once per player and only while the player's tips are on.
#pragma once

#include <string_view>

inline constexpr char kEditorPromptInitial[] = "tutorial_discover_editor_initial";
inline constexpr char kEditorPromptMove[] = "tutorial_discover_editor_move";
inline constexpr char kEditorPromptLayer[] = "tutorial_discover_editor_layer";
inline constexpr char kEditorPromptDelete[] = "tutorial_discover_editor_delete";
inline constexpr char kEditorPromptSave[] = "tutorial_discover_editor_save";

void RequestEditorPrompt(std::string_view bodyKey);

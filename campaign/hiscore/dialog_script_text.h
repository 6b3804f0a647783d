// Short Lua texts that the high-score screens run in the dialog scripts' state: setting the
// start values of a dialog and calling its UpdateButtons or SwitchModes. They run at once,
// outside the dialog coroutine, so they must not wait.
#pragma once

#include <string>

struct lua_State;

// The dialog scripts' Lua state, or null when no window script runs.
lua_State* DialogScriptState();
// Runs text in the dialog scripts' state; a failure is logged and changes nothing else.
void RunDialogText(const std::string& text);
// Runs text inside the dialog coroutine at the next frame, where it may open a dialog and
// wait for it.
void QueueDialogText(const std::string& text);
// text made safe to sit between single quotes of a Lua string.
std::string QuoteForLua(const std::string& text);
// Removes a script function a window bound while it lived.
void UnbindDialogFunction(const char* name);

// Closes the dialog this window belongs to, as its close button would.
class TWindow;
void CloseDialogOf(TWindow* window);
// Makes window the keyboard target of its dialog (keys reach it first).
void TakeDialogKeys(TWindow* window);

// Windows virtual-key codes of the keys the high-score screens answer.
namespace hiscore_key {
inline constexpr int kEscape = 27;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
}  // namespace hiscore_key

// TButtonFocus: the keyboard's way through a screen. Tab and Shift+Tab (and the arrow keys)
// move a focus ring over the shown buttons and sliders in reading order; Enter or Space
// presses the focused button (without a focused button Enter goes on to the dialog's
// default button); Left and Right move a focused slider. The ring is drawn by the screen
// after its children.
#pragma once

#include <vector>

class TWindow;

class TButtonFocus {
 public:
  // Handles the key when it is one of the keys above; false lets it climb on.
  bool OnKeyDown(TWindow& root, int key, int modifiers);
  bool OnChar(TWindow& root, int character);
  // The ring around the focused control, in root's drawing coordinates.
  void Draw(TWindow& root);
  // The focused control when it is still a shown control of root, else null.
  TWindow* Focused(TWindow& root);
  void Clear() { mFocus = nullptr; }

  // Shown, armed buttons and shown sliders below root, top to bottom and left to right.
  static std::vector<TWindow*> Controls(TWindow& root);

 private:
  void Move(TWindow& root, int direction);

  TWindow* mFocus = nullptr;
};

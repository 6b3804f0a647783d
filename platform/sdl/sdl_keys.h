// SDL key symbols to Windows virtual-key codes, plus the "extended key" bit that the
// original keyboard layout gave the navigation block, right Ctrl/Alt and keypad Enter/Divide.
#pragma once

#include <SDL2/SDL_keyboard.h>

struct TVirtualKeyCode {
  int code = 0;  // 0: no virtual key for this SDL key
  bool extended = false;
};

TVirtualKeyCode VirtualKeyFromSdl(const SDL_Keysym& key);

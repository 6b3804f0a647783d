#include "platform/sdl/sdl_keys.h"

#include "frame/virtual_keys.h"

TVirtualKeyCode VirtualKeyFromSdl(const SDL_Keysym& key) {
  const SDL_Keycode sym = key.sym;
  if (sym >= SDLK_a && sym <= SDLK_z) return {VK_A + (sym - SDLK_a), false};
  if (sym >= SDLK_0 && sym <= SDLK_9) return {VK_0 + (sym - SDLK_0), false};
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return {VK_F1 + (sym - SDLK_F1), false};
  if (sym >= SDLK_F13 && sym <= SDLK_F24) return {VK_F1 + 12 + (sym - SDLK_F13), false};
  if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return {VK_NUMPAD0 + 1 + (sym - SDLK_KP_1), false};
  switch (sym) {
    case SDLK_BACKSPACE:
      return {VK_BACK, false};
    case SDLK_TAB:
      return {VK_TAB, false};
    case SDLK_CLEAR:
      return {VK_CLEAR, false};
    case SDLK_RETURN:
      return {VK_RETURN, false};
    case SDLK_KP_ENTER:
      return {VK_RETURN, true};
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return {VK_SHIFT, false};
    case SDLK_LCTRL:
      return {VK_CONTROL, false};
    case SDLK_RCTRL:
      return {VK_CONTROL, true};
    case SDLK_LALT:
      return {VK_MENU, false};
    case SDLK_RALT:
      return {VK_MENU, true};
    case SDLK_PAUSE:
      return {VK_PAUSE, false};
    case SDLK_CAPSLOCK:
      return {VK_CAPITAL, false};
    case SDLK_ESCAPE:
      return {VK_ESCAPE, false};
    case SDLK_SPACE:
      return {VK_SPACE, false};
    case SDLK_PAGEUP:
      return {VK_PRIOR, true};
    case SDLK_PAGEDOWN:
      return {VK_NEXT, true};
    case SDLK_END:
      return {VK_END, true};
    case SDLK_HOME:
      return {VK_HOME, true};
    case SDLK_LEFT:
      return {VK_LEFT, true};
    case SDLK_UP:
      return {VK_UP, true};
    case SDLK_RIGHT:
      return {VK_RIGHT, true};
    case SDLK_DOWN:
      return {VK_DOWN, true};
    case SDLK_PRINTSCREEN:
      return {VK_SNAPSHOT, true};
    case SDLK_INSERT:
      return {VK_INSERT, true};
    case SDLK_DELETE:
      return {VK_DELETE, true};
    case SDLK_LGUI:
      return {VK_LWIN, true};
    case SDLK_RGUI:
      return {VK_RWIN, true};
    case SDLK_APPLICATION:
      return {VK_APPS, true};
    case SDLK_KP_0:
      return {VK_NUMPAD0, false};
    case SDLK_KP_MULTIPLY:
      return {VK_MULTIPLY, false};
    case SDLK_KP_PLUS:
      return {VK_ADD, false};
    case SDLK_KP_MINUS:
      return {VK_SUBTRACT, false};
    case SDLK_KP_PERIOD:
      return {VK_DECIMAL, false};
    case SDLK_KP_DIVIDE:
      return {VK_DIVIDE, true};
    case SDLK_NUMLOCKCLEAR:
      return {VK_NUMLOCK, true};
    case SDLK_SCROLLLOCK:
      return {VK_SCROLL, false};
    case SDLK_SEMICOLON:
      return {VK_OEM_1, false};
    case SDLK_EQUALS:
      return {VK_OEM_PLUS, false};
    case SDLK_COMMA:
      return {VK_OEM_COMMA, false};
    case SDLK_MINUS:
      return {VK_OEM_MINUS, false};
    case SDLK_PERIOD:
      return {VK_OEM_PERIOD, false};
    case SDLK_SLASH:
      return {VK_OEM_2, false};
    case SDLK_BACKQUOTE:
      return {VK_OEM_3, false};
    case SDLK_LEFTBRACKET:
      return {VK_OEM_4, false};
    case SDLK_BACKSLASH:
      return {VK_OEM_5, false};
    case SDLK_RIGHTBRACKET:
      return {VK_OEM_6, false};
    case SDLK_QUOTE:
      return {VK_OEM_7, false};
    default:
      return {};
  }
}

// Windows virtual-key codes: every key event above the platform layer carries these, so
// key handling in windows and scripts does not depend on the platform's own key codes.
#pragma once

enum TVirtualKey {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_CLEAR = 0x0C,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,
  VK_PAUSE = 0x13,
  VK_CAPITAL = 0x14,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_SNAPSHOT = 0x2C,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_0 = 0x30,  // '0'..'9' are 0x30..0x39
  VK_A = 0x41,  // 'A'..'Z' are 0x41..0x5A
  VK_LWIN = 0x5B,
  VK_RWIN = 0x5C,
  VK_APPS = 0x5D,
  VK_NUMPAD0 = 0x60,  // ..VK_NUMPAD9 = 0x69
  VK_MULTIPLY = 0x6A,
  VK_ADD = 0x6B,
  VK_SUBTRACT = 0x6D,
  VK_DECIMAL = 0x6E,
  VK_DIVIDE = 0x6F,
  VK_F1 = 0x70,  // ..VK_F24 = 0x87
  VK_NUMLOCK = 0x90,
  VK_SCROLL = 0x91,
  VK_OEM_1 = 0xBA,  // ;:
  VK_OEM_PLUS = 0xBB,
  VK_OEM_COMMA = 0xBC,
  VK_OEM_MINUS = 0xBD,
  VK_OEM_PERIOD = 0xBE,
  VK_OEM_2 = 0xBF,  // /?
  VK_OEM_3 = 0xC0,  // `~
  VK_OEM_4 = 0xDB,  // [{
  VK_OEM_5 = 0xDC,  // backslash
  VK_OEM_6 = 0xDD,  // ]}
  VK_OEM_7 = 0xDE,  // '"
};

// Looks up a key by its short name as used in input scripts ("return", "insert", "f1",
// "a", "5"), case-insensitive; also accepts a decimal or 0x-hexadecimal code.
// Returns 0 when the name is unknown.
int VirtualKeyFromName(const char* name);

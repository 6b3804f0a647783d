// One message from the platform window, already stripped of the platform's own types.
// The real backend makes these from SDL events, the headless backend from its queue; the
// input script injects them into either. Positions are logical screen coordinates (the
// backend converts window pixels through the display scale).
#pragma once

enum TPlatformMessageType {
  kMsgNone = 0,
  kMsgQuit,            // the quit message posted by PostQuit
  kMsgPaint,           // the window needs repainting
  kMsgKeyDown,         // key = virtual-key code, extended, keyState
  kMsgSysKeyDown,      // key pressed with Alt held (alt = 1) or F10
  kMsgKeyUp,           //
  kMsgChar,            // key = character code
  kMsgMouseMove,       // x, y
  kMsgButtonDown,      // button, x, y, keyState
  kMsgButtonUp,        //
  kMsgWheel,           // wheel > 0 forward, < 0 backward
  kMsgMouseHover,      // x, y
  kMsgMouseLeave,      // the pointer left the client area
  kMsgCaptureChanged,  // toOwnWindow: the program's own window took the capture
  kMsgClose,           // the user asked to close the window
  kMsgActivateApp,     // wparam 1 gained, 0 lost the foreground
  kMsgSize,            // wparam 1 minimised, 0 restored / shown
  kMsgMouseActivate,   // a click is bringing the window to the front
  kMsgRaise,           // a second instance asked this one to come forward
  kMsgUser,            // a host-link message: wparam, lparam
  kMsgUserForward,     // a message to forward to the parent window unchanged
};

enum TMouseButton {
  kButtonLeft = 1,
  kButtonMiddle = 2,
  kButtonRight = 3,
  kButtonX1 = 4,
  kButtonX2 = 5,
};

struct TPlatformMessage {
  int type = kMsgNone;
  int key = 0;  // virtual-key code or character code
  bool extended = false;
  bool alt = false;
  int keyState = 0;  // kModShift | kModCtrl as held when the message was made
  int x = 0;
  int y = 0;
  int button = 0;  // TMouseButton
  int wheel = 0;
  long wparam = 0;
  long lparam = 0;
  bool toOwnWindow = false;
};

// The event record that the event pump hands to the game loop and the window manager.
#pragma once

enum TEventKind {
  kEventIdle = 1,           // no platform message was pending; the task list has run
  kEventNone = 2,           // message consumed, ignored key, display restored
  kEventClose = 3,          // close requested by the platform window
  kEventQuit = 4,           // quit message, or the host window vanished
  kEventLeftDown = 5,       // left button down
  kEventMouse = 6,          // other mouse action, see TMouseAction
  kEventLeftUp = 7,         // left button up
  kEventMove = 8,           // pointer moved (absolute position, or motion in relative mode)
  kEventLeave = 9,          // pointer left, or mouse capture taken by another window
  kEventHover = 10,         // pointer hovered
  kEventKeyDown = 11,       // param = virtual-key code
  kEventKeyUp = 12,         // param = virtual-key code
  kEventChar = 13,          // param = character code
  kEventRepaint = 14,       // repaint needed
  kEventDisplayReset = 16,  // display mode set up again
  kEventFocus = 17,         // param 1 active, 0 inactive
  kEventFullscreen = 18,    // param 1 now full screen, 0 windowed
};

// param of kEventMouse.
enum TMouseAction {
  kMouseRightUp = 0,
  kMouseRightDown = 1,
  kMouseMiddleUp = 2,
  kMouseMiddleDown = 3,
  kMouseExtra1Down = 4,
  kMouseExtra2Down = 5,
  kMouseWheelForward = 6,
  kMouseWheelBackward = 7,
};

enum TEventModifier {
  kModShift = 1,
  kModCtrl = 2,
  kModAlt = 4,
  kModExtended = 8,
};

struct TEvent {
  int kind = kEventNone;
  int param = 0;
  int x = 0;
  int y = 0;
  int modifiers = 0;
};

// TMessage: a message between windows and the dialog scripts, queued by the window manager.
#pragma once

#include <string>

class TWindow;

// The engine's message types. Scripts see them under the same names (ui/engine_vocabulary.cpp
// lists them for the dialog scripts); game libraries number their own types from
// kFirstGameMessageType and register them the same way (ui/dialog_vocabulary.h).
enum TMessageType : int {
  kCloseWindow = 1,
  kDefaultAction = 2,
  kButtonPress = 3,
  kPressAnyKey = 4,
  kQuitNow = 5,
  kModalClosed = 6,
  kTextChanged = 7,
  kScriptCall = 8,
  kSliderChanged = 9,
  kSliderReleased = 10,
  kSliderRailBefore = 11,
  kSliderRailAfter = 12,
  kLastEngineMessageType = kSliderRailAfter,
  kFirstGameMessageType = 100,
};

class TMessage {
 public:
  TMessage(int type, std::string name, TWindow* target = nullptr)
      : type(type), name(std::move(name)), target(target) {}
  virtual ~TMessage() = default;
  virtual const char* GetClassName() const { return "TMessage"; }

  int type;
  std::string name;
  TWindow* target;
};

// What the window tree and the script functions need of the widget classes (text, image and
// button windows). The widgets implement these; the tree finds them with dynamic_cast, so
// it does not depend on the widget classes themselves.
#pragma once

#include <memory>
#include <string>

// A window whose label scripts can read and set (text windows and buttons).
class TLabelledWindow {
 public:
  virtual ~TLabelledWindow() = default;
  virtual std::string GetLabelText() const = 0;
  virtual void SetLabelText(const std::string& text) = 0;
};

// A button as the default-button search, Enter and the toggle script functions see it.
class TButtonWindow {
 public:
  virtual ~TButtonWindow() = default;
  virtual bool IsDefaultButton() const = 0;
  // The button Escape presses (a dialog's cancel or close button).
  virtual bool IsCancelButton() const { return false; }
  // Runs the button's action; true only when the action detached the button (closed its
  // dialog).
  virtual bool Press() = 0;
  virtual bool GetToggleState() const = 0;
  virtual void SetToggleState(bool on) = 0;
};

// An image window.
class TBitmapWindow {
 public:
  virtual ~TBitmapWindow() = default;
  virtual void SetBitmap(const std::string& file, float scale) = 0;
  virtual bool HasTexture() const = 0;
};

class TLuaFunction;

// A button's script action (SetCommand).
class TScriptActionTarget {
 public:
  virtual ~TScriptActionTarget() = default;
  virtual void SetScriptAction(std::unique_ptr<TLuaFunction> function) = 0;
};

// A window with layers of children, one shown at a time (DoSelectLayer).
class TLayeredWindowHook {
 public:
  virtual ~TLayeredWindowHook() = default;
  virtual void SelectLayer(int index) = 0;
};

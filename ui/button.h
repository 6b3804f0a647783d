// TButton: the clickable widget. Each visual state is a layer of the layered window (normal,
// pressed, mouse over; toggle and radio buttons add "mouse over while on"), usually holding
// one picture. A click plays the click sound, runs the attached action, posts a kButtonPress
// message and may close the button's dialog. Toggle and radio buttons keep an on/off state;
// switching a radio button on clears the other buttons of its group. While the pointer is
// over a button or the button is held down, the button holds a mouse capture so that it
// hears the pointer leave.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/layered_window.h"
#include "ui/widget_hooks.h"

class TPlayableSound;
struct TPixelImage;

class TButton : public TLayeredWindow,
                public TButtonWindow,
                public TLabelledWindow,
                public TScriptActionTarget {
 public:
  enum TKind { kPush = 0, kToggle = 1, kRadio = 2 };
  enum TState { kNormal = 0, kPressed = 1, kMouseOver = 2 };
  // Bits of SetOptions.
  enum : unsigned {
    kOptionBeginGroup = 0x1,
    kOptionSendToParent = 0x2,
    kOptionClose = 0x4,
    kOptionDefault = 0x8,
    kOptionCancel = 0x10,
  };
  // The window flag that marks the first button of a radio group.
  static constexpr uint32_t kBeginGroupFlag = 0x8;

  // Run when the button is pressed.
  class Action {
   public:
    virtual ~Action() = default;
    virtual void Run(TButton& button) = 0;
  };

  TButton();
  ~TButton() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "TButton"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TButton::Create || TLayeredWindow::IsKindOf(type);
  }

  bool OnAttach() override;
  void Init(const TWindowStyle& style) override;
  void PostCreate(const TWindowStyle& style) override;
  bool OnMouseDown(TPoint2 point) override;
  bool OnMouseUp(TPoint2 point) override;
  bool OnMouseMove(TPoint2 point) override;
  bool OnMouseLeave() override;
  virtual void OnStateChange(int newState, int oldState);
  virtual void SetState(int state);

  void SetKind(int kind);
  int Kind() const { return mKind; }
  int State() const { return mState; }
  void SetToggle(bool on);
  bool IsOn() const { return mOn; }
  // Bits are only ever added.
  void SetOptions(unsigned bits);
  bool SendsToParent() const { return mSendToParent; }
  bool Closes() const { return mClose; }
  void SetAction(std::unique_ptr<Action> action);
  bool HasAction() const { return mAction != nullptr; }
  // index 1 click, 2 mouse over; 0 is never loaded.
  void SetSound(int index, const std::string& file);
  void SetHitMask(const TPixelImage& mask);
  void ClearHitMask();
  // True only when the button had an action and, after running it, is no longer attached
  // below the screen window (the action closed its dialog). A disarmed button does nothing.
  bool Press() override;
  // What a completed click does (also for a key that presses the button): the click sound,
  // Press, and a toggle or radio button changes its state. Same result as Press.
  bool Click();
  // From now on clicks and presses do nothing (a dialog on its way out).
  void Disarm();
  bool IsDisarmed() const { return mDisarmed; }
  // The label: the text of the descendant named "label".
  static std::string GetLabel(TWindow& window);
  static void SetLabel(TWindow& window, const std::string& text);

  // TButtonWindow, TLabelledWindow, TScriptActionTarget
  bool IsDefaultButton() const override { return mDefault; }
  bool IsCancelButton() const override { return mCancel; }
  bool GetToggleState() const override { return mOn; }
  void SetToggleState(bool on) override { SetToggle(on); }
  std::string GetLabelText() const override;
  void SetLabelText(const std::string& text) override;
  void SetScriptAction(std::unique_ptr<TLuaFunction> function) override;

  // Whether point (button coordinates) misses the button; a miss also leaves.
  bool Outside(TPoint2 point);

 private:
  void ClearRestOfGroup();

  int mKind = kPush;
  int mState = kNormal;
  bool mSendToParent = false;
  bool mOn = false;
  bool mClose = false;
  bool mDefault = false;
  bool mCancel = false;
  bool mDisarmed = false;
  std::unique_ptr<Action> mAction;
  std::shared_ptr<TPlayableSound> mSounds[3];
  std::vector<uint32_t> mHitMask;
  int mMaskWidth = 0;
  int mMaskHeight = 0;
};

// Runs a Lua function through the window script (button_bindings.cpp).
std::unique_ptr<TButton::Action> MakeLuaAction(std::unique_ptr<TLuaFunction> function);
// Sets the window script's "gReturnValue" (what a modal screen returns) to text.
void SetScriptReturnValue(const std::string& text);

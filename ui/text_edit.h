// TTextEdit: the single-line text entry of the dialogs. It keeps its own text and cursor and
// hands a display form to its text layout: the text (one "*" per character for passwords)
// with a "<cursor>" element while it has the focus and the blink is in its visible phase.
// Characters, editing keys and pastes go through Filter, the policy hook subclasses
// override; every character it takes posts a message of type kTextChanged named after it.
// The text edits of one dialog form a group that Tab walks through.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frame/clock.h"
#include "ui/widget_hooks.h"
#include "ui/window.h"

class TTextLayout;

class TTextEdit : public TWindow, public TLabelledWindow {
 public:
  // Filter actions.
  enum TFilterAction {
    kFilterInsert = 0,
    kFilterMove = 1,
    kFilterEnter = 2,
    kFilterTab = 3,
    kFilterPaste = 4,
    kFilterRefused = 5,
  };

  TTextEdit();
  ~TTextEdit() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "TTextEdit"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TTextEdit::Create || TWindow::IsKindOf(type);
  }

  void Init(const TWindowStyle& style) override;
  void Draw() override;
  bool Animate() override;
  bool OnChar(int character) override;
  bool OnKeyDown(int key, int modifiers) override;
  // The real content: the cursor moves to its end.
  virtual void SetText(const std::string& text);
  virtual std::string GetText() const { return mText; }
  // true lets the action happen (see TFilterAction).
  virtual bool Filter(int action, int character);

  void SetPassword(bool on);
  void SetIgnore(const std::string& characters) { mIgnore = characters; }
  void SetMaxLength(int length) { mMaxLength = length; }
  int MaxLength() const { return mMaxLength; }
  int Cursor() const { return mCursor; }
  bool CursorShown() const { return mCursorShown; }
  // Joins the group of the other text edits of the modal window (once).
  void JoinGroup();
  const std::vector<TTextEdit*>* Group() const { return mGroup.get(); }
  void UpdateDisplay();
  // What the layout shows (markup included); "" without a layout.
  std::string DisplayText() const;
  TClock& Clock() { return mClock; }

  // Sets up the text box as a text window does; false when the size is 0.
  bool CreateLayout(const std::string& text, int width, int height, unsigned flags,
                    const std::string& font, float size, uint32_t colour);

  // TLabelledWindow
  std::string GetLabelText() const override { return GetText(); }
  void SetLabelText(const std::string& text) override { SetText(text); }

 private:
  void SetDisplay(const std::string& display);
  void PostChanged();

  std::unique_ptr<TTextLayout> mLayout;
  int mPadding = 0;
  int mMaxLength = 10;
  std::shared_ptr<std::vector<TTextEdit*>> mGroup;
  std::string mText;
  int mCursor = 0;
  bool mPassword = false;
  bool mCursorShown = false;
  std::string mIgnore;
  TClock mClock;
};

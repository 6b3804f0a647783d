// TTextEdit: the single-line text entry of the dialogs. It keeps its own text and cursor and
// hands a display form to its text layout: the text (one "*" per character for passwords)
// with a "<cursor>" element while it has the focus and the blink is in its visible phase.
// It is a text window underneath: font, colour, flags, padding, rotation, scale and
// opacity are the text window's, and links in it work the same way.
// Characters, editing keys and pastes go through Filter, the policy hook subclasses
// override; every character it takes posts a message of type kTextChanged named after it.
// The text edits of one dialog form a group that Tab walks through. The field is drawn as a
// well behind the text, framed in the text's colour, so a player sees where to type;
// "frame = false" leaves it out for screens that paint their own field.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frame/clock.h"
#include "ui/text.h"

class TTextEdit : public TText {
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
    return type == &TTextEdit::Create || TText::IsKindOf(type);
  }

  void Init(const TWindowStyle& style) override;
  void Draw() override;
  bool Animate() override;
  bool OnChar(int character) override;
  bool OnKeyDown(int key, int modifiers) override;
  // The real content: the cursor moves to its end.
  void SetText(const std::string& text) override;
  // The real content, not the displayed form.
  std::string GetText() const override { return mText; }
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
  std::string DisplayText() const { return TText::GetText(); }
  TClock& Clock() { return mClock; }

 private:
  void PostChanged();
  void DrawField();

  int mMaxLength = 10;
  std::shared_ptr<std::vector<TTextEdit*>> mGroup;
  std::string mText;
  int mCursor = 0;
  bool mPassword = false;
  bool mCursorShown = false;
  std::string mIgnore;
  bool mFrame = true;
  TClock mClock;
};

// TText: the text window of dialogs ("Text"). It shows a block of marked-up text through a
// text layout (fonts, colours, wrapping, alignment, padding, scrolling, rotation) and turns
// the links of that text into presses of the buttons they name: a word wrapped in
// <a id='some_button'> presses the window "some_button" of the same dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/widget_hooks.h"
#include "ui/window.h"

class TTextLayout;

class TText : public TWindow, public TLabelledWindow {
 public:
  // layer: the window is a redraw-on-top candidate (flag 0x4).
  explicit TText(bool layer = false);
  ~TText() override;

  // The "Text" window type.
  static TWindow* Create();
  const char* GetClassName() const override { return "TText"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TText::Create || TWindow::IsKindOf(type);
  }

  void Init(const TWindowStyle& style) override;
  void Draw() override;
  // fraction 0..1 of the scrollable lines.
  void SetScroll(float fraction, int ignored) override;
  bool OnMouseDown(TPoint2 point) override;
  bool OnMouseUp(TPoint2 point) override;
  bool OnMouseMove(TPoint2 point) override;
  bool OnMouseLeave() override;

  // Lays the text out again (and redraws) only when it changed. Text edits override these.
  virtual void SetText(const std::string& text);
  virtual std::string GetText() const;

  void SetOpacity(float opacity) { mOpacity = opacity; }
  float GetOpacity() const { return mOpacity; }
  void SetScale(float scale);
  float GetScale() const { return mScale; }
  void SetScrollBias(float bias) { mScrollBias = bias; }
  // Degrees clockwise around (originX, originY) of the window.
  void SetRotation(float degrees, float originX, float originY);
  // Makes the layout for a box of width x height and sizes the window to it; false (and no
  // layout) when either side is 0.
  bool CreateLayout(const std::string& text, int width, int height, unsigned layoutFlags,
                    const std::string& fontName, float fontSize, uint32_t colour);
  // Null until Init or CreateLayout succeeded.
  TTextLayout* Layout() const { return mLayout.get(); }
  int GetPadding() const { return mPadding; }
  void SetPadding(int padding);
  // The number of leading lines to skip so that the last line fits the box.
  int MaxScroll() const;

  // TLabelledWindow (the script functions GetLabel and SetLabel).
  std::string GetLabelText() const override { return GetText(); }
  void SetLabelText(const std::string& text) override { SetText(text); }

 private:
  std::unique_ptr<TTextLayout> mLayout;
  float mScale = 1.0f;
  float mOpacity = 1.0f;
  int mPadding = 0;
  float mScrollBias = 0.5f;
  // Set once something scrolls the window: from then on a line cut by the bottom edge is
  // shown (there is more below); before, only whole lines are.
  bool mScrolls = false;
  std::string mPendingCommand;
};

// What a "label" key shows: with localisation on, "#word" is "word" as written, digits and
// points stand as they are, anything else is a string-table label.
std::string LocalizeLabel(const std::string& label, bool localize);

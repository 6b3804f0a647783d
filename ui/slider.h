// TSlider: a rail drawn from three pictures (top cap, stretched middle, bottom cap) with a
// draggable knob; the value runs from 0 to 1 along the rail, horizontally or vertically.
// Changes (type kSliderChanged), knob releases (kSliderReleased) and clicks on the rail
// before or after the knob (kSliderRailBefore, kSliderRailAfter) are delivered at once to the
// parent window, named after the slider. A slider may also scroll a text window of its
// dialog (the description key "scrolls" names it).
#pragma once

#include <memory>
#include <string>

#include "ui/window.h"

class TImage;
class TTexture;

class TSlider : public TWindow {
 public:
  TSlider();
  ~TSlider() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "TSlider"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TSlider::Create || TWindow::IsKindOf(type);
  }

  void Init(const TWindowStyle& style) override;
  void Draw() override;
  bool OnMouseDown(TPoint2 point) override;
  bool OnMouseUp(TPoint2 point) override;
  bool OnMouseMove(TPoint2 point) override;
  bool OnMouseLeave() override;
  void RemoveChild(TWindow* child) override;

  float GetValue() const { return mValue; }
  // Clamped to 0..1; unless silent the parent hears of it at once.
  void SetValue(float value, bool silent);
  void SetRails(std::shared_ptr<TTexture> top, std::shared_ptr<TTexture> mid,
                std::shared_ptr<TTexture> bottom);
  void SetKnobTextures(std::shared_ptr<TTexture> normal, std::shared_ptr<TTexture> over);
  void SetHorizontal(bool on) { mHorizontal = on; }
  bool IsHorizontal() const { return mHorizontal; }
  void SetScale(float scale) { mScale = scale; }
  void SetCrossOffset(int offset) { mCrossOffset = offset; }
  bool IsDragging() const { return mDragging != 0; }
  int Thickness() const { return mThickness; }
  // Null once the knob was taken away (DeleteChildren).
  TImage* Knob() const { return mKnob; }
  // A window (by name, anywhere in the slider's dialog) whose content follows the value
  // through its SetScroll: a text window scrolled by the slider. "" for none.
  void SetScrollTarget(const std::string& name) { mScrollTarget = name; }

 private:
  void RecomputeSize();
  void PlaceKnob();
  bool InKnob(TPoint2 point) const;
  void ShowKnob(bool over);
  void Send(int type);

  int mDragging = 0;
  bool mInitialised = false;
  TImage* mKnob;          // null once someone else took it away
  bool mOwnsKnob = true;  // until it joins the child list
  std::shared_ptr<TTexture> mKnobTexture, mKnobOverTexture;
  std::shared_ptr<TTexture> mRailTop, mRailMid, mRailBottom;
  float mValue = 0;
  float mScale = 1.0f;
  int mCrossOffset = 0;
  int mThickness = 0;
  bool mHorizontal = false;
  std::string mScrollTarget;
};

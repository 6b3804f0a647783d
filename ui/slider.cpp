#include "ui/slider.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "gfx/renderer.h"
#include "gfx/texture.h"
#include "ui/image.h"
#include "ui/message.h"
#include "ui/modal_window.h"
#include "ui/window_manager.h"
#include "ui/window_style.h"

namespace {

std::shared_ptr<TTexture> Load(const std::string& file) {
  return file.empty() ? nullptr : GetTexture(file, 0);
}

int Length(const std::shared_ptr<TTexture>& texture) {
  return texture ? texture->GetHeight() : 0;
}

}  // namespace

TSlider::TSlider() : mKnob(new TImage(true)) {}

TSlider::~TSlider() {
  // Once attached the knob is a child and goes with the child list.
  if (mOwnsKnob) delete mKnob;
}

void TSlider::RemoveChild(TWindow* child) {
  TWindow::RemoveChild(child);
  // A knob taken away (DeleteChildren) is deleted by whoever took it: forget it.
  if (child == mKnob && !mOwnsKnob) mKnob = nullptr;
}

TWindow* TSlider::Create() {
  return new TSlider;
}

void TSlider::Init(const TWindowStyle& style) {
  TWindow::Init(style);
  if (mInitialised) return;
  mInitialised = true;
  const double w = style.GetNumber("w", 0), h = style.GetNumber("h", 0);
  mHorizontal = style.Has("hslider") ? style.GetBool("hslider", false) : h < w;
  mScale = static_cast<float>(style.GetNumber("scale", 1.0));
  mCrossOffset = style.GetInt("yoffset", 0);
  mScrollTarget = style.GetString("scrolls", "");
  SetRails(Load(style.GetString("railtop", "")), Load(style.GetString("railmid", "")),
           Load(style.GetString("railbot", "")));
  SetKnobTextures(Load(style.GetString("sliderimage", "")),
                  Load(style.GetString("sliderrollimage", "")));
  PlaceKnob();
}

void TSlider::SetRails(std::shared_ptr<TTexture> top, std::shared_ptr<TTexture> mid,
                       std::shared_ptr<TTexture> bottom) {
  mRailTop = std::move(top);
  mRailMid = std::move(mid);
  mRailBottom = std::move(bottom);
  RecomputeSize();
}

void TSlider::SetKnobTextures(std::shared_ptr<TTexture> normal, std::shared_ptr<TTexture> over) {
  mKnobTexture = std::move(normal);
  mKnobOverTexture = std::move(over);
  if (!mKnob) return;
  mKnob->SetTexture(mKnobTexture, mScale);
  if (mOwnsKnob && AddChild(mKnob, true)) mOwnsKnob = false;
  RecomputeSize();
}

void TSlider::RecomputeSize() {
  int thickness = 0;
  for (const auto* rail : {&mRailTop, &mRailMid, &mRailBottom}) {
    if (*rail) thickness = std::max(thickness, static_cast<int>(mScale * (*rail)->GetWidth()));
  }
  const int knobCross = !mKnob ? 0 : mHorizontal ? mKnob->Height() : mKnob->Width();
  mThickness = std::max(thickness, std::abs(mCrossOffset) + knobCross);
  if (mHorizontal)
    SetSize(Width(), mThickness);
  else
    SetSize(mThickness, Height());
  PlaceKnob();
}

void TSlider::PlaceKnob() {
  if (!mKnob) return;
  if (mHorizontal)
    mKnob->SetPosition(static_cast<int>(mValue * static_cast<float>(Width() - mKnob->Width())),
                       mCrossOffset);
  else
    mKnob->SetPosition(mCrossOffset,
                       static_cast<int>(mValue * static_cast<float>(Height() - mKnob->Height())));
}

void TSlider::SetValue(float value, bool silent) {
  // NaN (a zero-length rail) reads as the start.
  mValue = std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f);
  PlaceKnob();
  Invalidate();
  if (!mScrollTarget.empty()) {
    TWindow* root = GetModalAncestor();
    if (TWindow* target = root ? root->FindChild(mScrollTarget, -1) : nullptr)
      target->SetScroll(mValue, 0);
  }
  if (!silent) Send(kSliderChanged);
}

void TSlider::Send(int type) {
  if (TWindowManager* manager = TWindowManager::Get())
    manager->Deliver(std::make_unique<TMessage>(type, GetName(), GetParent()));
}

bool TSlider::InKnob(TPoint2 p) const {
  if (!mKnob || mKnob->GetParent() != this) return false;
  const TRect r = mKnob->GetRect();
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

void TSlider::ShowKnob(bool over) {
  // Without a roll-over picture the knob keeps its normal one.
  const auto& texture = over && mKnobOverTexture ? mKnobOverTexture : mKnobTexture;
  if (mKnob && mKnob->GetTexture() != texture) mKnob->SetTexture(texture, mScale);
}

bool TSlider::OnMouseDown(TPoint2 point) {
  if (!mKnob || mKnob->GetParent() != this) return false;
  if (InKnob(point)) {
    mDragging = 1;
    if (TWindowManager* manager = TWindowManager::Get()) manager->AddCapture(this);
    return true;
  }
  const TRect knob = mKnob->GetRect();
  const bool before = mHorizontal ? point.x < knob.left : point.y < knob.top;
  Send(before ? kSliderRailBefore : kSliderRailAfter);
  return true;
}

bool TSlider::OnMouseMove(TPoint2 point) {
  TWindowManager* manager = TWindowManager::Get();
  ShowKnob(InKnob(point) || mDragging);
  const bool inside = point.x >= 0 && point.y >= 0 && point.x < Width() && point.y < Height();
  if (inside || mDragging) {
    if (manager) manager->AddCapture(this);
  } else {
    if (manager) manager->RemoveCapture(this);
    ShowKnob(false);
  }
  if (!mDragging) return false;
  const float along = mHorizontal ? static_cast<float>(point.x) / static_cast<float>(Width())
                                  : static_cast<float>(point.y) / static_cast<float>(Height());
  SetValue(along, false);
  return true;
}

bool TSlider::OnMouseUp(TPoint2 point) {
  if (!mDragging) return false;
  mDragging = 0;
  ShowKnob(InKnob(point));
  const bool inside = point.x >= 0 && point.y >= 0 && point.x < Width() && point.y < Height();
  if (!inside) {
    if (TWindowManager* manager = TWindowManager::Get()) manager->RemoveCapture(this);
    ShowKnob(false);
  }
  Send(kSliderReleased);
  return true;
}

bool TSlider::OnMouseLeave() {
  if (mDragging) return true;
  ShowKnob(false);
  if (TWindowManager* manager = TWindowManager::Get()) manager->RemoveCapture(this);
  return true;
}

void TSlider::Draw() {
  TRenderer* r = GetRenderer();
  if (!r) return;
  const bool began = !r->In2d();
  if (began && !r->Begin2d()) return;
  const int blend = r->BlendMode();
  r->SetCulling(kCullNone);
  const int length = mHorizontal ? Width() : Height();
  const int midLength = std::max(0, length - Length(mRailTop) - Length(mRailBottom));
  int offset = 0;
  // Each piece runs along the rail from offset with the given length, centred across it. The
  // pictures stand upright; a horizontal rail mirrors them across the diagonal.
  auto piece = [&](const std::shared_ptr<TTexture>& texture, int pieceLength) {
    if (!texture || texture->GetHeight() <= 0) return;
    const float across =
        static_cast<float>((mThickness - texture->GetWidth()) / 2) + texture->GetWidth() / 2.0f;
    const float along = static_cast<float>(offset) + pieceLength / 2.0f;
    const float stretch =
        static_cast<float>(pieceLength) / static_cast<float>(texture->GetHeight());
    TDrawParams drawing;
    drawing.blendMode = kBlendNormal;
    drawing.flags = kDrawTransform;
    if (mHorizontal) {
      drawing.x = along;
      drawing.y = across;
      drawing.transform = {0, 1, stretch, 0, 0, 0};
    } else {
      drawing.x = across;
      drawing.y = along;
      drawing.transform = {1, 0, 0, stretch, 0, 0};
    }
    texture->Draw(drawing);
  };
  piece(mRailTop, Length(mRailTop));
  offset += Length(mRailTop);
  piece(mRailMid, midLength);
  offset += midLength;
  piece(mRailBottom, Length(mRailBottom));
  r->SetBlendMode(blend);
  if (began) r->End2d();
}

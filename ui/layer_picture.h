// TLayerPicture: one texture drawn at a window's origin, sized by a scale and optionally
// mirrored. Buttons put one in each of their layers and the slider uses one as its knob.
// It stands in until the image window of the dialog system takes this job over.
#pragma once

#include <memory>

#include "ui/window.h"

class TTexture;

class TLayerPicture : public TWindow {
 public:
  TLayerPicture();
  static TWindow* Create();
  const char* GetClassName() const override { return "TLayerPicture"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TLayerPicture::Create || TWindow::IsKindOf(type);
  }

  // Keeps a reference to texture and sizes the window to it (round(size × scale)).
  void SetTexture(std::shared_ptr<TTexture> texture, float scale);
  // 0x1 mirror left to right, 0x2 top to bottom.
  void SetDrawFlags(unsigned flags);
  // A quarter turn: the window's width and height swap.
  void SetRotated(bool on);
  const std::shared_ptr<TTexture>& Texture() const { return mTexture; }
  void Draw() override;

 private:
  void SizeFromTexture();

  std::shared_ptr<TTexture> mTexture;
  float mScale = 1.0f;
  unsigned mDrawFlags = 0;
  bool mRotated = false;
};

#include "ui/layer_picture.h"

#include <utility>

#include "gfx/renderer.h"
#include "gfx/texture.h"

TLayerPicture::TLayerPicture() {
  SetClassFlags(kWindowLayer);
}

TWindow* TLayerPicture::Create() {
  return new TLayerPicture;
}

void TLayerPicture::SetTexture(std::shared_ptr<TTexture> texture, float scale) {
  mTexture = std::move(texture);
  mScale = scale;
  if (mTexture) SizeFromTexture();
  Invalidate();
}

void TLayerPicture::SetDrawFlags(unsigned flags) {
  mDrawFlags = flags;
  Invalidate();
}

void TLayerPicture::SetRotated(bool on) {
  if (on == mRotated) return;
  mRotated = on;
  if (mTexture) SizeFromTexture();
  Invalidate();
}

void TLayerPicture::SizeFromTexture() {
  const int w = static_cast<int>(mTexture->GetWidth() * mScale + 0.5f);
  const int h = static_cast<int>(mTexture->GetHeight() * mScale + 0.5f);
  if (mRotated)
    SetSize(h, w);
  else
    SetSize(w, h);
}

void TLayerPicture::Draw() {
  TRenderer* r = GetRenderer();
  if (!mTexture || !r) return;
  const bool began = !r->In2d();
  if (began && !r->Begin2d()) return;
  TDrawSpec drawing;
  // The drawing places the picture's centre; the window's box is its scaled (turned) size.
  drawing.x = Width() / 2.0f;
  drawing.y = Height() / 2.0f;
  drawing.flags = (mDrawFlags & (kDrawMirrorX | kDrawMirrorY)) | kDrawTransform;
  if (mRotated) {
    drawing.transform = {0, mScale, -mScale, 0, 0, 0};
  } else {
    drawing.transform = {mScale, 0, 0, mScale, 0, 0};
  }
  drawing.blendMode = kBlendNormal;
  mTexture->Draw(drawing);
  if (began) r->End2d();
}

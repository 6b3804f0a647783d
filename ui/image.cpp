#include "ui/image.h"

#include <algorithm>
#include <cmath>

#include "gfx/texture.h"
#include "ui/window_paint.h"
#include "ui/window_style.h"

namespace {

// Scales from data: a damaged value must not produce absurd or negative window sizes.
float SaneScale(double scale) {
  if (!std::isfinite(scale)) return 1.0f;
  return static_cast<float>(std::clamp(scale, 0.0, 1000.0));
}

// Round half up by adding 0.5 and truncating, as picture sizes always have been.
int ScaledSide(int side, float scale) {
  return static_cast<int>(static_cast<float>(side) * scale + 0.5f);
}

}  // namespace

TImage::TImage(bool layer) {
  if (layer) SetClassFlags(kWindowLayer);
  SetFlags(GetFlags() | kWindowOpaque);
}

TImage::~TImage() = default;

TWindow* TImage::Create() {
  return new TImage(true);
}

void TImage::Init(const TWindowStyle& style) {
  const std::string image = style.GetString("image", "");
  const std::string mask = style.GetString("mask", "");
  const float scale = SaneScale(style.GetNumber("scale", 1.0));
  const bool alpha = style.GetBool("alpha", false);
  const bool mipmap = style.GetBool("mipmap", false);
  if (style.GetBool("hflip", false)) mDrawFlags |= kImageMirrorX;
  if (style.GetBool("vflip", false)) mDrawFlags |= kImageMirrorY;
  // Set directly: SetTexture below sizes the window for it.
  mRotated = style.GetBool("rotate", false);

  int options = 0;
  if (alpha) {
    // A picture with transparency never hides what is behind it.
    SetFlags(GetFlags() & ~kWindowOpaque);
    options = 2;
  }
  if (mipmap) options |= 1;

  std::shared_ptr<TTexture> texture;
  if (!mask.empty() && !image.empty()) {
    texture = ::GetTexture(image, mask, mipmap);
  } else if (!image.empty()) {
    texture = ::GetTexture(image, options);
  }
  SetTexture(std::move(texture), scale);
  // The texture's size is set now, so it wins over "w" and "h".
  TWindow::Init(style);
}

void TImage::SetTexture(std::shared_ptr<TTexture> texture, float scale) {
  mTexture = std::move(texture);
  mScale = SaneScale(scale);
  if (mTexture) SizeFromTexture();
  Invalidate();
}

void TImage::SizeFromTexture() {
  const int w = ScaledSide(mTexture->GetWidth(), mScale);
  const int h = ScaledSide(mTexture->GetHeight(), mScale);
  if (mRotated) {
    SetSize(h, w);
  } else {
    SetSize(w, h);
  }
}

void TImage::SetOpacity(float opacity) {
  mOpacity = opacity;
  if (opacity == 1.0f) {
    SetFlags(GetFlags() | kWindowOpaque);
  } else {
    SetFlags(GetFlags() & ~kWindowOpaque);
  }
  Invalidate();
}

void TImage::SetDrawFlags(uint32_t flags) {
  mDrawFlags = flags;
  Invalidate();
}

void TImage::SetRotated(bool rotated) {
  if (rotated == mRotated) return;
  mRotated = rotated;
  if (mTexture) SizeFromTexture();
  Invalidate();
}

void TImage::SetBitmap(const std::string& file, float scale) {
  SetTexture(::GetTexture(file, 0), scale);
}

void TImage::Draw() {
  if (!mTexture) return;
  TScoped2d batch;
  if (!batch.Renderer()) return;
  const float w = static_cast<float>(mTexture->GetWidth()) * mScale;
  const float h = static_cast<float>(mTexture->GetHeight()) * mScale;
  TDrawParams drawing;
  drawing.alpha = std::clamp(mOpacity, 0.0f, 1.0f);
  drawing.flags = (mDrawFlags & (kImageMirrorX | kImageMirrorY)) | kDrawTransform;
  if (mRotated) {
    // A quarter turn clockwise: the picture's top edge becomes the right edge of the
    // swapped box, whose centre is where the picture's centre goes.
    drawing.transform = TTransform2d{0, mScale, -mScale, 0, 0, 0};
    drawing.x = h / 2;
    drawing.y = w / 2;
  } else {
    drawing.transform = TTransform2d{mScale, 0, 0, mScale, 0, 0};
    drawing.x = w / 2;
    drawing.y = h / 2;
  }
  mTexture->Draw(drawing);
}

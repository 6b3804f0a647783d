// TImage: the picture window of dialogs ("Bitmap"). It shows one texture at its top-left
// corner, scaled, mirrored, turned a quarter turn clockwise or faded, and sizes itself to
// the picture. A fully opaque image counts towards its dialog's opaque cover.
#pragma once

#include <memory>
#include <string>

#include "ui/widget_hooks.h"
#include "ui/window.h"

class TTexture;

enum : uint32_t {
  kImageMirrorX = 0x1,
  kImageMirrorY = 0x2,
};

class TImage : public TWindow, public TBitmapWindow {
 public:
  // layer: the window is a redraw-on-top candidate (flag 0x4).
  explicit TImage(bool layer = false);
  ~TImage() override;

  // The "Bitmap" window type.
  static TWindow* Create();
  const char* GetClassName() const override { return "TImage"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TImage::Create || TWindow::IsKindOf(type);
  }

  void Init(const TWindowStyle& style) override;
  void Draw() override;

  // Takes the texture (null: no picture), sizes the window to it times scale.
  void SetTexture(std::shared_ptr<TTexture> texture, float scale);
  const std::shared_ptr<TTexture>& GetTexture() const { return mTexture; }
  // Exactly 1.0 makes the image an opaque cover again; anything else clears that.
  void SetOpacity(float opacity);
  float GetOpacity() const { return mOpacity; }
  void SetDrawFlags(uint32_t flags);
  uint32_t GetDrawFlags() const { return mDrawFlags; }
  void SetRotated(bool rotated);
  bool IsRotated() const { return mRotated; }
  float GetScale() const { return mScale; }

  // TBitmapWindow (the script functions SetBitmap and ImageLoaded).
  void SetBitmap(const std::string& file, float scale) override;
  bool HasTexture() const override { return mTexture != nullptr; }

 private:
  void SizeFromTexture();

  std::shared_ptr<TTexture> mTexture;
  float mScale = 1.0f;
  float mOpacity = 1.0f;
  uint32_t mDrawFlags = 0;
  bool mRotated = false;
};

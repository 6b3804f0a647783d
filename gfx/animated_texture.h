// TAnimatedTexture: a flip-book animation drawn like a texture. It holds the animation's
// data (frames, origin points, script), the sheet image all frames are cut from, and the
// frame drawn now. The frame's origin point is placed at the drawing position, so frames
// of different sizes stay registered to each other; mirroring flips around that point.
// Animated textures are shared assets: each sprite that shows one sets the frame it wants
// just before drawing.
#pragma once

#include <memory>
#include <string>

#include "gfx/formats/animation_data.h"
#include "gfx/texture.h"

class TAnimatedTexture : public TTexture {
 public:
  static const TAssetType kType;
  const TAssetType& Type() const override { return kType; }

  // `sheet` is the image the frames are cut from (null draws nothing).
  TAnimatedTexture(TAnimationData data, std::shared_ptr<TTexture> sheet);

  void Release() override;
  void Restore() override;

  // Draws the current frame (nothing for -1 or an empty frame). With kDrawCentred the
  // frame is centred on the position instead of placed by its origin point.
  void Draw(const TDrawParams& drawing) override;
  // The current frame's size (0 without one).
  int GetWidth() const override;
  int GetHeight() const override;

  // -1 hides the animation; indexes below -1 or not below the frame count are ignored.
  bool SetCurrentFrame(int index);
  int CurrentFrame() const { return mCurrent; }
  int FrameCount() const { return static_cast<int>(mData.frames.size()); }
  // Null when there is no such frame.
  const TAnimationFrame* Frame(int index) const;

  const TAnimationData& Data() const { return mData; }
  // The animation's script: the file's, or the generated one that plays every frame once.
  const std::string& Script() const { return mData.script; }
  const std::shared_ptr<TTexture>& Sheet() const { return mSheet; }

 private:
  TAnimationData mData;
  std::shared_ptr<TTexture> mSheet;
  int mCurrent = 0;
};

// The script of an animation file without one: every frame in order, 60 ms each.
std::string DefaultAnimationScript(int frameCount);

// Loads an animation through the asset manager (shared under its name). `name` may omit
// ".xml" or ".anm"; `image` and `mask`, when given, replace the file's image and mask
// (both relative to the animation's folder). Null when the file is missing or damaged or
// the image cannot be loaded; the reason is logged.
std::shared_ptr<TAnimatedTexture> LoadAnimatedTexture(const std::string& name,
                                                      const std::string& image = "",
                                                      const std::string& mask = "");
// The same from data already read (tests, tools): the sheet is loaded from `folder`.
std::shared_ptr<TAnimatedTexture> MakeAnimatedTexture(TAnimationData data,
                                                      const std::string& folder,
                                                      const std::string& what);

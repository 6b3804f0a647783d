// TTexture: the engine's image, a picture from a PNG or JPEG file (optionally with a
// separate alpha mask) or a blank surface, drawn as a textured quad through the renderer.
#pragma once

#include <memory>
#include <string>

#include "data/asset.h"
#include "gfx/render_types.h"
#include "gfx/texture_data.h"

class TImageSource;

enum : unsigned {
  kDrawMirrorX = 0x1,     // mirror left to right
  kDrawMirrorY = 0x2,     // mirror top to bottom
  kDrawSourceRect = 0x4,  // `source` holds the part of the image to draw
  kDrawTransform = 0x8,   // `transform` maps the centred corners (else they are unscaled)
  kDrawCentred = 0x10,    // animated textures: centre the frame instead of placing its origin
};

// 2D affine map: x' = a*x + c*y + tx, y' = b*x + d*y + ty.
struct TTransform2d {
  float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

// outer after inner: Compose(outer, inner)(p) = outer(inner(p)).
TTransform2d Compose(const TTransform2d& outer, const TTransform2d& inner);

struct TDrawParams {
  float x = 0, y = 0;  // where the image's centre goes (plus the transform)
  float red = 1, green = 1, blue = 1;
  float alpha = 1;
  int blendMode = -1;  // -1 leaves the renderer's blend mode unchanged
  unsigned flags = 0;
  TRect source;
  TTransform2d transform;
};

// Texture coordinates of a picture's top-left and bottom-right corners.
struct TQuadTexCoords {
  float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
};

class TRenderer;

// Draws the `source` rectangle (drawing units) of a picture whose corners sit at `uv` in
// `surface`, placed, coloured and mirrored by `drawing`: the quad every picture is drawn as.
void DrawPictureQuad(TRenderer& renderer, TSurfaceId surface, const TDrawParams& drawing,
                     const TRect& source, const TQuadTexCoords& uv);

class TTexture : public TAsset {
 public:
  static const TAssetType kType;
  const TAssetType& Type() const override { return kType; }

  // `data` may be null (a texture whose load failed draws nothing).
  explicit TTexture(std::unique_ptr<TTextureData> data);
  ~TTexture() override;

  // Video memory notifications, forwarded to the texture data.
  void Release() override;
  void Restore() override;

  virtual void Draw(const TDrawParams& drawing);
  // Draws centred on (x, y) scaled by (scaleX, scaleY); blendMode -1 keeps the current one.
  virtual void DrawAt(float x, float y, float scaleX, float scaleY, float alpha, int blendMode);
  // Copies the source rectangle (clipped to this image) into `target` at (x, y).
  virtual bool CopyRect(int x, int y, const TRect& source, TTexture& target);
  virtual int GetWidth() const;
  virtual int GetHeight() const;

  TTextureData* Data() const { return mData.get(); }

 private:
  std::unique_ptr<TTextureData> mData;
};

// Loads a texture file. options: bit 0 mipmap, bit 1 alpha, bit 2 no alpha (neither: the
// file decides). Option words after "?" in the name apply as well. Null on failure.
std::shared_ptr<TTexture> LoadTexture(std::shared_ptr<TImageSource> source, const std::string& name,
                                      int options);
// Loads a picture whose alpha comes from the red channel of a mask picture.
std::shared_ptr<TTexture> LoadTexture(std::shared_ptr<TImageSource> source, const std::string& name,
                                      const std::string& mask, bool mipmap);
// The same through the virtual file system (not cached: the asset manager's cache is wired
// in once it exists).
std::shared_ptr<TTexture> GetTexture(const std::string& name, int options);
std::shared_ptr<TTexture> GetTexture(const std::string& name, const std::string& mask, bool mipmap);
// A blank texture (render target) of the given size, cleared to transparent black.
std::shared_ptr<TTexture> CreateTexture(int width, int height, bool alpha);

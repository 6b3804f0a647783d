// TTextureData: one texture's surface in video memory and where it came from, so that it
// can be rebuilt after the surface is lost (Restore).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/render_device.h"

class TRenderer;
class TImageSource;

// Decoded pixels ready for upload: a square buffer whose side is the smallest power of two
// not smaller than the picture's larger side; the picture sits in the top-left corner.
struct TPixelBuffer {
  int side = 0;
  int imageWidth = 0;
  int imageHeight = 0;
  std::vector<uint32_t> pixels;  // side * side, ARGB
};

class TTextureData {
 public:
  enum : uint8_t {
    kRenderTarget = 0x01,  // can be drawn into
    kHasAlpha = 0x02,      // keeps an alpha channel
    kAutoAlpha = 0x04,     // take kHasAlpha from the PNG file
    kMipmap = 0x08,
    kSimple = 0x10,  // need not be square
    kSlow = 0x20,    // sides above 1024 allowed (set with kSimple)
  };

  TTextureData(TRenderer* renderer, uint8_t flags);
  virtual ~TTextureData();
  TTextureData(const TTextureData&) = delete;
  TTextureData& operator=(const TTextureData&) = delete;

  virtual void ReleaseVideoMemory();
  // Rebuilds the surface: reloads the source file (and mask) or recreates a blank surface.
  virtual bool Restore();
  // Uploads a decoded buffer into the surface (created before) and records the image size.
  virtual bool Upload(const TPixelBuffer& buffer);
  // Replaces the surface's top-left width x height pixels (ARGB, stride in pixels).
  bool UploadPixels(const uint32_t* argb, int width, int height, int stride);
  // Replaces the pixels of `rect` of the surface (ARGB of rect's size, stride in pixels);
  // false when the device cannot upload a part that does not start at the top-left corner.
  bool UploadRect(const TRect& rect, const uint32_t* argb, int stride);
  // Reads a rectangle of the surface's pixels (ARGB, top row first).
  bool ReadPixels(const TRect& rect, uint32_t* argb) const;
  // Allocates the surface; square devices raise non-simple surfaces to the larger side.
  virtual bool CreateSurface(int width, int height);
  // Copies `from` (clipped to this image) into `target` at (x, y).
  virtual bool CopyRect(int x, int y, const TRect& from, TTextureData& target);

  TSurfaceId Surface() const { return mSurface; }
  int SurfaceWidth() const { return mSurfaceWidth; }
  int SurfaceHeight() const { return mSurfaceHeight; }
  // The picture's size in drawing units: its own pixels, or those of the picture it
  // stands in for when it was loaded from a larger source.
  int ImageWidth() const { return mImageWidth; }
  int ImageHeight() const { return mImageHeight; }
  // Surface pixels per drawing unit: above 1 when the surface holds a larger version of the
  // picture (for an enlarged screen).
  float SourceScaleX() const { return mSourceScaleX; }
  float SourceScaleY() const { return mSourceScaleY; }
  // A picture of width x height drawing units held at the surface's larger size; `added`
  // are flags set only for the larger source (mipmaps), dropped when it is loaded small.
  void SetLargeSource(int width, int height, uint8_t added);
  // Clears what SetLargeSource set: the next load decides again.
  void SetSmallSource();
  uint8_t LargeSourceFlags() const { return mLargeSourceFlags; }
  int OffsetX() const { return (mSurfaceWidth - mImageWidth) / 2; }
  int OffsetY() const { return (mSurfaceHeight - mImageHeight) / 2; }
  uint8_t Flags() const { return mFlags; }
  void SetFlags(uint8_t flags) { mFlags = flags; }
  bool Usable() const { return mSurface != 0 && mRenderer != nullptr; }
  TRenderer* Renderer() const { return mRenderer; }

  // Where the pixels came from; an empty file name means a blank texture.
  void SetSource(std::shared_ptr<TImageSource> source, const std::string& fileName,
                 const std::string& maskName);
  const std::string& FileName() const { return mFileName; }
  const std::string& MaskName() const { return mMaskName; }
  // For blank textures: the size to recreate on restore.
  void SetImageSize(int width, int height);

  // Called by a renderer that goes away before its textures.
  void DetachRenderer();
  // The device was replaced: the old surface id means nothing on the new one.
  void ForgetSurface();

 private:
  TRenderDevice* Device() const;

  TRenderer* mRenderer;
  uint8_t mFlags;
  TSurfaceId mSurface = 0;
  int mSurfaceWidth = 0;
  int mSurfaceHeight = 0;
  int mImageWidth = 0;
  int mImageHeight = 0;
  float mSourceScaleX = 1.0f;
  float mSourceScaleY = 1.0f;
  uint8_t mLargeSourceFlags = 0;
  std::shared_ptr<TImageSource> mSource;
  std::string mFileName;  // with its option words
  std::string mMaskName;
};

#include "gfx/texture_data.h"

#include <algorithm>
#include <cmath>

#include "frame/log.h"
#include "gfx/renderer.h"
#include "gfx/texture_loader.h"
#include "gfx/texture_name.h"

TTextureData::TTextureData(TRenderer* renderer, uint8_t flags)
    : mRenderer(renderer), mFlags(flags) {
  if (mRenderer) mRenderer->RegisterTexture(this);
}

TTextureData::~TTextureData() {
  ReleaseVideoMemory();
  if (mRenderer) mRenderer->UnregisterTexture(this);
}

TRenderDevice* TTextureData::Device() const {
  return mRenderer ? mRenderer->Device() : nullptr;
}

void TTextureData::DetachRenderer() {
  mRenderer = nullptr;
  mSurface = 0;
}

void TTextureData::ForgetSurface() {
  mSurface = 0;
}

void TTextureData::SetSource(std::shared_ptr<TImageSource> source, const std::string& fileName,
                             const std::string& maskName) {
  mSource = std::move(source);
  mFileName = fileName;
  mMaskName = maskName;
}

void TTextureData::SetImageSize(int width, int height) {
  mImageWidth = width;
  mImageHeight = height;
}

void TTextureData::SetLargeSource(int width, int height, uint8_t added) {
  if (width <= 0 || height <= 0 || mImageWidth <= 0 || mImageHeight <= 0) return;
  mSourceScaleX = static_cast<float>(mImageWidth) / static_cast<float>(width);
  mSourceScaleY = static_cast<float>(mImageHeight) / static_cast<float>(height);
  mImageWidth = width;
  mImageHeight = height;
  mLargeSourceFlags = added;
}

void TTextureData::SetSmallSource() {
  mFlags = static_cast<uint8_t>(mFlags & ~mLargeSourceFlags);
  mLargeSourceFlags = 0;
  mSourceScaleX = mSourceScaleY = 1.0f;
}

void TTextureData::ReleaseVideoMemory() {
  if (mSurface != 0 && Device()) {
    mRenderer->Flush();  // pending triangles may still sample this surface
    Device()->DestroySurface(mSurface);
  }
  mSurface = 0;
}

bool TTextureData::CreateSurface(int width, int height) {
  TRenderDevice* device = Device();
  if (!device || width <= 0 || height <= 0) return false;
  ReleaseVideoMemory();
  if (device->Caps().squareTextures && !(mFlags & kSimple) && width != height)
    width = height = std::max(NextPowerOfTwo(width), NextPowerOfTwo(height));
  auto surfaceFlags = [this] {
    return (mFlags & kHasAlpha ? kSurfaceAlpha : 0u) |
           (mFlags & kRenderTarget ? kSurfaceRenderTarget : 0u) |
           (mFlags & kMipmap ? kSurfaceMipmap : 0u);
  };
  TSurfaceId id = 0;
  TDeviceResult result = device->CreateSurface(width, height, surfaceFlags(), &id);
  if (result == TDeviceResult::kFailed && (mFlags & kRenderTarget) && (mFlags & kHasAlpha)) {
    mFlags &= static_cast<uint8_t>(~kRenderTarget);
    result = device->CreateSurface(width, height, surfaceFlags(), &id);
  }
  if (result == TDeviceResult::kOutOfVideoMemory) {
    Log("TDxTextureData::CreateSurface: Out of Memory in 32 bit mode. Tagging to restart.");
    mRenderer->OnOutOfVideoMemory();
    return false;
  }
  if (result != TDeviceResult::kOk || id == 0) return false;
  if ((mFlags & kHasAlpha) && !device->SurfaceHasAlpha(id))
    Log("SURFACE request FAILED to get DDPF_ALPHAPIXELS.");
  mSurface = id;
  mSurfaceWidth = width;
  mSurfaceHeight = height;
  return true;
}

bool TTextureData::Upload(const TPixelBuffer& buffer) {
  TRenderDevice* device = Device();
  if (!device || mSurface == 0 || buffer.side <= 0 ||
      buffer.pixels.size() != static_cast<size_t>(buffer.side) * buffer.side)
    return false;
  int width = std::min(buffer.side, mSurfaceWidth);
  int height = std::min(buffer.side, mSurfaceHeight);
  if (!UploadPixels(buffer.pixels.data(), width, height, buffer.side)) return false;
  mImageWidth = buffer.imageWidth;
  mImageHeight = buffer.imageHeight;
  return true;
}

bool TTextureData::UploadPixels(const uint32_t* argb, int width, int height, int stride) {
  TRenderDevice* device = Device();
  if (!device || mSurface == 0) return false;
  mRenderer->Flush();  // pending triangles sample the pixels as they were
  return device->Upload(mSurface, argb, width, height, stride);
}

bool TTextureData::UploadRect(const TRect& rect, const uint32_t* argb, int stride) {
  TRenderDevice* device = Device();
  if (!device || mSurface == 0) return false;
  mRenderer->Flush();
  return device->UploadRect(mSurface, rect, argb, stride);
}

bool TTextureData::ReadPixels(const TRect& rect, uint32_t* argb) const {
  TRenderDevice* device = Device();
  if (!device || mSurface == 0 || !argb) return false;
  mRenderer->Flush();
  return device->ReadPixels(mSurface, rect, argb);
}

bool TTextureData::Restore() {
  if (!Device()) return false;
  if (mFileName.empty()) {
    int width = mSurfaceWidth, height = mSurfaceHeight;
    if (width <= 0 || height <= 0 || !CreateSurface(width, height)) {
      Log("TDxTextureData::Restore: Failed to restore %dx%d texture (%d,%d)", width, height,
          mImageWidth, mImageHeight);
      return false;
    }
    return true;
  }
  if (mSource && ReloadTextureData(*this, *mSource)) return true;
  if (mMaskName.empty())
    Log("TDxTextureData::Restore: Failed to restore from file %s.", mFileName.c_str());
  else
    Log("TDxTextureData::Restore: Failed to restore from file %s and %s.", mFileName.c_str(),
        mMaskName.c_str());
  // A file that still exists failed for a passing reason: try the whole restore again
  // later. A file that is gone leaves the texture empty.
  std::string base = SplitTextureOptions(mFileName, nullptr);
  if (mSource && !ResolveImageName(*mSource, base).empty()) {
    mRenderer->MarkBroken();
  } else {
    ReleaseVideoMemory();
  }
  return false;
}

bool TTextureData::CopyRect(int x, int y, const TRect& from, TTextureData& target) {
  TRenderDevice* device = Device();
  if (!device || !mRenderer->SurfacesUsable() || mSurface == 0 || target.mSurface == 0)
    return false;
  TRect source{std::max(from.left, 0), std::max(from.top, 0), std::min(from.right, mImageWidth),
               std::min(from.bottom, mImageHeight)};
  if (source.Empty()) return false;
  TRect to{x, y, x + source.Width(), y + source.Height()};
  mRenderer->Flush();
  // Rectangles are in drawing units; surfaces holding a larger picture count more pixels.
  auto pixels = [](const TRect& r, float sx, float sy) {
    if (sx == 1.0f && sy == 1.0f) return r;
    auto at = [](int v, float s) {
      return static_cast<int>(std::lround(static_cast<float>(v) * s));
    };
    return TRect{at(r.left, sx), at(r.top, sy), at(r.right, sx), at(r.bottom, sy)};
  };
  return device->CopyRect(mSurface, pixels(source, mSourceScaleX, mSourceScaleY), target.mSurface,
                          pixels(to, target.mSourceScaleX, target.mSourceScaleY));
}

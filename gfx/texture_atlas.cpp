#include "gfx/texture_atlas.h"

#include <algorithm>
#include <cmath>

#include "frame/log.h"
#include "gfx/renderer.h"
#include "gfx/texture_name.h"

namespace {

// Cells start on multiples of this, so that the first mipmap levels of neighbouring
// pictures do not share texels.
constexpr int kAlignment = 4;

int AlignUp(int value) {
  return (value + kAlignment - 1) / kAlignment * kAlignment;
}

}  // namespace

TTextureAtlas::TTextureAtlas(TRenderer* renderer) {
  if (!renderer) return;
  mData = std::make_unique<TTextureData>(renderer, TTextureData::kHasAlpha | TTextureData::kSimple);
  mGeneration = renderer->AssetGeneration();
}

TTextureAtlas::~TTextureAtlas() = default;

TRenderer* TTextureAtlas::Renderer() const {
  return mData ? mData->Renderer() : nullptr;
}

namespace {

// Textures of one file with the same options hold the same picture (without an asset cache
// every load is a texture of its own).
std::string FileKey(const TTexture& texture) {
  const TTextureData* data = texture.Data();
  if (!data || data->FileName().empty()) return "";
  return data->FileName() + '\n' + data->MaskName() + '\n' + std::to_string(data->Flags());
}

}  // namespace

const TTextureAtlas::TEntry* TTextureAtlas::Find(const TTexture& texture) const {
  if (auto it = mIndex.find(&texture); it != mIndex.end()) return &mEntries[it->second];
  const std::string key = FileKey(texture);
  if (key.empty()) return nullptr;
  auto it = mByFile.find(key);
  return it == mByFile.end() ? nullptr : &mEntries[it->second];
}

bool TTextureAtlas::Add(const std::shared_ptr<TTexture>& texture) {
  if (!texture || !Renderer()) return false;
  if (const TEntry* entry = Find(*texture)) return entry->held;
  const std::string key = FileKey(*texture);
  if (key.empty()) return false;
  mIndex[texture.get()] = mEntries.size();
  mByFile[key] = mEntries.size();
  mEntries.push_back(TEntry{texture});
  if (Renderer()->AssetGeneration() != mGeneration) {
    Rebuild();
    return mEntries.back().held;
  }
  return CopyIn(mEntries.back());
}

bool TTextureAtlas::Place(int width, int height, int* x, int* y) {
  TRenderer* renderer = Renderer();
  const int limit = std::min(kMaxSide, renderer->Caps().maxTextureSize);
  if (mWidth == 0) mWidth = limit;
  width = AlignUp(width);
  height = AlignUp(height);
  if (width > mWidth || height > limit) return false;
  if (!mShelves.Place(width, height, mWidth, limit, x, y)) return false;
  if (*y + height > mHeight) {
    // Rows are whole lines of the buffer, so growing keeps what is there.
    mHeight = std::min(NextPowerOfTwo(*y + height), limit);
    mPixels.resize(static_cast<size_t>(mWidth) * mHeight, 0);
  }
  return true;
}

bool TTextureAtlas::CopyIn(TEntry& entry) {
  entry.held = false;
  const TTextureData* data = entry.texture->Data();
  if (!data || !data->Usable() || data->ImageWidth() <= 0 || data->ImageHeight() <= 0) return false;
  const int surfaceWidth = data->SurfaceWidth(), surfaceHeight = data->SurfaceHeight();
  const int width = std::min(
      static_cast<int>(std::lround(static_cast<float>(data->ImageWidth()) * data->SourceScaleX())),
      surfaceWidth);
  const int height = std::min(
      static_cast<int>(std::lround(static_cast<float>(data->ImageHeight()) * data->SourceScaleY())),
      surfaceHeight);
  if (width <= 0 || height <= 0) return false;
  int cellX = 0, cellY = 0;
  if (!Place(width + 2 * kBorder, height + 2 * kBorder, &cellX, &cellY)) {
    Log("The texture atlas has no room for %s (%d x %d)", data->FileName().c_str(), width, height);
    return false;
  }
  // The picture and what the sampler reads right of and below it (the surface's padding,
  // or its clamped edge where the picture fills the surface).
  const int readWidth = std::min(width + kBorder, surfaceWidth);
  const int readHeight = std::min(height + kBorder, surfaceHeight);
  std::vector<uint32_t> source(static_cast<size_t>(readWidth) * readHeight);
  if (!data->ReadPixels(TRect{0, 0, readWidth, readHeight}, source.data())) return false;
  for (int y = -kBorder; y < height + kBorder; ++y) {
    const int sy = std::clamp(y, 0, readHeight - 1);
    uint32_t* row = mPixels.data() + static_cast<size_t>(cellY + kBorder + y) * mWidth;
    for (int x = -kBorder; x < width + kBorder; ++x)
      row[cellX + kBorder + x] =
          source[static_cast<size_t>(sy) * readWidth + std::clamp(x, 0, readWidth - 1)];
  }
  entry.x = cellX + kBorder;
  entry.y = cellY + kBorder;
  entry.width = width;
  entry.height = height;
  entry.scaleX = data->SourceScaleX();
  entry.scaleY = data->SourceScaleY();
  entry.held = true;
  if (data->Flags() & TTextureData::kMipmap) mMipmap = true;
  mUploadPending = true;
  return true;
}

void TTextureAtlas::Rebuild() {
  mGeneration = Renderer()->AssetGeneration();
  mPixels.clear();
  mWidth = mHeight = 0;
  mShelves.Reset();
  mMipmap = false;
  for (TEntry& entry : mEntries) CopyIn(entry);
  mUploadPending = true;
}

bool TTextureAtlas::Prepare() {
  TRenderer* renderer = Renderer();
  if (!renderer || !renderer->SurfacesUsable()) return false;
  if (renderer->AssetGeneration() != mGeneration) Rebuild();
  if (mHeight == 0) return false;
  const uint8_t flags = TTextureData::kHasAlpha | TTextureData::kSimple |
                        (mMipmap ? static_cast<uint8_t>(TTextureData::kMipmap) : uint8_t{0});
  if (!mData->Usable() || mData->SurfaceWidth() != mWidth || mData->SurfaceHeight() != mHeight ||
      mData->Flags() != flags) {
    mData->SetFlags(flags);
    if (!mData->CreateSurface(mWidth, mHeight)) {
      Log("The texture atlas cannot make a %d x %d surface", mWidth, mHeight);
      return false;
    }
    mData->SetImageSize(mWidth, mHeight);
    mUploadPending = true;
  }
  if (mUploadPending) {
    if (!mData->UploadPixels(mPixels.data(), mWidth, mHeight, mWidth)) return false;
    mUploadPending = false;
  }
  return true;
}

bool TTextureAtlas::Draw(const TTexture& texture, const TDrawParams& drawing) {
  const TEntry* found = Find(texture);
  // Preparing may copy everything again (after the textures were rebuilt).
  if (!found || !Prepare() || !found->held) return false;
  const TEntry& entry = *found;
  const TRect source = drawing.flags & kDrawSourceRect
                           ? drawing.source
                           : TRect{0, 0, texture.GetWidth(), texture.GetHeight()};
  const float width = static_cast<float>(mWidth), height = static_cast<float>(mHeight);
  auto u = [&](int x) {
    return (static_cast<float>(entry.x) + static_cast<float>(x) * entry.scaleX) / width;
  };
  auto v = [&](int y) {
    return (static_cast<float>(entry.y) + static_cast<float>(y) * entry.scaleY) / height;
  };
  DrawPictureQuad(*Renderer(), mData->Surface(), drawing, source,
                  TQuadTexCoords{u(source.left), v(source.top), u(source.right), v(source.bottom)});
  return true;
}

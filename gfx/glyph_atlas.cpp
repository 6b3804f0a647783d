#include "gfx/glyph_atlas.h"

#include <algorithm>
#include <cstring>

#include "frame/log.h"
#include "gfx/renderer.h"

namespace {

// Fillings of every atlas are numbered from one counter, so that a cell of an atlas that was
// replaced (another renderer) is never taken for one of its successor.
uint32_t NextFilling() {
  static uint32_t next = 0;
  return ++next;
}

// Transparent pixels between cells: a sample that strays never reads a neighbour.
constexpr int kGap = 1;

TRect Union(const TRect& a, const TRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return TRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
               std::max(a.bottom, b.bottom)};
}

}  // namespace

TGlyphAtlas::TGlyphAtlas(TRenderer* renderer, int side) : mFilling(NextFilling()) {
  if (!renderer) return;
  mSide = std::max(16, std::min(side, renderer->Caps().maxTextureSize));
  mData = std::make_unique<TTextureData>(renderer, TTextureData::kHasAlpha | TTextureData::kSimple);
  mGeneration = renderer->AssetGeneration();
}

TGlyphAtlas::~TGlyphAtlas() = default;

TRenderer* TGlyphAtlas::Renderer() const {
  return mData ? mData->Renderer() : nullptr;
}

void TGlyphAtlas::Clear() {
  mFilling = NextFilling();
  mPixels.clear();
  mShelves.Reset();
  mCells = 0;
  mFull = false;
  mDirty = TRect{};
}

bool TGlyphAtlas::Place(int width, int height, int* x, int* y) {
  if (!mShelves.Place(width, height, mSide, mSide, x, y)) return false;
  const size_t rows = static_cast<size_t>(*y + height);
  if (mPixels.size() < rows * mSide) mPixels.resize(rows * mSide, 0);
  return true;
}

bool TGlyphAtlas::Add(const uint8_t* alpha, int width, int height, TGlyphCell* cell) {
  if (!mData || !Renderer() || !alpha || width <= 0 || height <= 0 || width > kMaxCell ||
      height > kMaxCell)
    return false;
  int x = 0, y = 0;
  if (!Place(width + kGap, height + kGap, &x, &y)) {
    mFull = true;
    return false;
  }
  for (int row = 0; row < height; ++row) {
    uint32_t* out = mPixels.data() + static_cast<size_t>(y + row) * mSide + x;
    const uint8_t* in = alpha + static_cast<size_t>(row) * width;
    for (int column = 0; column < width; ++column)
      out[column] = static_cast<uint32_t>(in[column]) << 24 | 0xFFFFFFu;
  }
  *cell = TGlyphCell{x, y, width, height, mFilling};
  mDirty = Union(mDirty, TRect{x, y, x + width, y + height});
  ++mCells;
  return true;
}

bool TGlyphAtlas::Prepare() {
  TRenderer* renderer = Renderer();
  if (!renderer || !renderer->SurfacesUsable()) return false;
  const int rows = static_cast<int>(mPixels.size() / static_cast<size_t>(std::max(mSide, 1)));
  bool everything = renderer->AssetGeneration() != mGeneration;
  if (!mData->Usable() || mData->SurfaceWidth() != mSide || mData->SurfaceHeight() != mSide) {
    if (!mData->CreateSurface(mSide, mSide)) {
      Log("The glyph atlas cannot make a %d x %d surface", mSide, mSide);
      return false;
    }
    mData->SetImageSize(mSide, mSide);
    everything = true;
  }
  mGeneration = renderer->AssetGeneration();
  if (everything) mDirty = rows > 0 ? TRect{0, 0, mSide, rows} : TRect{};
  if (mDirty.Empty()) return true;
  const uint32_t* first = mPixels.data() + static_cast<size_t>(mDirty.top) * mSide + mDirty.left;
  // Only the new cells where the device can place them; else everything above and left of
  // them from the corner.
  if (!mData->UploadRect(mDirty, first, mSide) &&
      !mData->UploadPixels(mPixels.data(), mDirty.right, mDirty.bottom, mSide)) {
    Log("The glyph atlas cannot upload its pixels");
    return false;
  }
  mDirty = TRect{};
  return true;
}

// TGlyphAtlas: the coverage pictures of drawn glyphs side by side in one texture (white, the
// coverage in alpha), so that a glyph is drawn as one textured quad sampled at whole target
// pixels instead of one quad per run of equal coverage. The quad's colour times the texel
// gives the run's colour: the same pixels at a fraction of the triangles.
//
// Cells are packed on shelves and never move. When there is no room left the caller empties
// the atlas (Clear) and copies in again what it draws next; cells filled before are then no
// longer held (Holds). The pixels are kept here as well, so the surface is filled again when
// the renderer rebuilt its textures (restored assets, a new device).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/render_types.h"
#include "gfx/shelf_packer.h"
#include "gfx/texture_data.h"

class TRenderer;

// Where a glyph's picture lies in an atlas; `filling` 0 means nowhere.
struct TGlyphCell {
  int x = 0, y = 0;
  int width = 0, height = 0;
  uint32_t filling = 0;
};

class TGlyphAtlas {
 public:
  // The texture's side (or the device's largest texture, when smaller).
  static constexpr int kSide = 1024;
  // Larger pictures are not taken in: a few headline glyphs would crowd out the rest.
  static constexpr int kMaxCell = 256;

  // Works with `renderer` (null: nothing is taken in). `side` is for tests.
  explicit TGlyphAtlas(TRenderer* renderer, int side = kSide);
  ~TGlyphAtlas();
  TGlyphAtlas(const TGlyphAtlas&) = delete;
  TGlyphAtlas& operator=(const TGlyphAtlas&) = delete;

  // The renderer the texture belongs to (null once that renderer has gone).
  TRenderer* Renderer() const;
  // Whether the cell still holds what was copied into it.
  bool Holds(const TGlyphCell& cell) const { return cell.filling == mFilling && mFilling != 0; }
  // Copies a coverage picture (width x height alpha values, rows top to bottom) into a new
  // cell. False when it is too large or there is no room left (then the atlas is Full()).
  bool Add(const uint8_t* alpha, int width, int height, TGlyphCell* cell);
  bool Full() const { return mFull; }
  // Forgets every cell: what is drawn next is copied in again from the top.
  void Clear();
  // Makes the surface hold every cell (uploading what is new, or everything after the
  // textures were rebuilt); false when there is no usable surface.
  bool Prepare();
  TSurfaceId Surface() const { return mData ? mData->Surface() : 0; }
  int Side() const { return mSide; }
  // Cells taken in since the last Clear.
  int Cells() const { return mCells; }

 private:
  bool Place(int width, int height, int* x, int* y);

  std::unique_ptr<TTextureData> mData;
  int mSide = 0;
  std::vector<uint32_t> mPixels;  // mSide wide, as many rows as the shelves reach
  TShelfPacker mShelves;
  int mCells = 0;
  bool mFull = false;
  uint32_t mFilling = 0;
  TRect mDirty;  // pixels changed since the last upload (empty: none)
  uint32_t mGeneration = 0;
};

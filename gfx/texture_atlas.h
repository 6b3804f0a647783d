// TTextureAtlas: small pictures copied into one texture, so that a scene drawn from many of
// them in a fixed order (a board: each tile's blank and then its face, back to front) is one
// batch instead of a texture switch per picture.
//
// A picture is copied out of its loaded texture, whatever source that took (a larger
// version on an enlarged screen), with a border of the pixels the texture's own clamped
// sampler would read beyond the picture's edges; drawn from the atlas it looks as it does
// from its own texture. The atlas copies everything again when the renderer's textures may
// have been rebuilt (a new device, restored assets, a frame crossing the large-source
// scale). Pictures that do not fit are refused, and their callers draw the texture itself.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "gfx/shelf_packer.h"
#include "gfx/texture.h"

class TRenderer;

class TTextureAtlas {
 public:
  // Pixels around every picture: its clamped edges (room for a few mipmap levels).
  static constexpr int kBorder = 4;
  // The atlas grows in height up to this side (or the device's largest texture).
  static constexpr int kMaxSide = 2048;

  // Works with `renderer` (null: every picture is refused).
  explicit TTextureAtlas(TRenderer* renderer);
  ~TTextureAtlas();
  TTextureAtlas(const TTextureAtlas&) = delete;
  TTextureAtlas& operator=(const TTextureAtlas&) = delete;

  // Takes a texture's picture in (once: later calls, with this or another texture of the
  // same file, find it) and keeps the texture alive. False when it cannot be held: no usable
  // surface or file, larger than the atlas, or the atlas is full.
  bool Add(const std::shared_ptr<TTexture>& texture);
  // Draws the texture's picture from the atlas exactly as TTexture::Draw would place it
  // (clamped addressing). False, drawing nothing, when the texture is not held.
  bool Draw(const TTexture& texture, const TDrawParams& drawing);

  int Pictures() const { return static_cast<int>(mEntries.size()); }
  // The atlas surface's size in pixels (0 before the first picture).
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }

 private:
  struct TEntry {
    std::shared_ptr<TTexture> texture;
    int x = 0, y = 0;                    // the picture's top-left pixel in the atlas
    int width = 0, height = 0;           // its size in surface pixels
    float scaleX = 1.0f, scaleY = 1.0f;  // surface pixels per drawing unit
    bool held = false;                   // copied in (false: draw the texture itself)
  };

  // Finds room for a picture of width x height pixels (border included); false when full.
  bool Place(int width, int height, int* x, int* y);
  // The entry holding this texture's picture (by the texture itself, else by its file).
  const TEntry* Find(const TTexture& texture) const;
  // Copies the entry's texture pixels (and the border) into the pixel buffer.
  bool CopyIn(TEntry& entry);
  // Lays every picture out again and copies them (after the textures were rebuilt).
  void Rebuild();
  // Makes the surface match the buffer and uploads it when pictures were copied in.
  bool Prepare();
  TRenderer* Renderer() const;

  std::unique_ptr<TTextureData> mData;
  std::vector<TEntry> mEntries;
  std::unordered_map<const TTexture*, size_t> mIndex;  // the entries' own textures
  std::unordered_map<std::string, size_t> mByFile;     // file, mask and flags
  std::vector<uint32_t> mPixels;                       // mWidth x mHeight, ARGB
  int mWidth = 0;
  int mHeight = 0;
  TShelfPacker mShelves;
  bool mMipmap = false;
  bool mUploadPending = false;
  uint32_t mGeneration = 0;
};

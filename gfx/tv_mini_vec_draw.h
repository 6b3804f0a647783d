// TTvMiniVecDraw: draws the glyphs of vector fonts. A glyph's outline is placed at the pen
// position (in quarter pixels), scaled, optionally sheared for italics and rotated, filled by
// the coverage raster, and turned into horizontal runs of equal coverage. Runs are cached per
// glyph and settings, so drawing the same text again only replays them. Text is drawn in
// blocks: the glyphs of a block are queued and then drawn in order, each as one quad from the
// glyph atlas (its coverage picture, copied in from the runs once), or as its runs (a quad
// per run in the run's colour) where the atlas cannot take it. Both give the same pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "gfx/coverage_raster.h"
#include "gfx/glyph_atlas.h"
#include "gfx/mvec_font.h"

class TRenderer;

// How a glyph is drawn, apart from its position and colour.
struct TGlyphParams {
  float scale = 1;      // pixels per font unit (the text size's k times the drawing scale)
  bool italic = false;  // tops lean right by a third of the height
  float outline = 0;    // width of the outline in pixels (0 = none)
  float rotation = 0;   // radians, clockwise on screen
};

// One run of pixels relative to the pen's pixel: `length` pixels from (x, y) with coverage
// `alpha` (0..255), repeated on `rows` rows downward (the same run on consecutive rows, as
// down a stem, is one rectangle: one quad for the renderer instead of one per row).
struct TGlyphRun {
  int16_t x, y;
  uint16_t length;
  uint8_t alpha;
  uint8_t rows = 1;
};

// Where a glyph's runs lie (pixels from the pen's pixel) and their cell in the glyph atlas.
struct TGlyphPicture {
  TRect bounds;
  TGlyphCell cell;
};

struct TGlyphRuns {
  std::vector<TGlyphRun> fill;
  std::vector<TGlyphRun> outline;  // drawn first, under the glyph
  // The atlas's bookkeeping, filled in when the glyph is first drawn from it.
  mutable TGlyphPicture fillPicture, outlinePicture;
};

// Turns a coverage bitmap into runs of equal coverage, offset by (dx, dy); a run equal to
// one on the row above extends that one.
void CoverageToRuns(const TCoverageBitmap& bitmap, int dx, int dy, std::vector<TGlyphRun>* runs);

class TTvMiniVecDraw {
 public:
  TTvMiniVecDraw();

  // Rasterises a glyph with the pen at quarter-pixel offset (subX, subY) inside pixel (0, 0).
  // `outline` may be null; it is left empty when params.outline is 0.
  void RasterizeGlyph(const TMvecFont& font, const TMvecGlyph& glyph, int subX, int subY,
                      const TGlyphParams& params, TCoverageBitmap* fill, TCoverageBitmap* outline);

  // The glyph's runs for the pen at pixel position (penX, penY), from the cache when the same
  // glyph was drawn before with the same settings and quarter-pixel offset. Runs are relative
  // to the pen's pixel, returned in *pixelX, *pixelY.
  const TGlyphRuns& GlyphRuns(const TMvecFont& font, const TMvecGlyph& glyph, float penX,
                              float penY, const TGlyphParams& params, int* pixelX, int* pixelY);

  // Queues runs of a glyph (`fill` or `outline` of what GlyphRuns returned) at pixel (x, y) in a
  // colour whose alpha is scaled by their coverage. What is queued later lies on top.
  void QueueRuns(const TGlyphRuns& glyph, bool outline, int x, int y, uint32_t color);
  // Draws what was queued, in order, and empties the queue. Leaves no texture set.
  void DrawQueued(TRenderer& renderer);
  // Whether queued glyphs are drawn from the atlas (the default) or all as their runs.
  void SetUseAtlas(bool on) { mUseAtlas = on; }
  // The side of atlases made from now on (tests make it small to see it fill up).
  void SetAtlasSide(int side) {
    mAtlasSide = side;
    mAtlas.reset();
  }
  // The atlas of the renderer drawn with last (null before any text was drawn from one).
  const TGlyphAtlas* Atlas() const { return mAtlas.get(); }

  // Positions below are pixels of the renderer's pixel space (TRenderer::PixelSpace: the
  // viewport's own pixels at scale 1). Draws a glyph with its baseline pen at (penX, penY).
  // Colours are ARGB; the outline colour is used only when params.outline > 0.
  void DrawGlyph(TRenderer& renderer, const TMvecFont& font, const TMvecGlyph& glyph, float penX,
                 float penY, const TGlyphParams& params, uint32_t color, uint32_t outlineColor);
  // An anti-aliased filled rectangle (underlines, the text cursor), optionally rotated by
  // `rotation` around (originX, originY).
  void DrawRect(TRenderer& renderer, float x0, float y0, float x1, float y1, uint32_t color,
                float rotation = 0, float originX = 0, float originY = 0);
  // Hands runs to the renderer at pixel (x, y) in a colour whose alpha is scaled by each
  // run's coverage.
  static void DrawRuns(TRenderer& renderer, const std::vector<TGlyphRun>& runs, int x, int y,
                       uint32_t color);

  size_t CachedGlyphs() const { return mCache.size(); }
  // Forgets every glyph's runs (and what was queued but not drawn).
  void ClearCache();

 private:
  struct TKey {
    const TMvecFont* font;
    uint32_t code;
    uint8_t subX, subY;
    bool italic;
    float scaleX, scaleY, outline, rotation;
    bool operator==(const TKey&) const = default;
  };
  struct TKeyHash {
    size_t operator()(const TKey& k) const;
  };

  struct TQueuedRuns {
    const std::vector<TGlyphRun>* runs;
    TGlyphPicture* picture;
    int x, y;
    uint32_t color;
    bool fromAtlas;
  };
  // The atlas for this renderer (made anew when the renderer is another one); null when
  // glyphs are not drawn from an atlas.
  TGlyphAtlas* AtlasFor(TRenderer& renderer);
  // Copies the queued glyphs the atlas does not hold yet into it; marks those it cannot take.
  void FillAtlas(TGlyphAtlas& atlas);
  void DrawQuads(TRenderer& renderer, const TGlyphAtlas& atlas, size_t begin, size_t end);

  TCoverageRaster mRaster;
  TCoverageBitmap mFillBitmap, mOutlineBitmap;
  std::unordered_map<TKey, TGlyphRuns, TKeyHash> mCache;
  size_t mCachedRuns = 0;
  std::vector<TQueuedRuns> mQueue;
  std::unique_ptr<TGlyphAtlas> mAtlas;
  int mAtlasSide = TGlyphAtlas::kSide;
  bool mUseAtlas = true;
  std::vector<uint8_t> mCellPixels;  // scratch: a picture made from runs
};

// The drawing object shared by all text of the program.
TTvMiniVecDraw& GetVecDraw();

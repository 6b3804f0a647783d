// TMvecFont: a vector font read from an ".mvec" image ("MVC4"). The image holds a glyph
// table sorted by character code and the glyphs' outlines as small command programs. All
// stored lengths are 1/128 of a font unit, y grows downward and the baseline is y = 0.
// Loading derives the font's vertical metrics and a per-glyph fit factor that squeezes
// glyphs reaching beyond the line box back into it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Outline commands of a glyph program.
enum : uint8_t {
  kMvecLayer = 1,
  kMvecFillLeft = 2,
  kMvecFillRight = 3,
  kMvecMoveTo = 4,
  kMvecLineTo = 5,
  kMvecQuadTo = 6,
  kMvecColor = 7,
  kMvecEnd = 8,
};

constexpr size_t kMvecHeaderSize = 12;
constexpr size_t kMvecEntrySize = 18;
constexpr float kMvecUnitScale = 1.0f / 128.0f;  // stored value -> font units

struct TMvecGlyph {
  uint32_t code = 0;
  int16_t xmin = 0, xmax = 0, ymin = 0, ymax = 0;  // 1/128 font units
  int16_t advance = 0;
  uint32_t offset = 0;  // of the outline program in the image
  float fit = 1.0f;     // vertical fit factor (heights only)
};

// Receives the decoded outline of a glyph, in 1/128 font units.
class TOutlineSink {
 public:
  virtual ~TOutlineSink() = default;
  virtual void MoveTo(float x, float y) = 0;
  virtual void LineTo(float x, float y) = 0;
  virtual void QuadTo(float cx, float cy, float x, float y) = 0;
  // Fill switched on or off for the edges that follow (command 2 or 3 with fill 0).
  virtual void SetFill(bool /*on*/) {}
};

class TMvecFont {
 public:
  // Parses a whole image. Anything damaged is logged and left out: a missing magic gives an
  // empty font, glyph entries whose outline lies outside the image are dropped.
  static std::shared_ptr<TMvecFont> Parse(std::vector<uint8_t> image, const std::string& name);

  const std::string& Name() const { return mName; }
  bool Empty() const { return mGlyphs.empty(); }
  size_t GlyphCount() const { return mGlyphs.size(); }
  const std::vector<TMvecGlyph>& Glyphs() const { return mGlyphs; }

  // Halving search on the character code; null when the font lacks the character.
  const TMvecGlyph* FindGlyph(uint32_t code) const;

  // Walks a glyph's outline program. False when the program is damaged (runs past the end
  // of the image or holds an unknown command); what was decoded before stays delivered.
  bool DecodeOutline(const TMvecGlyph& glyph, TOutlineSink& sink) const;
  // Whether the glyph's outline is simple (gfx/outline_winding.h); checked on first use and
  // remembered without a lock, like the drawing that asks, on the main thread only.
  bool HasSimpleWinding(const TMvecGlyph& glyph) const;

  // Derived metrics in font units.
  float Ascent() const { return mAscent; }
  float Descent() const { return mDescent; }
  float Body() const { return mAscent + mDescent; }
  float TopMargin() const { return 0.15f / 0.8f * Body(); }
  float BottomMargin() const { return 0.05f / 0.8f * Body(); }
  // Pixels per font unit for text of size S (the line box height in pixels).
  float PixelsPerUnit(float size) const { return 0.8f * size / Body(); }
  // Distance from the top of a line box of size S down to the baseline, in pixels.
  float BaselineOffset(float size) const { return (mAscent + TopMargin()) * PixelsPerUnit(size); }

 private:
  TMvecFont() = default;
  void DeriveMetrics();

  std::string mName;
  std::vector<uint8_t> mImage;
  std::vector<TMvecGlyph> mGlyphs;
  // Per glyph: whether its outline is simple, once known (0 not yet known, 1 no, 2 yes).
  mutable std::vector<uint8_t> mSimpleWinding;
  float mAscent = 0.8f;
  float mDescent = 0.2f;
};

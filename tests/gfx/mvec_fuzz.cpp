// Fuzz target for the .mvec reader: parse, decode and rasterise the first 16 glyphs at
// a small size, normal and italic with an outline. Nothing may crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/coverage_raster.h"
#include "gfx/mvec_font.h"
#include "gfx/tv_mini_vec_draw.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto font = TMvecFont::Parse(std::vector<uint8_t>(data, data + size), "fuzz");
  static TTvMiniVecDraw draw;
  TCoverageBitmap fill, outline;
  size_t n = 0;
  for (const TMvecGlyph& glyph : font->Glyphs()) {
    if (++n > 16) break;
    if (font->FindGlyph(glyph.code) == nullptr) __builtin_trap();
    TGlyphParams params;
    params.scale = font->PixelsPerUnit(12);
    draw.RasterizeGlyph(*font, glyph, 1, 2, params, &fill, nullptr);
    params.italic = true;
    params.outline = 2;
    params.rotation = 0.5f;
    draw.RasterizeGlyph(*font, glyph, 3, 0, params, &fill, &outline);
    if (fill.alpha.size() != static_cast<size_t>(fill.width) * fill.height) __builtin_trap();
  }
  return 0;
}

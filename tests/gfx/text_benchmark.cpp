// Rasterising every printable ASCII glyph of the default font at 12, 16, 24 and 48 pixels:
// the engine's coverage raster next to FreeType's smooth rasteriser on the same font.
// BM_MiniVecRaster goes the way the drawing code goes (simple outlines are summed unsorted).
// The counter "s_per_glyph" is the CPU time per glyph (the "u" suffix means microseconds).
#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "gfx/font_cache.h"
#include "gfx/outline_winding.h"
#include "gfx/raster_sink.h"
#include "gfx/text_layout.h"
#include "gfx/tv_mini_vec_draw.h"
#include "tests/gfx/previous_coverage_raster.h"

namespace {

void SetGlyphCounters(benchmark::State& state, int glyphs) {
  state.counters["s_per_glyph"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * glyphs,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_MiniVecRaster(benchmark::State& state) {
  auto font = BuiltinFont();
  TTvMiniVecDraw draw;
  TGlyphParams params;
  params.scale = font->PixelsPerUnit(static_cast<float>(state.range(0)));
  TCoverageBitmap bitmap;
  std::vector<const TMvecGlyph*> glyphs;
  for (uint32_t c = 33; c < 127; ++c) glyphs.push_back(font->FindGlyph(c));
  for (auto _ : state) {
    for (const TMvecGlyph* g : glyphs) {
      draw.RasterizeGlyph(*font, *g, 1, 0, params, &bitmap, nullptr);
      benchmark::DoNotOptimize(bitmap.alpha.data());
    }
  }
  SetGlyphCounters(state, static_cast<int>(glyphs.size()));
}
BENCHMARK(BM_MiniVecRaster)->Arg(12)->Arg(16)->Arg(24)->Arg(48);

// The same glyphs fed straight into a coverage raster; `clear` readies it for a glyph.
template <typename TRaster, typename TClear>
void FeedGlyphs(benchmark::State& state, TRaster& raster, TClear clear) {
  auto font = BuiltinFont();
  TGlyphParams params;
  params.scale = font->PixelsPerUnit(static_cast<float>(state.range(0)));
  TCoverageBitmap bitmap;
  std::vector<const TMvecGlyph*> glyphs;
  for (uint32_t c = 33; c < 127; ++c) glyphs.push_back(font->FindGlyph(c));
  for (auto _ : state) {
    for (const TMvecGlyph* g : glyphs) {
      clear(raster);
      TRasterSink<TRaster> sink(raster, params, g->fit, 1, 0, false);
      font->DecodeOutline(*g, sink);
      raster.Render(&bitmap);
      benchmark::DoNotOptimize(bitmap.alpha.data());
    }
  }
  SetGlyphCounters(state, static_cast<int>(glyphs.size()));
}

// Through the coverage raster as it was before its scanline loop was reworked (kept in the
// tests as the reference), for a before/after figure in one run.
void BM_PreviousCoverageRaster(benchmark::State& state) {
  TPreviousCoverageRaster raster;
  FeedGlyphs(state, raster, [](TPreviousCoverageRaster& r) { r.Clear(); });
}
BENCHMARK(BM_PreviousCoverageRaster)->Arg(12)->Arg(16)->Arg(24)->Arg(48);

// Through the current raster told nothing about their winding: the path that sorts each
// scanline's crossings, which overlapping outlines and outline strokes take.
void BM_WalkedCoverageRaster(benchmark::State& state) {
  TCoverageRaster raster;
  FeedGlyphs(state, raster, [](TCoverageRaster& r) { r.Clear(TWinding::kAny); });
}
BENCHMARK(BM_WalkedCoverageRaster)->Arg(12)->Arg(16)->Arg(24)->Arg(48);

// What a glyph's first rasterisation pays once: the check whether its outline is simple.
void BM_OutlineCheck(benchmark::State& state) {
  auto font = BuiltinFont();
  std::vector<const TMvecGlyph*> glyphs;
  for (uint32_t c = 33; c < 127; ++c) glyphs.push_back(font->FindGlyph(c));
  for (auto _ : state) {
    for (const TMvecGlyph* g : glyphs) benchmark::DoNotOptimize(OutlineHasSimpleWinding(*font, *g));
  }
  SetGlyphCounters(state, static_cast<int>(glyphs.size()));
}
BENCHMARK(BM_OutlineCheck);

void BM_FreeTypeSmooth(benchmark::State& state) {
  FT_Library library;
  FT_Face face;
  if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, MC_FONT_SOURCE, 0, &face) != 0) {
    state.SkipWithError("FreeType could not open the font");
    return;
  }
  // The same pixel size as the engine's text size S: the em of the converted font is
  // 100 units, drawn at 0.8 * S / body pixels per unit.
  auto font = BuiltinFont();
  const double emPixels = 100 * font->PixelsPerUnit(static_cast<float>(state.range(0)));
  FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(emPixels * 64), 72, 72);
  std::vector<FT_UInt> indices;
  for (uint32_t c = 33; c < 127; ++c) indices.push_back(FT_Get_Char_Index(face, c));
  for (auto _ : state) {
    for (FT_UInt index : indices) {
      FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
      FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
      benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
    }
  }
  SetGlyphCounters(state, static_cast<int>(indices.size()));
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}
BENCHMARK(BM_FreeTypeSmooth)->Arg(12)->Arg(16)->Arg(24)->Arg(48);

// Drawing text again: every glyph's runs come from the run cache (the lookup a redrawn
// frame pays per glyph before handing the runs to the renderer).
void BM_CachedGlyphRuns(benchmark::State& state) {
  auto font = BuiltinFont();
  TTvMiniVecDraw draw;
  TGlyphParams params;
  params.scale = font->PixelsPerUnit(static_cast<float>(state.range(0)));
  std::vector<const TMvecGlyph*> glyphs;
  for (uint32_t c = 33; c < 127; ++c) glyphs.push_back(font->FindGlyph(c));
  int px = 0, py = 0;
  for (auto _ : state) {
    float pen = 10.25f;
    for (const TMvecGlyph* g : glyphs) {
      benchmark::DoNotOptimize(&draw.GlyphRuns(*font, *g, pen, 30.0f, params, &px, &py));
      pen += 7.5f;
    }
  }
  SetGlyphCounters(state, static_cast<int>(glyphs.size()));
}
BENCHMARK(BM_CachedGlyphRuns)->Arg(16);

// Laying out a paragraph of marked-up text (no drawing).
void BM_LayoutParagraph(benchmark::State& state) {
  TTextLayout layout("__DEFAULT", 16, 0xFFFFFFFFu, 0, 400, 300);
  const std::string text =
      "<center><font size=24>Yard sale</font></center><br>The <b>old lamp</b> in the corner "
      "looks like <i>nothing much</i>, but the <a id=look color=FFCC00>appraiser</a> might "
      "think otherwise. Prices start at $5 and go up with every day of the week.";
  for (auto _ : state) {
    layout.SetText(text);
    benchmark::DoNotOptimize(layout.Lines().data());
  }
}
BENCHMARK(BM_LayoutParagraph);

}  // namespace

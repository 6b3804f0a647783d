// Frames of 2000 textured, alpha-blended 47 x 64 quads drawn offscreen (a full mahjong
// board is about 150). Reports frames per second and CPU time per frame; the device calls
// per frame show what batching saves.
#include <benchmark/benchmark.h>

#include <memory>

#include "gfx/font_cache.h"
#include "gfx/renderer.h"
#include "gfx/text_layout.h"
#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "platform/gl/gl_device.h"
#include "tests/gfx/test_support.h"

namespace {

// Arguments: textures the quads cycle through (100 consecutive quads share one), quads per
// frame, and the quad size in percent of 47 x 64 (small quads show the cost of submission
// apart from the software rasteriser's fill cost).
void DrawQuadFrames(benchmark::State& state) {
  const int textures = static_cast<int>(state.range(0));
  const int quads = static_cast<int>(state.range(1));
  const float scale = static_cast<float>(state.range(2)) / 100.0f;
  auto screen = TOffscreenScreen::Create(800, 600);
  if (!screen) {
    state.SkipWithError("no offscreen OpenGL context");
    return;
  }
  auto source = std::make_shared<TMemorySource>();
  std::vector<std::shared_ptr<TTexture>> tiles;
  for (int i = 0; i < textures; ++i) {
    std::string name = "tile" + std::to_string(i) + ".png";
    uint32_t colour = 0xC0000000u | static_cast<uint32_t>(i * 0x2F4F6F);
    source->files[name] = PngBytes(MakeImage(47, 64, [colour](int, int) { return colour; }));
    tiles.push_back(LoadTexture(source, name, 0));
  }
  TRenderer& r = screen->Renderer();
  int drawCalls = 0;
  for (auto _ : state) {
    int before = r.DrawCalls();
    r.BeginDraw(true);
    r.Begin2d();
    for (int i = 0; i < quads; ++i) {
      // Consecutive quads share a texture, as a board drawn layer by layer mostly does.
      TTexture& tile = *tiles[(i / 100) % textures];
      tile.DrawAt(static_cast<float>(24 + (i * 37) % 760), static_cast<float>(32 + (i * 53) % 540),
                  scale, scale, 0.9f, kBlendNormal);
    }
    r.End2d();
    r.EndDraw(true);
    // Wait for the frame so the time per frame includes the rendering itself.
    uint32_t pixel = 0;
    screen->Device().ReadPixels(kBackBuffer, TRect{0, 0, 1, 1}, &pixel);
    benchmark::DoNotOptimize(pixel);
    drawCalls = r.DrawCalls() - before;
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["draw_calls_per_frame"] = drawCalls;
}
// Process CPU time includes the software rasteriser's threads.
BENCHMARK(DrawQuadFrames)
    ->Args({1, 2000, 100})
    ->Args({4, 2000, 100})
    ->Args({1, 150, 100})
    ->Args({1, 2000, 10})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// A full board as the game draws it: the level background, 144 tiles (blank and face, in
// four layers, 36 different faces), and three lines of text, for an output of the given
// size (800 x 600: the picture's own size; 1920 x 1080: a full-screen frame of 1440 x 1080).
// Timed twice: the main thread's CPU time (the engine and the GL driver's front end), and
// the whole process's (adding the software rasteriser's fill threads).
void DrawBoardFrames(benchmark::State& state) {
  const int outputWidth = static_cast<int>(state.range(0));
  const int outputHeight = static_cast<int>(state.range(1));
  auto screen = TOffscreenScreen::Create(800, 600);
  if (!screen) {
    state.SkipWithError("no offscreen OpenGL context");
    return;
  }
  screen->SetOutputSize(outputWidth, outputHeight);
  auto source = std::make_shared<TMemorySource>();
  source->files["background.png"] = PngBytes(MakeImage(800, 600, [](int x, int y) -> uint32_t {
    return 0xFF000000u | static_cast<uint32_t>((x / 3) << 16 | (y / 3) << 8 | 0x40);
  }));
  source->files["blank.png"] = PngBytes(MakeImage(47, 64, [](int x, int y) -> uint32_t {
    return x < 2 || y < 2 || x > 44 || y > 61 ? 0xFF302010u : 0xFFF0E8D0u;
  }));
  auto background = LoadTexture(source, "background.png", 0);
  auto blank = LoadTexture(source, "blank.png", 0);
  std::vector<std::shared_ptr<TTexture>> faces;
  for (int i = 0; i < 36; ++i) {
    const std::string name = "face" + std::to_string(i) + ".png";
    const uint32_t mark = 0xFF000000u | static_cast<uint32_t>(i * 0x3F5F7F);
    source->files[name] = PngBytes(MakeImage(48, 64, [mark](int x, int y) -> uint32_t {
      return (x - 24) * (x - 24) + (y - 32) * (y - 32) < 200 ? mark : 0u;
    }));
    faces.push_back(LoadTexture(source, name, 0));
  }
  TTextLayout text(kBuiltinFontName, 22, 0xFF101010u, 0, 600, 100);
  text.SetText("Money: $12,345<br>Hints: 3    Shuffles: 2<br>Yard sale, day 4");
  TRenderer& r = screen->Renderer();
  const int drawCallsBefore = r.DrawCalls();
  for (auto _ : state) {
    r.BeginDraw(true);
    r.Begin2d();
    background->DrawAt(400, 300, 1, 1, 1, kBlendOpaque);
    int n = 0;
    for (int layer = 0; layer < 4; ++layer)
      for (int row = 0; row < 8 - layer; ++row)
        for (int column = 0; column < 12 - 2 * layer && n < 144; ++column, ++n) {
          const float x = 130.0f + static_cast<float>(column + layer) * 45 - layer * 5;
          const float y = 90.0f + static_cast<float>(row) * 60 + layer * 25 - layer * 6;
          blank->DrawAt(x, y, 1, 1, 1, kBlendNormal);
          faces[static_cast<size_t>(n % 36)]->DrawAt(x - 2, y - 2, 1, 1, 1, kBlendNormal);
        }
    text.Draw(r, 20, 10, 1, 1);
    r.End2d();
    r.EndDraw(true);
    uint32_t pixel = 0;
    screen->Device().ReadPixels(kBackBuffer, TRect{0, 0, 1, 1}, &pixel);
    benchmark::DoNotOptimize(pixel);
  }
  state.counters["frame_width"] = screen->Device().FrameWidth();
  state.counters["draw_calls_per_frame"] =
      static_cast<double>(r.DrawCalls() - drawCallsBefore) /
      static_cast<double>(std::max<int64_t>(1, state.iterations()));
}
BENCHMARK(DrawBoardFrames)
    ->Args({800, 600})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->Name("DrawBoardFrames/main_thread_cpu");
BENCHMARK(DrawBoardFrames)
    ->Args({800, 600})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Name("DrawBoardFrames/process_cpu_with_fill");

}  // namespace

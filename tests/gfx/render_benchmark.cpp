// Frames of 2000 textured, alpha-blended 47 x 64 quads drawn offscreen (a full mahjong
// board is about 150). Reports frames per second and CPU time per frame; the device calls
// per frame show what batching saves.
#include <benchmark/benchmark.h>

#include <memory>

#include "gfx/renderer.h"
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

}  // namespace

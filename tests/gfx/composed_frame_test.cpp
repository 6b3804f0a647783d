// Draws a composed frame (backdrop, a small mahjong-like board of alpha-blended tiles,
// mirrored and tinted tiles, additive glow, a multiply shadow, a render-target picture and
// the built-in cursor) and writes it as test-output/composed_frame.png beside the build's
// bin folder, so a person can look at it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "gfx/renderer.h"
#include "gfx/system_cursor.h"
#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "tests/gfx/test_support.h"

namespace {

// A 47 x 64 tile: ivory face with rounded, transparent corners, a dark edge and a coloured
// disc in the middle.
TPixelImage TilePicture(uint32_t disc) {
  return MakeImage(47, 64, [disc](int x, int y) -> uint32_t {
    auto outside = [](float dx, float dy) { return dx * dx + dy * dy > 36.0f; };
    float cx = x < 6 ? 6.0f - x : x > 40 ? x - 40.0f : 0;
    float cy = y < 6 ? 6.0f - y : y > 57 ? y - 57.0f : 0;
    if ((cx > 0 && cy > 0 && outside(cx, cy))) return 0x00000000u;
    if (x < 2 || y < 2 || x > 44 || y > 61) return 0xFF5A4632u;
    float dx = x - 23.0f, dy = y - 32.0f;
    if (dx * dx + dy * dy < 120.0f) return disc;
    return 0xFFF4EBD2u;
  });
}

TEST(ComposedFrameTest, WritesAComposedFrameAsPng) {
  auto screen = TOffscreenScreen::Create(400, 300);
  ASSERT_NE(screen, nullptr);
  TRenderer& r = screen->Renderer();
  auto source = std::make_shared<TMemorySource>();
  source->files["tiles/red.png"] = PngBytes(TilePicture(0xFFC0282Cu));
  source->files["tiles/green.png"] = PngBytes(TilePicture(0xFF2C8C3Cu));
  source->files["glow.png"] = PngBytes(MakeImage(64, 64, [](int x, int y) {
    float d = std::hypot(x - 31.5f, y - 31.5f) / 32.0f;
    uint32_t a = d >= 1 ? 0 : static_cast<uint32_t>((1 - d) * 255);
    return a << 24 | 0xFFD060u;
  }));
  source->files[kSystemCursorName] = SystemCursorPng();
  auto red = LoadTexture(source, "tiles/red", 0);
  auto green = LoadTexture(source, "tiles/green", 0);
  auto glow = LoadTexture(source, "glow", 0);
  auto cursor = LoadTexture(source, kSystemCursorName, 0);
  auto picture = CreateTexture(128, 64, true);
  ASSERT_TRUE(red && green && glow && cursor && picture);

  ASSERT_TRUE(r.BeginDraw(true));
  // Into the render target: three tiles side by side on transparency.
  ASSERT_TRUE(r.SetRenderTarget(picture->Data()));
  r.Begin2d();
  for (int i = 0; i < 3; ++i)
    (i % 2 ? green : red)->DrawAt(24.0f + i * 40, 32, 1, 1, 1, kBlendOpaque);
  r.End2d();
  r.SetRenderTarget(nullptr);

  r.Begin2d();
  // Backdrop: a vertical gradient from dark blue to teal.
  TVertexColored backdrop[4] = {{0, 0, 0.1f, 0.5f, 0xFF102040u, 0xFF000000u, 0, 0},
                                {400, 0, 0.1f, 0.5f, 0xFF102040u, 0xFF000000u, 0, 0},
                                {400, 300, 0.1f, 0.5f, 0xFF207070u, 0xFF000000u, 0, 0},
                                {0, 300, 0.1f, 0.5f, 0xFF207070u, 0xFF000000u, 0, 0}};
  r.SetTexture(0);
  r.SetBlendMode(kBlendOpaque);
  r.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, backdrop, 4});
  // Shadow of the board (multiply), then two layers of tiles, the upper shifted up-left.
  TVertexColored shadow[4] = {{46, 46, 0.1f, 0.5f, 0xFF808080u, 0xFF000000u, 0, 0},
                              {300, 46, 0.1f, 0.5f, 0xFF808080u, 0xFF000000u, 0, 0},
                              {300, 206, 0.1f, 0.5f, 0xFF808080u, 0xFF000000u, 0, 0},
                              {46, 206, 0.1f, 0.5f, 0xFF808080u, 0xFF000000u, 0, 0}};
  r.SetBlendMode(kBlendMultiply);
  r.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, shadow, 4});
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 5; ++col)
      ((row + col) % 2 ? green : red)
          ->DrawAt(64.0f + col * 47, 70.0f + row * 64, 1, 1, 1, kBlendNormal);
  for (int col = 0; col < 3; ++col)
    red->DrawAt(110.0f + col * 47 - 4, 102.0f - 4, 1, 1, 1, kBlendNormal);
  // A selected tile: tinted and half transparent, mirrored.
  TDrawParams selected;
  selected.x = 340, selected.y = 80;
  selected.red = 1, selected.green = 0.8f, selected.blue = 0.3f;
  selected.alpha = 0.6f;
  selected.flags = kDrawMirrorX;
  green->Draw(selected);
  glow->DrawAt(340, 80, 1.5f, 1.5f, 1, kBlendAdditive);
  // The render-target picture and the cursor.
  picture->DrawAt(90, 250, 1, 1, 1, kBlendNormal);
  cursor->DrawAt(300 + 16, 200 + 16, 1, 1, 1, kBlendNormal);
  r.End2d();
  r.EndDraw(true);

  std::filesystem::path folder = std::filesystem::path(MC_BIN_DIR).parent_path() / "test-output";
  std::filesystem::create_directories(folder);
  std::filesystem::path file = folder / "composed_frame.png";
  ASSERT_TRUE(screen->SavePng(file.string()));

  // The written file decodes to the frame that was drawn.
  TPixelImage frame, written;
  ASSERT_TRUE(screen->ReadFrame(&frame));
  std::vector<uint8_t> bytes;
  {
    FILE* in = std::fopen(file.string().c_str(), "rb");
    ASSERT_NE(in, nullptr);
    uint8_t chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
      bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(in);
  }
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), &written));
  EXPECT_EQ(written.pixels, frame.pixels);

  EXPECT_TRUE(ColorNear(frame.At(2, 1), 0xFF102040u, 3));    // backdrop top
  EXPECT_TRUE(ColorNear(frame.At(2, 298), 0xFF207070u, 3));  // backdrop bottom
  EXPECT_TRUE(ColorNear(frame.At(64, 70), 0xFFC0282Cu, 2));  // a red disc, lower layer
  EXPECT_TRUE(ColorNear(frame.At(64, 85), 0xFFF4EBD2u, 2));  // its ivory face
  // Transparent tile corner shows the shadowed backdrop (half the backdrop's colour).
  uint32_t corner = frame.At(41, 38 + 1);
  EXPECT_LT((corner >> 16) & 0xFF, 0x20u);
  // Cursor: black tip at its top-left, white inside, backdrop beside it.
  EXPECT_EQ(frame.At(300, 200), 0xFF000000u);
  EXPECT_EQ(frame.At(302, 210), 0xFFFFFFFFu);
  // The render-target picture: middle tile green disc at (26 + 40, 250).
  EXPECT_TRUE(ColorNear(frame.At(90 - 64 + 64, 250), 0xFF2C8C3Cu, 2));
}

TEST(SystemCursorTest, ArrowWithOutlineOnTransparency) {
  std::vector<uint32_t> pixels = SystemCursorPixels();
  ASSERT_EQ(pixels.size(), 32u * 32u);
  EXPECT_EQ(pixels[0], 0xFF000000u);            // the hotspot pixel
  EXPECT_EQ(pixels[10 * 32 + 3], 0xFFFFFFFFu);  // inside
  EXPECT_EQ(pixels[10 * 32 + 0], 0xFF000000u);  // left edge
  EXPECT_EQ(pixels[5 * 32 + 20], 0u);           // right of the arrow
  EXPECT_EQ(pixels[31 * 32 + 31], 0u);
  TPixelImage decoded;
  const std::vector<uint8_t>& png = SystemCursorPng();
  ASSERT_TRUE(DecodePng(png.data(), png.size(), &decoded));
  EXPECT_EQ(decoded.pixels, pixels);
}

}  // namespace

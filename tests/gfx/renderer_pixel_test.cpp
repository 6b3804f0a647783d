// Pixel tests on real offscreen frames (EGL, Mesa's software renderer).
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/renderer.h"
#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "platform/gl/gl_device.h"
#include "tests/gfx/test_support.h"

namespace {

TVertexColored V(float x, float y, uint32_t color, float u = 0, float v = 0) {
  return TVertexColored{x, y, 0.1f, 0.5f, color, 0xFF000000u, u, v};
}

class RendererPixelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = TOffscreenScreen::Create(200, 100);
    ASSERT_NE(screen, nullptr) << "no offscreen OpenGL context";
  }
  TRenderer& R() { return screen->Renderer(); }
  TPixelImage Frame() {
    TPixelImage frame;
    EXPECT_TRUE(screen->ReadFrame(&frame));
    return frame;
  }
  std::unique_ptr<TOffscreenScreen> screen;
};

TEST_F(RendererPixelTest, QuadCoversTheViewportExactly) {
  ASSERT_TRUE(R().BeginDraw(true));
  ASSERT_TRUE(R().SetViewport(TRect{10, 20, 110, 70}));
  R().Begin2d();
  FillRect(R(), 0, 0, 100, 50, 0xFFFFFFFFu);
  R().End2d();
  R().EndDraw(true);
  TPixelImage frame = Frame();
  ASSERT_EQ(frame.width, 200);
  ASSERT_EQ(frame.height, 100);
  int wrong = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) {
      bool inside = x >= 10 && x < 110 && y >= 20 && y < 70;
      if (frame.At(x, y) != (inside ? 0xFFFFFFFFu : 0xFF000000u)) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
}

TEST_F(RendererPixelTest, TexelCentresFallOnPixelCentres) {
  auto source = std::make_shared<TMemorySource>();
  // 8 x 8 picture with a different colour in every texel.
  source->files["checker.png"] = PngBytes(MakeImage(
      8, 8, [](int x, int y) { return 0xFF000000u | (x * 30) << 16 | (y * 30) << 8 | 0x40; }));
  auto texture = LoadTexture(source, "checker.png", 0);
  ASSERT_NE(texture, nullptr);
  for (int filter : {kFilterPoint, kFilterBilinear}) {
    R().BeginDraw(true);
    R().Begin2d();
    R().SetTextureFilter(filter);
    texture->DrawAt(4, 4, 1, 1, 1, kBlendOpaque);  // centred: covers (0, 0)..(8, 8)
    R().End2d();
    R().EndDraw(true);
    TPixelImage frame = Frame();
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        ASSERT_TRUE(
            ColorNear(frame.At(x, y), 0xFF000000u | (x * 30) << 16 | (y * 30) << 8 | 0x40, 0))
            << "filter " << filter << " at " << x << ", " << y;
    EXPECT_EQ(frame.At(8, 0), 0xFF000000u);
    EXPECT_EQ(frame.At(0, 8), 0xFF000000u);
  }
}

struct BlendCase {
  int mode;
  const char* name;
};

// Destination (0.2, 0.4, 0.6) under source (0.8, 0.6, 0.4) with alpha 0.5.
uint32_t ExpectedScreenBlend(int mode) {
  const float dst[3] = {0.2f, 0.4f, 0.6f}, src[3] = {0.8f, 0.6f, 0.4f};
  const float a = 128 / 255.0f;
  float out[3];
  for (int i = 0; i < 3; ++i) {
    float s = std::floor(src[i] * 255) / 255, d = std::floor(dst[i] * 255) / 255;
    switch (mode) {
      case kBlendNormal:
        out[i] = s * a + d * (1 - a);
        break;
      case kBlendOpaque:
        out[i] = s;
        break;
      case kBlendAdditive:
        out[i] = s * a + d;
        break;
      case kBlendSubtractive:
        out[i] = d * (1 - s);
        break;
      default:
        out[i] = d * s;
        break;
    }
  }
  return PackArgb(out[0] + 0.5f / 255, out[1] + 0.5f / 255, out[2] + 0.5f / 255, 1);
}

TEST_F(RendererPixelTest, EveryBlendModeGivesTheTableColours) {
  for (int mode = kBlendNormal; mode <= kBlendMultiply; ++mode) {
    R().BeginDraw(true);
    R().Begin2d();
    R().SetBlendMode(kBlendOpaque);
    FillRect(R(), 0, 0, 200, 100, PackArgb(0.2f, 0.4f, 0.6f, 1));
    R().SetBlendMode(mode);
    FillRect(R(), 50, 25, 150, 75, PackArgb(0.8f, 0.6f, 0.4f, 128 / 255.0f));
    R().End2d();
    R().EndDraw(true);
    TPixelImage frame = Frame();
    EXPECT_TRUE(ColorNear(frame.At(100, 50), ExpectedScreenBlend(mode))) << "mode " << mode;
    EXPECT_TRUE(ColorNear(frame.At(10, 10), PackArgb(0.2f, 0.4f, 0.6f, 1))) << "mode " << mode;
  }
}

TEST_F(RendererPixelTest, NormalAndSubtractiveIntoAlphaTargetsUseTheirVariants) {
  auto target = CreateTexture(64, 64, true);
  ASSERT_NE(target, nullptr);
  TTextureData* data = target->Data();
  ASSERT_TRUE(R().BeginDraw(true));
  ASSERT_TRUE(R().SetRenderTarget(data));
  EXPECT_EQ(R().Viewport(), (TRect{0, 0, 64, 64}));
  R().Begin2d();
  R().SetBlendMode(kBlendOpaque);
  FillRect(R(), 0, 0, 64, 64, 0x40204060u);  // alpha 0x40 kept in the target
  R().SetBlendMode(kBlendNormal);            // source * source alpha + destination
  FillRect(R(), 0, 0, 32, 64, 0x80402010u);
  R().SetBlendMode(kBlendSubtractive);  // source + destination in such targets
  FillRect(R(), 32, 0, 64, 64, 0x10101010u);
  R().End2d();
  R().SetRenderTarget(nullptr);
  R().EndDraw(true);

  std::vector<uint32_t> pixels(64 * 64);
  ASSERT_TRUE(screen->Device().ReadPixels(data->Surface(), TRect{0, 0, 64, 64}, pixels.data()));
  const float a = 128 / 255.0f;
  uint32_t normal = 0;
  {
    float d[4] = {0x40 / 255.f, 0x20 / 255.f, 0x40 / 255.f, 0x60 / 255.f};  // a, r, g, b
    float s[4] = {a, 0x40 / 255.f, 0x20 / 255.f, 0x10 / 255.f};
    float o[4];
    for (int i = 0; i < 4; ++i) o[i] = s[i] * a + d[i];
    normal = PackArgb(o[1] + 0.002f, o[2] + 0.002f, o[3] + 0.002f, o[0] + 0.002f);
  }
  EXPECT_TRUE(ColorNear(pixels[10 * 64 + 10], normal));
  EXPECT_TRUE(ColorNear(pixels[10 * 64 + 50], 0x50305070u));
  // Back on the screen the viewport is the whole screen again.
  EXPECT_EQ(R().Viewport(), (TRect{0, 0, 200, 100}));
}

TEST_F(RendererPixelTest, MirroringAndSourceRectangles) {
  auto source = std::make_shared<TMemorySource>();
  // Quadrants: red, green / blue, white.
  source->files["quads.png"] = PngBytes(MakeImage(32, 32, [](int x, int y) {
    if (y < 16) return x < 16 ? 0xFFFF0000u : 0xFF00FF00u;
    return x < 16 ? 0xFF0000FFu : 0xFFFFFFFFu;
  }));
  auto texture = LoadTexture(source, "quads.png", 0);
  ASSERT_NE(texture, nullptr);
  R().BeginDraw(true);
  R().Begin2d();
  R().SetTextureFilter(kFilterPoint);
  TDrawParams drawing;
  drawing.x = 16, drawing.y = 16;
  texture->Draw(drawing);
  drawing.x = 66, drawing.flags = kDrawMirrorX;
  texture->Draw(drawing);
  drawing.x = 116, drawing.flags = kDrawMirrorY;
  texture->Draw(drawing);
  drawing.x = 158, drawing.y = 8, drawing.flags = kDrawSourceRect;
  drawing.source = TRect{0, 0, 16, 16};
  texture->Draw(drawing);
  R().End2d();
  R().EndDraw(true);
  TPixelImage f = Frame();
  // Plain.
  EXPECT_EQ(f.At(4, 4), 0xFFFF0000u);
  EXPECT_EQ(f.At(28, 4), 0xFF00FF00u);
  EXPECT_EQ(f.At(4, 28), 0xFF0000FFu);
  // Left to right.
  EXPECT_EQ(f.At(54, 4), 0xFF00FF00u);
  EXPECT_EQ(f.At(78, 4), 0xFFFF0000u);
  EXPECT_EQ(f.At(54, 28), 0xFFFFFFFFu);
  // Top to bottom.
  EXPECT_EQ(f.At(104, 4), 0xFF0000FFu);
  EXPECT_EQ(f.At(104, 28), 0xFFFF0000u);
  // Only the top-left quarter, 16 x 16 pixels at (150, 0).
  EXPECT_EQ(f.At(150, 0), 0xFFFF0000u);
  EXPECT_EQ(f.At(165, 15), 0xFFFF0000u);
  EXPECT_EQ(f.At(166, 15), 0xFF000000u);
  EXPECT_EQ(f.At(165, 16), 0xFF000000u);
}

TEST_F(RendererPixelTest, ColourAlphaAndTransformOfTheDrawingSpecification) {
  auto source = std::make_shared<TMemorySource>();
  source->files["white.png"] = PngBytes(MakeImage(10, 10, [](int, int) { return 0xFFFFFFFFu; }));
  auto texture = LoadTexture(source, "white.png", 0);
  ASSERT_NE(texture, nullptr);
  R().BeginDraw(true);
  R().Begin2d();
  TDrawParams drawing;
  drawing.x = 50, drawing.y = 50;
  drawing.red = 1, drawing.green = 0.5f, drawing.blue = 0;
  drawing.alpha = 0.5f;
  drawing.flags = kDrawTransform;
  drawing.transform.a = 4;  // 40 x 20 pixels
  drawing.transform.d = 2;
  texture->Draw(drawing);
  R().End2d();
  R().EndDraw(true);
  TPixelImage f = Frame();
  EXPECT_TRUE(ColorNear(f.At(50, 50), 0xFF7F3F00u, 2));
  EXPECT_TRUE(ColorNear(f.At(31, 41), 0xFF7F3F00u, 2));
  EXPECT_EQ(f.At(29, 50), 0xFF000000u);
  EXPECT_EQ(f.At(50, 39), 0xFF000000u);
  EXPECT_EQ(f.At(70, 50), 0xFF000000u);
}

TEST_F(RendererPixelTest, ScissorClipsAndKeepsViewportCoordinates) {
  R().BeginDraw(true);
  R().SetViewport(TRect{20, 20, 120, 80});
  R().SetScissor(TRect{50, 0, 200, 100});
  R().Begin2d();
  FillRect(R(), 0, 0, 100, 60, 0xFFFFFFFFu);
  R().End2d();
  R().ResetScissor();
  R().EndDraw(true);
  TPixelImage f = Frame();
  EXPECT_EQ(f.At(49, 50), 0xFF000000u);  // inside the viewport, outside the scissor
  EXPECT_EQ(f.At(50, 20), 0xFFFFFFFFu);
  EXPECT_EQ(f.At(119, 79), 0xFFFFFFFFu);
  EXPECT_EQ(f.At(120, 50), 0xFF000000u);
}

TEST_F(RendererPixelTest, StateMachineMisuseIsLoggedAndHarmless) {
  TLogCapture log;
  ASSERT_TRUE(R().BeginDraw(true));
  TVertexColored quad[4] = {V(0, 0, ~0u), V(200, 0, ~0u), V(200, 100, ~0u), V(0, 100, ~0u)};
  EXPECT_FALSE(R().DrawVertices(kTriangleFan, TVertexArray{kVertex2d, quad, 4}));
  uint16_t indices[6] = {0, 1, 2, 0, 2, 3};
  EXPECT_FALSE(
      R().DrawIndexedVertices(kTriangleList, TVertexArray{kVertex2d, quad, 4}, indices, 6));
  EXPECT_FALSE(R().End2d());
  EXPECT_FALSE(R().End3d());
  EXPECT_TRUE(R().Begin2d());
  EXPECT_FALSE(R().Begin2d());
  EXPECT_FALSE(R().Begin3d());
  EXPECT_TRUE(R().In2d());
  EXPECT_FALSE(R().In3d());
  // Indices past the end of the vertex array are refused, not read.
  uint16_t bad[3] = {0, 1, 9};
  EXPECT_FALSE(R().DrawIndexedVertices(kTriangleList, TVertexArray{kVertex2d, quad, 4}, bad, 3));
  EXPECT_TRUE(R().End2d());
  EXPECT_TRUE(R().Begin3d());
  EXPECT_FALSE(R().Begin3d());
  EXPECT_FALSE(R().Begin2d());
  EXPECT_TRUE(R().End3d());
  R().EndDraw(true);
  EXPECT_EQ(Frame().At(100, 50), 0xFF000000u);  // nothing was drawn
  EXPECT_TRUE(log.Contains("DrawVertices called when not in Begin2d or Begin3d state"));
  EXPECT_TRUE(log.Contains("DrawIndexedVertices called when not in Begin2d or Begin3d state"));
  EXPECT_TRUE(log.Contains("End2d called when not in Begin2d state"));
  EXPECT_TRUE(log.Contains("End3d called when not in Begin3d state"));
  EXPECT_TRUE(log.Contains("Begin2d called when already in Begin2d state"));
  EXPECT_TRUE(log.Contains("Begin3d called when already in Begin2d state"));
  EXPECT_TRUE(log.Contains("Begin3d called when already in Begin3d state"));
  EXPECT_TRUE(log.Contains("Begin2d called when already in Begin3d state"));
}

TEST_F(RendererPixelTest, BadViewportKeepsThePreviousOne) {
  TLogCapture log;
  ASSERT_TRUE(R().SetViewport(TRect{5, 5, 50, 50}));
  EXPECT_FALSE(R().SetViewport(TRect{0, 0, 5000, 10}));
  EXPECT_FALSE(R().SetViewport(TRect{30, 30, 10, 10}));
  EXPECT_EQ(R().Viewport(), (TRect{5, 5, 50, 50}));
  EXPECT_TRUE(log.Contains("Bad viewport: 0, 0, 5000, 10"));
  EXPECT_TRUE(log.Contains("Bad viewport: 30, 30, 10, 10"));
}

TEST_F(RendererPixelTest, SameTextureDrawsAreBatchedIntoOneDeviceCall) {
  auto source = std::make_shared<TMemorySource>();
  source->files["a.png"] = PngBytes(MakeImage(47, 64, [](int, int) { return 0xFFFF0000u; }));
  source->files["b.png"] = PngBytes(MakeImage(47, 64, [](int, int) { return 0xFF00FF00u; }));
  auto a = LoadTexture(source, "a.png", 0);
  auto b = LoadTexture(source, "b.png", 0);
  ASSERT_TRUE(a && b);
  R().BeginDraw(true);
  R().Begin2d();
  int before = R().DrawCalls();
  for (int i = 0; i < 150; ++i) a->DrawAt(static_cast<float>(i % 15) * 12, 30, 1, 1, 1, -1);
  R().End2d();
  EXPECT_EQ(R().DrawCalls() - before, 1);
  R().Begin2d();
  before = R().DrawCalls();
  for (int i = 0; i < 10; ++i) (i % 2 ? a : b)->DrawAt(static_cast<float>(i) * 20, 30, 1, 1, 1, -1);
  R().End2d();
  EXPECT_EQ(R().DrawCalls() - before, 10);  // order matters: each switch is a new batch
  R().EndDraw(true);
  TPixelImage f = Frame();
  // Later draws cover earlier ones: x 140 was last covered by i = 8 (b), x 185 by i = 9 (a).
  EXPECT_EQ(f.At(140, 30), 0xFF00FF00u);
  EXPECT_EQ(f.At(185, 30), 0xFFFF0000u);
}

TEST_F(RendererPixelTest, OutOfVideoMemoryEntersLowMemoryModeOnce) {
  TLogCapture log;
  int writes = 0;
  R().SetLowMemoryWriter([&] { ++writes; });
  screen->Device().SimulateOutOfMemory(true);
  EXPECT_EQ(CreateTexture(32, 32, true), nullptr);
  EXPECT_EQ(CreateTexture(32, 32, true), nullptr);
  EXPECT_TRUE(R().IsBroken());
  EXPECT_TRUE(R().LowVideoMemory());
  EXPECT_EQ(R().ColorBits(), 16);
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(log.Count("OutOfVideoMemory triggered!"), 1);
  EXPECT_TRUE(log.Contains("Out of Memory in 32 bit mode. Tagging to restart."));
  EXPECT_FALSE(R().BeginDraw(true));  // frames are skipped while broken
  R().RestoreAssets();
  EXPECT_TRUE(log.Contains("RestoreAssets: DX broken"));
  screen->Device().SimulateOutOfMemory(false);
  EXPECT_TRUE(R().Restore());
  EXPECT_TRUE(R().BeginDraw(true));
  R().EndDraw(true);
}

TEST_F(RendererPixelTest, DrawingOutOfVideoMemoryIsLoggedAndBreaksTheDevice) {
  TLogCapture log;
  int writes = 0;
  R().SetLowMemoryWriter([&] { ++writes; });
  ASSERT_TRUE(R().BeginDraw(true));
  R().Begin2d();
  screen->Device().SimulateOutOfMemory(true);
  FillRect(R(), 0, 0, 10, 10, 0xFFFFFFFFu);
  R().End2d();  // the batch reaches the device here
  EXPECT_TRUE(log.Contains("DrawVertices out of video memory"));
  EXPECT_TRUE(log.Contains("OutOfVideoMemory triggered!"));
  EXPECT_TRUE(R().IsBroken());
  EXPECT_EQ(writes, 1);
  // Further drawing is dropped while broken, without more messages.
  R().Begin2d();
  TVertexColored quad[4] = {V(0, 0, ~0u), V(9, 0, ~0u), V(9, 9, ~0u), V(0, 9, ~0u)};
  EXPECT_FALSE(R().DrawVertices(kTriangleFan, TVertexArray{kVertex2d, quad, 4}));
  R().End2d();
  R().EndDraw(true);
  EXPECT_EQ(log.Count("OutOfVideoMemory triggered!"), 1);
  screen->Device().SimulateOutOfMemory(false);
}

TEST_F(RendererPixelTest, CopyRectCopiesClippedPixelsBetweenTextures) {
  auto source = std::make_shared<TMemorySource>();
  source->files["src.png"] =
      PngBytes(MakeImage(20, 10, [](int x, int) { return x < 10 ? 0xFFFF0000u : 0xFF0000FFu; }));
  auto from = LoadTexture(source, "src.png", 0);
  auto to = CreateTexture(32, 32, true);
  ASSERT_TRUE(from && to);
  // Negative left/top become 0; right is cut to the image width.
  EXPECT_TRUE(from->CopyRect(4, 6, TRect{-5, -5, 40, 10}, *to));
  std::vector<uint32_t> pixels(32 * 32);
  ASSERT_TRUE(
      screen->Device().ReadPixels(to->Data()->Surface(), TRect{0, 0, 32, 32}, pixels.data()));
  EXPECT_EQ(pixels[6 * 32 + 4], 0xFFFF0000u);
  EXPECT_EQ(pixels[6 * 32 + 23], 0xFF0000FFu);
  EXPECT_EQ(pixels[15 * 32 + 23], 0xFF0000FFu);
  EXPECT_EQ(pixels[6 * 32 + 24], 0x00000000u);
  EXPECT_EQ(pixels[16 * 32 + 4], 0x00000000u);
  EXPECT_EQ(pixels[5 * 32 + 4], 0x00000000u);
}

TEST_F(RendererPixelTest, RestoreAssetsRebuildsTexturesOnANewDevice) {
  auto source = std::make_shared<TMemorySource>();
  source->files["tile.png"] = PngBytes(MakeImage(16, 16, [](int, int) { return 0xFF3366CCu; }));
  auto texture = LoadTexture(source, "tile.png", 0);
  ASSERT_NE(texture, nullptr);
  int redraws = 0;
  R().AddRestoreListener([&] { ++redraws; });
  // A change of display mode: a new device replaces the old one.
  auto device = TGlDevice::Create(100, 80, nullptr);
  ASSERT_NE(device, nullptr);
  R().SetDevice(device.get());
  EXPECT_EQ(R().ScreenWidth(), 100);
  R().RestoreAssets();
  EXPECT_EQ(redraws, 1);
  R().BeginDraw(true);
  R().Begin2d();
  texture->DrawAt(8, 8, 1, 1, 1, -1);
  R().End2d();
  R().EndDraw(true);
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  ASSERT_TRUE(R().ReadFrame(&pixels, &w, &h));
  EXPECT_EQ(w, 100);
  EXPECT_EQ(pixels[4 * 100 + 4], 0xFF3366CCu);
  texture.reset();
  R().SetDevice(&screen->Device());
}

TEST_F(RendererPixelTest, RestoreOfAVanishedFileLeavesTheTextureEmpty) {
  TLogCapture log;
  auto source = std::make_shared<TMemorySource>();
  source->files["gone.png"] = PngBytes(MakeImage(4, 4, [](int, int) { return 0xFFFFFFFFu; }));
  source->files["broken.png"] = source->files["gone.png"];
  auto gone = LoadTexture(source, "gone", 0);
  auto broken = LoadTexture(source, "broken.png", 0);
  ASSERT_TRUE(gone && broken);
  source->files.erase("gone.png");
  gone->Restore();
  EXPECT_TRUE(log.Contains("TDxTextureData::Restore: Failed to restore from file gone."));
  EXPECT_FALSE(gone->Data()->Usable());
  EXPECT_FALSE(R().IsBroken());
  // A file that still exists but fails now: the restore is tried again later.
  source->files["broken.png"] = {1, 2, 3};
  broken->Restore();
  EXPECT_TRUE(R().IsBroken());
  // Drawing a texture without a surface does nothing.
  broken.reset();
  EXPECT_TRUE(R().Restore());
  R().BeginDraw(true);
  R().Begin2d();
  gone->DrawAt(2, 2, 1, 1, 1, -1);
  R().End2d();
  R().EndDraw(true);
  EXPECT_EQ(Frame().At(2, 2), 0xFF000000u);
}

}  // namespace

namespace {

TEST_F(RendererPixelTest, PreTransformedFlatShadedAndCulledGeometry) {
  R().BeginDraw(true);
  R().Begin2d();
  R().SetTexture(0);
  // Kind 3: already in target pixels.
  uint32_t white = 0xFFFFFFFFu;
  TVertexTransformed screenQuad[4] = {{10, 10, 0.5f, 1, white, 0xFF000000u, 0, 0},
                                      {30, 10, 0.5f, 1, white, 0xFF000000u, 0, 0},
                                      {30, 30, 0.5f, 1, white, 0xFF000000u, 0, 0},
                                      {10, 30, 0.5f, 1, white, 0xFF000000u, 0, 0}};
  R().DrawVertices(kTriangleFan, TVertexArray{kVertexTransformed, screenQuad, 4});
  // Flat shading: the whole triangle takes its first vertex's colour.
  R().SetShading(1);
  TVertexColored flat[3] = {V(40, 10, 0xFFFF0000u), V(80, 10, 0xFF00FF00u), V(40, 50, 0xFF0000FFu)};
  R().DrawVertices(kTriangleList, TVertexArray{kVertex2d, flat, 3});
  R().SetShading(2);
  // Counter-clockwise culling (as seen on the screen, y downward) keeps clockwise triangles.
  R().SetCulling(kCullCounterClockwise);
  TVertexColored clockwise[3] = {V(100, 10, white), V(140, 10, white), V(100, 50, white)};
  TVertexColored counter[3] = {V(150, 10, white), V(150, 50, white), V(190, 10, white)};
  R().DrawVertices(kTriangleList, TVertexArray{kVertex2d, clockwise, 3});
  R().DrawVertices(kTriangleList, TVertexArray{kVertex2d, counter, 3});
  R().End2d();
  R().EndDraw(true);
  TPixelImage f = Frame();
  EXPECT_EQ(f.At(9, 20), 0xFF000000u);
  EXPECT_EQ(f.At(10, 10), white);
  EXPECT_EQ(f.At(29, 29), white);
  EXPECT_EQ(f.At(30, 20), 0xFF000000u);
  EXPECT_EQ(f.At(45, 15), 0xFFFF0000u);
  EXPECT_EQ(f.At(70, 12), 0xFFFF0000u);
  EXPECT_EQ(f.At(105, 15), white);
  EXPECT_EQ(f.At(155, 15), 0xFF000000u);
}

TEST_F(RendererPixelTest, LitGeometryWithDepthTestIn3d) {
  R().BeginDraw(true);
  ASSERT_TRUE(R().Begin3d());
  R().SetCulling(kCullNone);
  R().SetTexture(0);
  R().SetProjectionMatrix(OrthoOffCenterLH(-1, 1, -1, 1, 0.1f, 10));
  R().SetAmbientLight(0xFF808080u);
  TMaterial near;
  near.diffuse[0] = 1, near.diffuse[1] = 0.5f, near.diffuse[2] = 0;
  // The nearer triangle first; the farther one drawn afterwards is hidden by the depth test.
  auto triangle = [](float z) {
    std::vector<TVertexLit> v = {
        {-1, 1, z, 0, 0, -1, 0, 0}, {1, 1, z, 0, 0, -1, 0, 0}, {-1, -1, z, 0, 0, -1, 0, 0}};
    return v;
  };
  auto nearTriangle = triangle(1), farTriangle = triangle(5);
  R().SetMaterial(near);
  R().DrawVertices(kTriangleList, TVertexArray{kVertexLit, nearTriangle.data(), 3});
  TMaterial far;
  far.diffuse[0] = 0, far.diffuse[1] = 0, far.diffuse[2] = 1;
  R().SetMaterial(far);
  R().DrawVertices(kTriangleList, TVertexArray{kVertexLit, farTriangle.data(), 3});
  R().End3d();
  R().EndDraw(true);
  TPixelImage f = Frame();
  // Ambient (0.5) times the material's diffuse colour.
  EXPECT_TRUE(ColorNear(f.At(20, 20), 0xFF804000u, 2));
  EXPECT_EQ(f.At(190, 90), 0xFF000000u);  // outside the triangle
}

}  // namespace

// Batching across viewports and clips (a window walk: every window is a viewport of its own
// and a 2D bracket of its own): what lies inside its viewport joins one screen-space batch,
// what the viewport must clip is drawn clipped, and the pixels are those of drawing every
// window on its own. Real offscreen frames (EGL, Mesa's software renderer).
#include <gtest/gtest.h>

#include "gfx/renderer.h"
#include "gfx/texture.h"
#include "gfx/texture_data.h"
#include "platform/egl/offscreen_screen.h"
#include "tests/gfx/test_support.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlack = 0xFF000000u;

class ViewportBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = TOffscreenScreen::Create(200, 100);
    ASSERT_NE(screen, nullptr) << "no offscreen OpenGL context";
    auto source = std::make_shared<TMemorySource>();
    // A picture with a different colour in every texel, so that any shift shows.
    source->files["tile.png"] = PngBytes(MakeImage(
        12, 16, [](int x, int y) { return 0xFF000000u | (x * 20) << 16 | (y * 15) << 8 | 0x80; }));
    tile = LoadTexture(source, "tile.png", 0);
    ASSERT_NE(tile, nullptr);
  }
  TRenderer& R() { return screen->Renderer(); }
  TPixelImage Frame() {
    TPixelImage frame;
    EXPECT_TRUE(screen->ReadFrame(&frame));
    return frame;
  }
  // Windows at `count` places, each its own viewport, clip and 2D bracket, drawing the tile
  // at (x, y) of itself scaled by `scale`; answers the device calls the frame took.
  int DrawWindows(bool held, int count, float x, float y, float scale) {
    const int before = R().DrawCalls();
    R().BeginDraw(true);
    {
      std::unique_ptr<TBatchHold> hold;
      if (held) hold = std::make_unique<TBatchHold>(&R());
      for (int i = 0; i < count; ++i) {
        const TRect window{10 + 14 * i, 20 + (i % 3) * 5, 10 + 14 * i + 12, 20 + (i % 3) * 5 + 16};
        R().SetViewport(window);
        R().SetScissor(window);
        R().Begin2d();
        tile->DrawAt(x, y, scale, scale, 1, -1);
        R().End2d();
      }
      R().ResetScissor();
      R().SetViewport(R().FullScreen());
    }
    R().EndDraw(true);
    return R().DrawCalls() - before;
  }
  std::unique_ptr<TOffscreenScreen> screen;
  std::shared_ptr<TTexture> tile;
};

TEST_F(ViewportBatchTest, WindowsInsideTheirViewportsShareOneBatchWithTheSamePixels) {
  // Unheld: every bracket ends its batch.
  EXPECT_EQ(DrawWindows(false, 12, 6, 8, 1), 12);
  const TPixelImage apart = Frame();
  EXPECT_EQ(DrawWindows(true, 12, 6, 8, 1), 1);
  const TPixelImage together = Frame();
  ASSERT_EQ(apart.pixels.size(), together.pixels.size());
  EXPECT_EQ(apart.pixels, together.pixels);
  // The texels landed where the windows are: texel (3, 5) of the second window.
  EXPECT_EQ(together.At(24 + 3, 25 + 5), 0xFF000000u | 60 << 16 | 75 << 8 | 0x80);
  // Scaled down inside the window (as tile faces are): still one batch, the same pixels.
  EXPECT_EQ(DrawWindows(false, 12, 6.3f, 7.7f, 0.7333f), 12);
  const TPixelImage scaledApart = Frame();
  EXPECT_EQ(DrawWindows(true, 12, 6.3f, 7.7f, 0.7333f), 1);
  EXPECT_EQ(scaledApart.pixels, Frame().pixels);
}

TEST_F(ViewportBatchTest, WhatTheClipMustCutIsStillCut) {
  // The tile drawn 4 pixels right of each window's centre sticks out of it: each window
  // clips its own, whether held or not.
  for (bool held : {false, true}) {
    DrawWindows(held, 3, 10, 8, 1);
    const TPixelImage frame = Frame();
    // Window 0 spans x 10..22 (y 20..36); window 1 x 24..36 (y 25..41). Their tiles would
    // reach 4 pixels further right; the columns 22..23 between them stay black.
    for (int y = 20; y < 36; ++y) {
      EXPECT_EQ(frame.At(22, y), kBlack) << "held " << held << " y " << y;
      EXPECT_EQ(frame.At(23, y), kBlack) << "held " << held << " y " << y;
    }
    EXPECT_NE(frame.At(21, 28), kBlack) << held;
  }
}

TEST_F(ViewportBatchTest, PendingTrianglesAreDrawnBeforeAPictureChanges) {
  auto source = std::make_shared<TMemorySource>();
  source->files["red.png"] = PngBytes(MakeImage(8, 8, [](int, int) { return kRed; }));
  auto picture = LoadTexture(source, "red.png", 0);
  ASSERT_NE(picture, nullptr);
  R().BeginDraw(true);
  {
    TBatchHold hold(&R());
    R().Begin2d();
    picture->DrawAt(4, 4, 1, 1, 1, -1);  // pending, red
    R().End2d();
    // The picture turns green in the middle of the walk: the red quad was drawn first.
    TPixelBuffer green;
    ASSERT_TRUE(
        BuildPixelBuffer(MakeImage(8, 8, [](int, int) { return kGreen; }), nullptr, &green));
    ASSERT_TRUE(picture->Data()->Upload(green));
    R().Begin2d();
    picture->DrawAt(14, 4, 1, 1, 1, -1);
    R().End2d();
  }
  R().EndDraw(true);
  const TPixelImage frame = Frame();
  EXPECT_EQ(frame.At(4, 4), kRed);
  EXPECT_EQ(frame.At(14, 4), kGreen);
}

TEST_F(ViewportBatchTest, AHoldEndsWithEverythingDrawnAndNestsSafely) {
  R().BeginDraw(true);
  const int before = R().DrawCalls();
  R().HoldBatches();
  R().HoldBatches();
  R().Begin2d();
  tile->DrawAt(6, 8, 1, 1, 1, -1);
  R().End2d();
  R().ReleaseBatches();
  EXPECT_EQ(R().DrawCalls(), before) << "still held once";
  R().ReleaseBatches();
  EXPECT_EQ(R().DrawCalls(), before + 1);
  R().ReleaseBatches();  // one too many: nothing happens
  R().EndDraw(true);
  EXPECT_EQ(Frame().At(3, 5), 0xFF000000u | 60 << 16 | 75 << 8 | 0x80);
}

}  // namespace

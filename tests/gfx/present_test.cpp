// The frame as a window larger or smaller than the picture shows it: scaled to fit with the
// aspect kept, centred between black bars; the frame itself stays pixel-exact.
#include <gtest/gtest.h>

#include "gfx/renderer.h"
#include "platform/egl/offscreen_screen.h"
#include "platform/gl/gl_device.h"
#include "tests/gfx/test_support.h"

namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlue = 0xFF0000FFu;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

class PresentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = TOffscreenScreen::Create(800, 600);
    ASSERT_NE(screen, nullptr) << "no offscreen OpenGL context";
  }
  // Four quadrants of distinct colours, so the picture's orientation and corners show.
  void DrawQuadrants() {
    TRenderer& r = screen->Renderer();
    ASSERT_TRUE(r.BeginDraw(true));
    r.Begin2d();
    FillRect(r, 0, 0, 400, 300, kRed);
    FillRect(r, 400, 0, 800, 300, kGreen);
    FillRect(r, 0, 300, 400, 600, kBlue);
    FillRect(r, 400, 300, 800, 600, kWhite);
    r.End2d();
    r.EndDraw(true);
  }
  TPixelImage Presented(int width, int height) {
    TPixelImage image;
    EXPECT_TRUE(screen->ReadPresented(width, height, &image));
    return image;
  }
  // Counts pixels of `rect` in `image` that are not `color`.
  static int Wrong(const TPixelImage& image, TRect rect, uint32_t color) {
    int wrong = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        if (image.At(x, y) != color) ++wrong;
    return wrong;
  }
  std::unique_ptr<TOffscreenScreen> screen;
};

TEST_F(PresentTest, TallerOutputGetsBarsAboveAndBelow) {
  DrawQuadrants();
  TPixelImage out = Presented(1280, 1024);  // scale 1.6: picture 1280 x 960 at y 32
  ASSERT_EQ(out.width, 1280);
  ASSERT_EQ(out.height, 1024);
  EXPECT_EQ(Wrong(out, TRect{0, 0, 1280, 32}, kBlack), 0);
  EXPECT_EQ(Wrong(out, TRect{0, 992, 1280, 1024}, kBlack), 0);
  // The corners of the picture, right way up.
  EXPECT_EQ(out.At(0, 32), kRed);
  EXPECT_EQ(out.At(1279, 32), kGreen);
  EXPECT_EQ(out.At(0, 991), kBlue);
  EXPECT_EQ(out.At(1279, 991), kWhite);
  // Away from the quadrant borders (blended by the linear filter) every pixel is solid.
  EXPECT_EQ(Wrong(out, TRect{0, 32, 638, 510}, kRed), 0);
  EXPECT_EQ(Wrong(out, TRect{642, 32, 1280, 510}, kGreen), 0);
  EXPECT_EQ(Wrong(out, TRect{0, 514, 638, 992}, kBlue), 0);
  EXPECT_EQ(Wrong(out, TRect{642, 514, 1280, 992}, kWhite), 0);
}

TEST_F(PresentTest, WiderOutputGetsBarsLeftAndRight) {
  DrawQuadrants();
  TPixelImage out = Presented(1920, 1080);  // scale 1.8: picture 1440 x 1080 at x 240
  EXPECT_EQ(Wrong(out, TRect{0, 0, 240, 1080}, kBlack), 0);
  EXPECT_EQ(Wrong(out, TRect{1680, 0, 1920, 1080}, kBlack), 0);
  EXPECT_EQ(out.At(240, 0), kRed);
  EXPECT_EQ(out.At(1679, 0), kGreen);
  EXPECT_EQ(out.At(240, 1079), kBlue);
  EXPECT_EQ(out.At(1679, 1079), kWhite);
  EXPECT_EQ(Wrong(out, TRect{240, 0, 958, 538}, kRed), 0);
  EXPECT_EQ(Wrong(out, TRect{962, 542, 1680, 1080}, kWhite), 0);
}

TEST_F(PresentTest, SameSizeIsAnExactCopyAndSmallerHostsShrink) {
  DrawQuadrants();
  TPixelImage frame;
  ASSERT_TRUE(screen->ReadFrame(&frame));
  TPixelImage same = Presented(800, 600);
  EXPECT_EQ(same.pixels, frame.pixels);

  TPixelImage small = Presented(400, 400);  // scale 0.5: 400 x 300 at y 50
  EXPECT_EQ(Wrong(small, TRect{0, 0, 400, 50}, kBlack), 0);
  EXPECT_EQ(Wrong(small, TRect{0, 350, 400, 400}, kBlack), 0);
  EXPECT_EQ(small.At(0, 50), kRed);
  EXPECT_EQ(small.At(399, 349), kWhite);
}

TEST_F(PresentTest, PresentingLeavesTheFrameAndLaterDrawingUntouched) {
  DrawQuadrants();
  TPixelImage before;
  ASSERT_TRUE(screen->ReadFrame(&before));
  Presented(1280, 1024);
  TPixelImage after;
  ASSERT_TRUE(screen->ReadFrame(&after));
  EXPECT_EQ(after.pixels, before.pixels);

  // The next frame still uses the full 800 x 600 viewport and pixel projection.
  TRenderer& r = screen->Renderer();
  ASSERT_TRUE(r.BeginDraw(true));
  r.Begin2d();
  FillRect(r, 790, 590, 800, 600, kGreen);
  r.End2d();
  r.EndDraw(true);
  TPixelImage next;
  ASSERT_TRUE(screen->ReadFrame(&next));
  EXPECT_EQ(Wrong(next, TRect{790, 590, 800, 600}, kGreen), 0);
  EXPECT_EQ(next.At(789, 589), kBlack);
  EXPECT_EQ(next.At(0, 0), kBlack);
}

TEST_F(PresentTest, BadOutputSizesAreRefused) {
  DrawQuadrants();
  TPixelImage out;
  EXPECT_FALSE(screen->ReadPresented(0, 600, &out));
  EXPECT_FALSE(screen->ReadPresented(800, -1, &out));
  EXPECT_FALSE(screen->ReadPresented(1 << 20, 600, &out));
  EXPECT_TRUE(out.pixels.empty());
  EXPECT_FALSE(screen->ReadPresented(800, 600, nullptr));
}

}  // namespace

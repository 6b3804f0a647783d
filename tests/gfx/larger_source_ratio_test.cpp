// A larger version need not be a whole multiple of its picture: the level backgrounds are
// 480 x 360 with a 1600 x 1200 larger version (10/3), the size they are shown at on a
// 1600 x 1200 frame. Drawn on an enlarged frame, such a picture must cover exactly the place
// of the small one, with its edges where the small picture has them, whole or in part.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "tests/gfx/test_support.h"

namespace {

constexpr uint32_t kLeft = 0xFF203060u, kMiddle = 0xFFE8E0C8u, kRed = 0xFFC02020u,
                   kRight = 0xFF208040u, kLower = 0xFF101010u;

// The background at `k` pixels per unit (480 x 360 units): upright bands with edges at 60,
// 240 and 300 units, and a dark floor from 270 units down.
TPixelImage Background(float k) {
  const int width = static_cast<int>(std::lround(480 * k));
  const int height = static_cast<int>(std::lround(360 * k));
  return MakeImage(width, height, [k](int px, int py) -> uint32_t {
    const float u = (static_cast<float>(px) + 0.5f) / k, v = (static_cast<float>(py) + 0.5f) / k;
    if (v >= 270) return kLower;
    if (u < 60) return kLeft;
    if (u < 240) return kMiddle;
    if (u < 300) return kRed;
    return kRight;
  });
}

class LargerSourceRatioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = TOffscreenScreen::Create(800, 600);
    ASSERT_NE(screen, nullptr) << "no offscreen OpenGL context";
    source = std::make_shared<TMemorySource>();
    source->files["level.png"] = RgbPngBytes(Background(1));
    source->files["level_hd.png"] = RgbPngBytes(Background(10.0f / 3));
    level = LoadTexture(source, "level.png", 0);
    ASSERT_NE(level, nullptr);
  }

  // One frame on a 1920 x 1080 output (a 1440 x 1080 frame, 1.8 target pixels per logical
  // pixel) with draw() inside 2D drawing.
  TPixelImage EnlargedFrame(const std::function<void()>& draw) {
    screen->SetOutputSize(1920, 1080);
    TRenderer& r = screen->Renderer();
    EXPECT_TRUE(r.BeginDraw(true));
    r.Begin2d();
    draw();
    r.End2d();
    r.EndDraw(true);
    TPixelImage frame;
    EXPECT_TRUE(screen->ReadFrame(&frame));
    return frame;
  }

  std::unique_ptr<TOffscreenScreen> screen;
  std::shared_ptr<TMemorySource> source;
  std::shared_ptr<TTexture> level;
};

TEST_F(LargerSourceRatioTest, ANonWholeRatioCoversThePictureWithEdgesInPlace) {
  // The game shows the background at 5/3 over the whole screen: 3 frame pixels per unit.
  const TPixelImage frame =
      EnlargedFrame([&] { level->DrawAt(400, 300, 5.0f / 3, 5.0f / 3, 1, kBlendOpaque); });
  ASSERT_EQ(frame.width, 1440);
  EXPECT_NEAR(level->Data()->SourceScaleX(), 10.0f / 3, 1e-5f);
  EXPECT_NEAR(level->Data()->SourceScaleY(), 10.0f / 3, 1e-5f);
  EXPECT_EQ(level->GetWidth(), 480);
  EXPECT_EQ(level->GetHeight(), 360);

  // Each edge lies within a pixel of 3 x its unit, and the frame's corners show the
  // picture's corners (nothing of the surface beyond the picture, nothing cut off).
  const int row = 400;
  for (const auto& [edge, before, after] :
       {std::tuple{180, kLeft, kMiddle}, std::tuple{720, kMiddle, kRed},
        std::tuple{900, kRed, kRight}}) {
    EXPECT_TRUE(ColorNear(frame.At(edge - 2, row), before)) << "left of " << edge;
    EXPECT_TRUE(ColorNear(frame.At(edge + 1, row), after)) << "right of " << edge;
  }
  EXPECT_TRUE(ColorNear(frame.At(500, 808), kMiddle));
  EXPECT_TRUE(ColorNear(frame.At(500, 811), kLower));
  EXPECT_TRUE(ColorNear(frame.At(0, 0), kLeft));
  EXPECT_TRUE(ColorNear(frame.At(1439, 0), kRight));
  EXPECT_TRUE(ColorNear(frame.At(1439, 1079), kLower));

  // Sampled from 1600 pixels across, an edge blends over at most two frame pixels (the
  // 480-pixel picture enlarged three times would blend over about three).
  int blended = 0;
  for (int x = 170; x < 190; ++x) {
    const uint32_t c = frame.At(x, row);
    if (!ColorNear(c, kLeft) && !ColorNear(c, kMiddle)) ++blended;
  }
  EXPECT_LE(blended, 2);
}

TEST_F(LargerSourceRatioTest, SourceRectanglesCountUnitsOfTheSmallPicture) {
  // The right half of the picture (units 240..480) drawn at 5/3 from the screen's left edge:
  // the red band comes first and ends at 60 units, 180 frame pixels.
  const TPixelImage frame = EnlargedFrame([&] {
    TDrawParams half;
    half.x = 200;
    half.y = 300;
    half.blendMode = kBlendOpaque;
    half.flags = kDrawSourceRect | kDrawTransform;
    half.source = TRect{240, 0, 480, 360};
    half.transform.a = half.transform.d = 5.0f / 3;
    level->Draw(half);
  });
  EXPECT_TRUE(ColorNear(frame.At(1, 300), kRed));
  EXPECT_TRUE(ColorNear(frame.At(178, 300), kRed));
  EXPECT_TRUE(ColorNear(frame.At(181, 300), kRight));
  EXPECT_TRUE(ColorNear(frame.At(718, 300), kRight));
}

}  // namespace

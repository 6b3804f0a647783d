// Fitting the 800 x 600 picture into outputs of other sizes, and mapping pointer
// coordinates back and forth.
#include "frame/picture_fit.h"

#include <gtest/gtest.h>

namespace {

struct TFitCase {
  int outputWidth, outputHeight;
  float scale;
  int offsetX, offsetY, width, height;
};

TEST(PictureFitTest, ScalesToFitKeepingTheAspectAndCentres) {
  const TFitCase cases[] = {
      {800, 600, 1.0f, 0, 0, 800, 600},        // same size
      {1280, 1024, 1.6f, 0, 32, 1280, 960},    // 5:4 desktop: bars above and below
      {1920, 1080, 1.8f, 240, 0, 1440, 1080},  // 16:9 desktop: bars left and right
      {960, 720, 1.2f, 0, 0, 960, 720},        // embedded host of the same aspect
      {400, 300, 0.5f, 0, 0, 400, 300},        // smaller host
      {1000, 600, 1.0f, 100, 0, 800, 600},     // wider, unscaled
      {801, 601, 1.00125f, 0, 0, 801, 601},    // odd sizes never exceed the output
  };
  for (const TFitCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.outputWidth << " x " << c.outputHeight);
    TPictureFit fit = FitPicture(800, 600, c.outputWidth, c.outputHeight);
    EXPECT_NEAR(fit.scale, c.scale, 1e-4);
    EXPECT_EQ(fit.offsetX, c.offsetX);
    EXPECT_EQ(fit.offsetY, c.offsetY);
    EXPECT_EQ(fit.width, c.width);
    EXPECT_EQ(fit.height, c.height);
    EXPECT_LE(fit.offsetX + fit.width, c.outputWidth);
    EXPECT_LE(fit.offsetY + fit.height, c.outputHeight);
  }
}

TEST(PictureFitTest, BadSizesGiveTheUnscaledPicture) {
  for (auto [w, h] : {std::pair{0, 0}, std::pair{-5, 600}, std::pair{800, -1}}) {
    TPictureFit fit = FitPicture(800, 600, w, h);
    EXPECT_EQ(fit.scale, 1.0f);
    EXPECT_EQ(fit.offsetX, 0);
    EXPECT_EQ(fit.offsetY, 0);
    EXPECT_EQ(fit.width, 800);
    EXPECT_EQ(fit.height, 600);
  }
  TPictureFit none = FitPicture(0, 600, 1280, 1024);
  EXPECT_EQ(none.scale, 1.0f);
  EXPECT_EQ(none.width, 0);
  int x = 7, y = 7;
  none.ToPicture(10, 20, x, y);  // no division by zero
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 20);
}

TEST(PictureFitTest, PointerCoordinatesMapIntoThePicture) {
  TPictureFit fit = FitPicture(800, 600, 1280, 1024);  // scale 1.6, picture at y 32..991
  int x = 0, y = 0;
  fit.ToPicture(0, 32, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  fit.ToPicture(1279, 991, x, y);
  EXPECT_EQ(x, 799);
  EXPECT_EQ(y, 599);
  fit.ToPicture(640, 512, x, y);  // the centre of the output is the centre of the picture
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, 300);
  fit.ToPicture(10, 31, x, y);  // in the top bar: above the picture
  EXPECT_LT(y, 0);
  fit.ToPicture(10, 992, x, y);  // in the bottom bar: below it
  EXPECT_GE(y, 600);

  TPictureFit wide = FitPicture(800, 600, 1920, 1080);  // scale 1.8, picture at x 240..1679
  wide.ToPicture(239, 0, x, y);
  EXPECT_LT(x, 0);
  wide.ToPicture(240, 1079, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 599);
  wide.ToPicture(1680, 0, x, y);
  EXPECT_GE(x, 800);
}

TEST(PictureFitTest, WarpedPointerLandsOnTheSamePicturePixel) {
  const std::pair<int, int> outputs[] = {{800, 600}, {1280, 1024}, {1920, 1080},
                                         {960, 720}, {1366, 768},  {1000, 999}};
  for (auto [w, h] : outputs) {
    TPictureFit fit = FitPicture(800, 600, w, h);
    int wrong = 0;
    for (int v = 0; v < 600; ++v) {
      int ox = 0, oy = 0, x = 0, y = 0;
      fit.ToOutput(v, v, ox, oy);
      fit.ToPicture(ox, oy, x, y);
      if (x != v || y != v) ++wrong;
    }
    EXPECT_EQ(wrong, 0) << w << " x " << h;
  }
}

}  // namespace

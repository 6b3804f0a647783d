// Frames drawn for outputs larger than the logical 800 x 600 screen: the back buffer takes the
// size the picture has there and everything is rasterised at that resolution. The large
// frames must be sharper than today's picture (the 800 x 600 frame enlarged with linear
// filtering) and show the same thing in the same place (scaled down, they match the small
// frame). Set MC_CRISP_FRAMES to a folder to get the frames as PNG files to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "frame/picture_fit.h"
#include "gfx/font_cache.h"
#include "gfx/text_layout.h"
#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "platform/gl/gl_device.h"
#include "tests/gfx/test_support.h"

namespace {

constexpr uint32_t kBackground = 0xFF3A5A78u;

// Area-averaging resampling of one axis: each output pixel is the mean of the input pixels
// (and fractions of pixels) it covers.
std::vector<float> ResampleAxis(const std::vector<float>& in, int inLength, int outLength,
                                int count, bool alongRows) {
  std::vector<float> out(static_cast<size_t>(outLength) * count);
  const double ratio = static_cast<double>(inLength) / outLength;
  for (int line = 0; line < count; ++line)
    for (int o = 0; o < outLength; ++o) {
      const double from = o * ratio, to = (o + 1) * ratio;
      double sum = 0;
      for (int i = static_cast<int>(from); i < inLength && i < to; ++i) {
        const double weight = std::min<double>(i + 1, to) - std::max<double>(i, from);
        const size_t at = alongRows ? static_cast<size_t>(line) * inLength + i
                                    : static_cast<size_t>(i) * count + line;
        sum += weight * in[at];
      }
      const size_t at = alongRows ? static_cast<size_t>(line) * outLength + o
                                  : static_cast<size_t>(o) * count + line;
      out[at] = static_cast<float>(sum / ratio);
    }
  return out;
}

// One channel (shift 16 red, 8 green, 0 blue) of `image` scaled down to width x height.
std::vector<float> Downscaled(const TPixelImage& image, int shift, int width, int height) {
  std::vector<float> channel(image.pixels.size());
  for (size_t i = 0; i < channel.size(); ++i)
    channel[i] = static_cast<float>((image.pixels[i] >> shift) & 0xFF);
  std::vector<float> rows = ResampleAxis(channel, image.width, width, image.height, true);
  return ResampleAxis(rows, image.height, height, width, false);
}

// The mean absolute difference per channel between `large` scaled down and `small`.
float MeanDifferenceDownscaled(const TPixelImage& large, const TPixelImage& small) {
  double sum = 0;
  for (int shift : {16, 8, 0}) {
    std::vector<float> down = Downscaled(large, shift, small.width, small.height);
    for (size_t i = 0; i < down.size(); ++i)
      sum += std::abs(down[i] - static_cast<float>((small.pixels[i] >> shift) & 0xFF));
  }
  return static_cast<float>(sum / (3.0 * static_cast<double>(small.pixels.size())));
}

// The centre of the ink on the light text panel inside `rect`, in that picture's pixels.
// Ink is weighed by how much darker than the panel a pixel is, which scaling keeps.
bool InkCentre(const TPixelImage& image, const TRect& rect, float* x, float* y) {
  double sx = 0, sy = 0, n = 0;
  for (int py = rect.top; py < rect.bottom; ++py)
    for (int px = rect.left; px < rect.right; ++px) {
      const float darkness = std::max(0.0f, 238 - Luminance(image.At(px, py)));
      sx += darkness * (px + 0.5);
      sy += darkness * (py + 0.5);
      n += darkness;
    }
  if (n == 0) return false;
  *x = static_cast<float>(sx / n);
  *y = static_cast<float>(sy / n);
  return true;
}

TRect Scaled(const TRect& r, float s) {
  return TRect{static_cast<int>(r.left * s), static_cast<int>(r.top * s),
               static_cast<int>(r.right * s), static_cast<int>(r.bottom * s)};
}

TPixelImage Crop(const TPixelImage& image, const TRect& r) {
  return MakeImage(r.Width(), r.Height(),
                   [&](int x, int y) { return image.At(r.left + x, r.top + y); });
}

// A tile picture `k` times 48 x 64: an ivory face inside a dark border, a red mark in the
// middle (the package's tile faces come at 48 x 64 and three times that).
TPixelImage TilePicture(int k) {
  return MakeImage(48 * k, 64 * k, [k](int px, int py) -> uint32_t {
    const float x = (static_cast<float>(px) + 0.5f) / k, y = (static_cast<float>(py) + 0.5f) / k;
    if (x < 2 || y < 2 || x >= 46 || y >= 62) return 0xFF202020u;
    if (x >= 18 && x < 30 && y >= 26 && y < 38) return 0xFFC02020u;
    return 0xFFF0E8D0u;
  });
}

// The text box, the tiles and the scissored panel of the scene, in logical pixels.
const TRect kTextBox{40, 360, 760, 460};
const TRect kTileRow{96, 96, 420, 170};
const TRect kPanel{480, 80, 720, 240};

class CrispFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = TOffscreenScreen::Create(800, 600);
    ASSERT_NE(screen, nullptr) << "no offscreen OpenGL context";
    ClearFontCache();
    source = std::make_shared<TMemorySource>();
    source->files["tile_md.png"] = PngBytes(TilePicture(1));
    source->files["tile_lg.png"] = PngBytes(TilePicture(3));
    tile = LoadTexture(source, "tile_md.png", 0);
    ASSERT_NE(tile, nullptr);
    text = std::make_unique<TTextLayout>(kBuiltinFontName, 30, 0xFF101010u, 0,
                                         static_cast<float>(kTextBox.Width()),
                                         static_cast<float>(kTextBox.Height()));
    text->SetText("Crisp at any size: 1234567890 & Co.<br>A quick brown fox jumps over");
  }
  void TearDown() override { ClearFontCache(); }

  // The same scene whatever the frame's size: logical coordinates only.
  void DrawScene() {
    TRenderer& r = screen->Renderer();
    ASSERT_TRUE(r.BeginDraw(true));
    r.Begin2d();
    FillRect(r, 0, 0, 800, 600, kBackground);
    // Tiles at whole and fractional positions.
    for (int i = 0; i < 6; ++i)
      tile->DrawAt(120.0f + static_cast<float>(i) * 52.5f, 133.0f, 1, 1, 1, kBlendNormal);
    // A light panel for the text, then the text in a window-like viewport of its own.
    FillRect(r, 30, 350, 770, 470, 0xFFF4F0E6u);
    r.End2d();
    r.SetViewport(kTextBox);
    r.Begin2d();
    text->Draw(r, 0, 0, 1, 1);
    r.End2d();
    // A clipped panel: the fill reaches beyond the scissor on every side.
    r.SetViewport(TRect{0, 0, 800, 600});
    r.SetScissor(kPanel);
    r.Begin2d();
    FillRect(r, 400, 0, 800, 300, 0xFFE0C040u);
    r.End2d();
    r.ResetScissor();
    r.EndDraw(true);
  }

  TPixelImage Frame() {
    TPixelImage frame;
    EXPECT_TRUE(screen->ReadFrame(&frame));
    return frame;
  }

  // Today's picture of an output: the 800 x 600 frame enlarged to the fitted rectangle.
  TPixelImage TodaysPicture(int outputWidth, int outputHeight) {
    screen->SetOutputSize(0, 0);
    DrawScene();
    TPixelImage presented;
    EXPECT_TRUE(screen->ReadPresented(outputWidth, outputHeight, &presented));
    const TPictureFit fit = FitPicture(800, 600, outputWidth, outputHeight);
    return Crop(presented,
                TRect{fit.offsetX, fit.offsetY, fit.offsetX + fit.width, fit.offsetY + fit.height});
  }

  TPixelImage CrispFrame(int outputWidth, int outputHeight) {
    screen->SetOutputSize(outputWidth, outputHeight);
    DrawScene();
    return Frame();
  }

  void Keep(const TPixelImage& image, const std::string& name) {
    const char* folder = std::getenv("MC_CRISP_FRAMES");
    if (!folder || !*folder) return;
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(WritePngFile((std::filesystem::path(folder) / name).string(), image));
  }

  std::unique_ptr<TOffscreenScreen> screen;
  std::shared_ptr<TMemorySource> source;
  std::shared_ptr<TTexture> tile;
  std::unique_ptr<TTextLayout> text;
};

TEST_F(CrispFrameTest, TheFrameTakesThePicturesSizeInTheOutput) {
  struct Case {
    int outputWidth, outputHeight, frameWidth, frameHeight;
    float scale;
  };
  for (const Case& c : {Case{1600, 1200, 1600, 1200, 2.0f}, Case{1920, 1080, 1440, 1080, 1.8f},
                        Case{1280, 1024, 1280, 960, 1.6f}, Case{800, 600, 800, 600, 1.0f}}) {
    TPixelImage frame = CrispFrame(c.outputWidth, c.outputHeight);
    EXPECT_EQ(frame.width, c.frameWidth) << c.outputWidth;
    EXPECT_EQ(frame.height, c.frameHeight) << c.outputWidth;
    EXPECT_FLOAT_EQ(screen->Renderer().PixelScale(), c.scale);
    // Logical coordinates stay what drawing code counts in.
    EXPECT_EQ(screen->Renderer().FullScreen(), (TRect{0, 0, 800, 600}));
    // Presented into the output, the frame is copied pixel for pixel between the bars.
    TPixelImage presented;
    ASSERT_TRUE(screen->ReadPresented(c.outputWidth, c.outputHeight, &presented));
    const TPictureFit fit = FitPicture(800, 600, c.outputWidth, c.outputHeight);
    EXPECT_EQ(Crop(presented, TRect{fit.offsetX, fit.offsetY, fit.offsetX + fit.width,
                                    fit.offsetY + fit.height})
                  .pixels,
              frame.pixels);
    if (fit.offsetX > 0) {
      EXPECT_EQ(presented.At(fit.offsetX - 1, 0), 0xFF000000u);
    }
  }
}

TEST_F(CrispFrameTest, LargeFramesAreSharperThanTodaysEnlargedPicture) {
  for (auto [width, height] : {std::pair{1920, 1080}, std::pair{1600, 1200}}) {
    const TPixelImage today = TodaysPicture(width, height);
    const TPixelImage crisp = CrispFrame(width, height);
    ASSERT_EQ(today.width, crisp.width);
    ASSERT_EQ(today.height, crisp.height);
    const float s = static_cast<float>(crisp.width) / 800;
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    Keep(today, "today_" + size + ".png");
    Keep(crisp, "crisp_" + size + ".png");

    const float textToday = EdgeContrast(today, Scaled(kTextBox, s));
    const float textCrisp = EdgeContrast(crisp, Scaled(kTextBox, s));
    const float tilesToday = EdgeContrast(today, Scaled(kTileRow, s));
    const float tilesCrisp = EdgeContrast(crisp, Scaled(kTileRow, s));
    RecordProperty("text_edge_contrast_" + size,
                   std::to_string(textToday) + " -> " + std::to_string(textCrisp));
    RecordProperty("tile_edge_contrast_" + size,
                   std::to_string(tilesToday) + " -> " + std::to_string(tilesCrisp));
    std::printf("%s: text edge contrast %.1f today, %.1f now; tiles %.1f today, %.1f now\n",
                size.c_str(), textToday, textCrisp, tilesToday, tilesCrisp);
    EXPECT_GT(textCrisp, textToday * 1.3f) << size;
    EXPECT_GT(tilesCrisp, tilesToday * 1.3f) << size;
  }
}

TEST_F(CrispFrameTest, LargeFramesShowTheSmallFrameInTheSamePlace) {
  screen->SetOutputSize(0, 0);
  DrawScene();
  const TPixelImage small = Frame();
  ASSERT_EQ(small.width, 800);
  float smallX = 0, smallY = 0;
  ASSERT_TRUE(InkCentre(small, kTextBox, &smallX, &smallY));
  for (auto [width, height] : {std::pair{1920, 1080}, std::pair{1600, 1200}}) {
    const TPixelImage large = CrispFrame(width, height);
    const float s = static_cast<float>(large.width) / 800;
    const float difference = MeanDifferenceDownscaled(large, small);
    std::printf("%dx%d scaled down: mean difference %.2f per channel\n", width, height, difference);
    EXPECT_LT(difference, 2.5f) << width;
    float x = 0, y = 0;
    ASSERT_TRUE(InkCentre(large, Scaled(kTextBox, s), &x, &y));
    EXPECT_NEAR(x / s, smallX, 0.35f) << width;
    EXPECT_NEAR(y / s, smallY, 0.35f) << width;
    // The scissored panel ends on the pixels its logical edges map to.
    const TRect panel = screen->Renderer().ToTargetPixels(kPanel);
    EXPECT_EQ(large.At(panel.left, panel.top), 0xFFE0C040u);
    EXPECT_EQ(large.At(panel.right - 1, panel.bottom - 1), 0xFFE0C040u);
    EXPECT_EQ(large.At(panel.left - 1, panel.top), kBackground);
    EXPECT_EQ(large.At(panel.right, panel.bottom - 1), kBackground);
    EXPECT_EQ(large.At(panel.left, panel.bottom), kBackground);
  }
}

TEST_F(CrispFrameTest, PreTransformedVerticesAndTexturesKeepTheirOwnUnits) {
  screen->SetOutputSize(1600, 1200);  // scale 2
  TRenderer& r = screen->Renderer();
  // A render target texture counts its own pixels, whatever the screen's scale.
  auto target = CreateTexture(64, 64, false);
  ASSERT_NE(target, nullptr);
  ASSERT_TRUE(r.BeginDraw(true));
  ASSERT_TRUE(r.SetRenderTarget(target->Data()));
  EXPECT_EQ(r.PixelScale(), 1.0f);
  r.Begin2d();
  FillRect(r, 0, 0, 64, 64, 0xFF0000FFu);
  FillRect(r, 0, 0, 32, 64, 0xFF00FF00u);
  r.End2d();
  ASSERT_TRUE(r.SetRenderTarget(nullptr));
  EXPECT_EQ(r.PixelScale(), 2.0f);
  r.Begin2d();
  target->DrawAt(132, 132, 1, 1, 1, kBlendOpaque);  // logical 100..164
  // Screen-space vertices are logical screen pixels too.
  auto v = [](float x, float y) {
    return TVertexTransformed{x, y, 0.1f, 1.0f, 0xFFFF0000u, 0xFF000000u, 0, 0};
  };
  TVertexTransformed quad[4] = {v(10, 10), v(20, 10), v(20, 20), v(10, 20)};
  r.SetTexture(0);
  r.DrawVertices(kTriangleFan, TVertexArray{kVertexTransformed, quad, 4});
  r.End2d();
  r.EndDraw(true);
  const TPixelImage frame = Frame();
  ASSERT_EQ(frame.width, 1600);
  EXPECT_EQ(frame.At(20, 20), 0xFFFF0000u);
  EXPECT_EQ(frame.At(39, 39), 0xFFFF0000u);
  EXPECT_EQ(frame.At(40, 40), 0xFF000000u);
  EXPECT_EQ(frame.At(19, 19), 0xFF000000u);
  // The 64-pixel texture covers 128 frame pixels: green left half, blue right half.
  EXPECT_EQ(frame.At(200, 260), 0xFF00FF00u);
  EXPECT_EQ(frame.At(262, 260), 0xFF00FF00u);
  EXPECT_EQ(frame.At(266, 260), 0xFF0000FFu);
  EXPECT_EQ(frame.At(327, 260), 0xFF0000FFu);
  EXPECT_EQ(frame.At(328, 260), 0xFF000000u);
}

TEST_F(CrispFrameTest, TextIsRasterisedAtTheFramesResolution) {
  // The glyph cache keys runs by the pixel size, so one text drawn at two scales gives two
  // sets of glyphs whose ink grows with the scale rather than being stretched.
  TTextLayout line(kBuiltinFontName, 20, 0xFF000000u, 0, 300, 40);
  line.SetText("Ill");
  auto inkWidth = [&](int outputWidth, int outputHeight) {
    screen->SetOutputSize(outputWidth, outputHeight);
    TRenderer& r = screen->Renderer();
    r.BeginDraw(true);
    r.Begin2d();
    FillRect(r, 0, 0, 800, 600, 0xFFFFFFFFu);
    line.Draw(r, 10, 10, 1, 1);
    r.End2d();
    r.EndDraw(true);
    const TPixelImage frame = Frame();
    // Fully dark pixels in the first glyph's stem row: a stem rasterised at the frame's
    // resolution has solid pixels across most of its width.
    int solid = 0, partial = 0;
    const int row = static_cast<int>(20 * r.PixelScale());
    for (int x = 0; x < frame.width / 2; ++x) {
      const float l = Luminance(frame.At(x, row));
      if (l < 40)
        ++solid;
      else if (l < 215)
        ++partial;
    }
    return std::pair{solid, partial};
  };
  const auto [smallSolid, smallPartial] = inkWidth(800, 600);
  const auto [largeSolid, largePartial] = inkWidth(1600, 1200);
  EXPECT_GT(smallSolid, 0);
  // Twice the pixels per stem, the same soft edge of at most one pixel on each side.
  EXPECT_GE(largeSolid, 2 * smallSolid);
  EXPECT_LE(largePartial, smallPartial + 2);
}

TEST_F(CrispFrameTest, PointerPositionsLandOnThePixelsDrawnThere) {
  // Every logical pixel gets its own colour (a picture drawn with point sampling), so a frame
  // pixel tells which logical pixel is shown there. The pointer comes in window coordinates
  // (points on a high-density display) and maps through the window's fit; the frame is drawn
  // for the drawable's pixels. A pointer must land on the logical pixel shown under it.
  source->files["ids.png"] = RgbPngBytes(MakeImage(800, 600, [](int x, int y) -> uint32_t {
    return 0xFF000000u | static_cast<uint32_t>(x << 12 | y);
  }));
  auto ids = LoadTexture(source, "ids.png", 4 /* no alpha */);
  ASSERT_NE(ids, nullptr);
  struct Case {
    int windowWidth, windowHeight, density;
  };
  for (const Case& c : {Case{800, 600, 1}, Case{1600, 1200, 1}, Case{1920, 1080, 1},
                        Case{800, 600, 2}, Case{1920, 1080, 2}, Case{1366, 768, 1}}) {
    const int pixelWidth = c.windowWidth * c.density, pixelHeight = c.windowHeight * c.density;
    screen->SetOutputSize(pixelWidth, pixelHeight);
    TRenderer& r = screen->Renderer();
    ASSERT_TRUE(r.BeginDraw(true));
    r.Begin2d();
    r.SetTextureFilter(kFilterPoint);
    ids->DrawAt(400, 300, 1, 1, 1, kBlendOpaque);
    r.End2d();
    r.EndDraw(true);
    const TPixelImage frame = Frame();
    const TPictureFit pointer = FitPicture(800, 600, c.windowWidth, c.windowHeight);
    const TPictureFit drawn = FitPicture(800, 600, pixelWidth, pixelHeight);
    int checked = 0, wrong = 0;
    for (int py = 0; py < c.windowHeight; py += 7)
      for (int px = 0; px < c.windowWidth; px += 5) {
        int x = 0, y = 0;
        pointer.ToPicture(px, py, x, y);
        if (x < 0 || y < 0 || x >= 800 || y >= 600) continue;
        // The frame pixels under the pointer's point, and the logical pixels they show part
        // of: the pointer's logical pixel and the one drawn there must both be among them.
        const int fx = px * c.density - drawn.offsetX, fy = py * c.density - drawn.offsetY;
        ASSERT_TRUE(fx >= 0 && fy >= 0 && fx < frame.width && fy < frame.height);
        auto covered = [&drawn](int first, int count, int v) {
          return v >= static_cast<int>(std::floor(static_cast<float>(first) / drawn.scale)) &&
                 v < static_cast<int>(std::ceil(static_cast<float>(first + count) / drawn.scale));
        };
        const uint32_t shown = frame.At(fx + c.density / 2, fy + c.density / 2) & 0xFFFFFFu;
        const int shownX = static_cast<int>(shown >> 12), shownY = static_cast<int>(shown & 0xFFF);
        ++checked;
        if (!covered(fx, c.density, x) || !covered(fy, c.density, y) ||
            !covered(fx, c.density, shownX) || !covered(fy, c.density, shownY))
          ++wrong;
      }
    EXPECT_GT(checked, 1000) << c.windowWidth << " x" << c.density;
    EXPECT_EQ(wrong, 0) << c.windowWidth << " x" << c.density;
  }
}

TEST_F(CrispFrameTest, EnlargedFramesTakePicturesFromTheirLargerVersions) {
  TLogCapture log;
  source->files["plain.png"] = PngBytes(TilePicture(1));
  source->files["plain_hd.jpg"] = JpegBytes(TilePicture(2));
  source->files["lonely.png"] = PngBytes(TilePicture(1));
  source->files["broken.png"] = PngBytes(TilePicture(1));
  source->files["broken_hd.png"] = {0x89, 'P', 'N', 'G', 1, 2, 3};
  source->files["shrunk.png"] = PngBytes(TilePicture(2));
  source->files["shrunk_hd.png"] = PngBytes(TilePicture(1));
  EXPECT_EQ(LargerSourceName(*source, "tile_md.png"), "tile_lg.png");
  EXPECT_EQ(LargerSourceName(*source, "plain.png"), "plain_hd.jpg");
  EXPECT_EQ(LargerSourceName(*source, "lonely.png"), "");
  EXPECT_EQ(LargerSourceName(*source, "lonely"), "");

  // The picture's own size first: nothing larger is read.
  DrawScene();
  const TPixelImage before = Frame();
  auto plain = LoadTexture(source, "plain.png", 0);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(tile->Data()->SourceScaleX(), 1.0f);
  EXPECT_EQ(tile->Data()->SurfaceWidth(), 64);

  // An enlarged frame reloads the pictures from their larger versions; they keep their
  // drawing size.
  CrispFrame(1920, 1080);
  EXPECT_TRUE(screen->Renderer().WantsLargeSources());
  EXPECT_EQ(tile->Data()->SourceScaleX(), 3.0f);
  EXPECT_EQ(tile->Data()->SourceScaleY(), 3.0f);
  EXPECT_EQ(tile->GetWidth(), 48);
  EXPECT_EQ(tile->GetHeight(), 64);
  EXPECT_EQ(tile->Data()->SurfaceWidth(), 256);
  EXPECT_TRUE(tile->Data()->Flags() & TTextureData::kMipmap);
  EXPECT_EQ(plain->Data()->SourceScaleX(), 2.0f);
  EXPECT_EQ(plain->GetWidth(), 48);
  // Missing, damaged or smaller versions leave the picture as it is; the damage is logged.
  auto lonely = LoadTexture(source, "lonely.png", 0);
  auto broken = LoadTexture(source, "broken.png", 0);
  auto shrunk = LoadTexture(source, "shrunk.png", 0);
  ASSERT_TRUE(lonely && broken && shrunk);
  EXPECT_EQ(lonely->Data()->SourceScaleX(), 1.0f);
  EXPECT_EQ(broken->Data()->SourceScaleX(), 1.0f);
  EXPECT_EQ(broken->GetWidth(), 48);
  EXPECT_EQ(shrunk->Data()->SourceScaleX(), 1.0f);
  EXPECT_EQ(shrunk->GetWidth(), 96);
  EXPECT_TRUE(log.Contains("The larger picture broken_hd.png cannot be read; broken.png is used"));
  EXPECT_TRUE(log.Contains("shrunk_hd.png (48x64) is not larger than shrunk.png (96x128)"));

  // A source rectangle is in drawing units: the right half of the tile drawn alone shows
  // the right border where the whole tile shows it.
  TRenderer& r = screen->Renderer();
  ASSERT_TRUE(r.BeginDraw(true));
  r.Begin2d();
  FillRect(r, 0, 0, 800, 600, kBackground);
  TDrawParams half;
  half.x = 212;
  half.y = 132;
  half.blendMode = kBlendOpaque;
  half.flags = kDrawSourceRect;
  half.source = TRect{24, 0, 48, 64};
  tile->Draw(half);
  r.End2d();
  r.EndDraw(true);
  const TPixelImage halfFrame = Frame();
  const int row = static_cast<int>(120 * 1.8f);
  EXPECT_EQ(halfFrame.At(static_cast<int>(223 * 1.8f), row), 0xFF202020u);  // right border
  EXPECT_EQ(halfFrame.At(static_cast<int>(201 * 1.8f), row), 0xFFF0E8D0u);  // the face
  EXPECT_EQ(halfFrame.At(static_cast<int>(199 * 1.8f), row), kBackground);

  // Back at the picture's own size, the normal pictures come back and the frame is the
  // same, pixel for pixel, as before the enlargement.
  screen->SetOutputSize(0, 0);
  DrawScene();
  EXPECT_FALSE(screen->Renderer().WantsLargeSources());
  EXPECT_EQ(tile->Data()->SourceScaleX(), 1.0f);
  EXPECT_FALSE(tile->Data()->Flags() & TTextureData::kMipmap);
  EXPECT_EQ(tile->Data()->SurfaceWidth(), 64);
  const TPixelImage after = Frame();
  EXPECT_EQ(after.pixels, before.pixels);
}

}  // namespace

// The display at sizes other than the logical 800 x 600: what the picture is drawn for on
// the headless backend (full screen, high-density displays, host windows of other sizes),
// the frames an embedded game draws there, and the cursor shown at the display's scale.
#include <gtest/gtest.h>

#include "frame/application.h"
#include "gfx/renderer.h"
#include "platform/backend/render_link.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/cursor_image.h"

namespace {

TEST(DisplayScale, TheHeadlessDrawableFollowsModeHostAndDensity) {
  THeadlessPlatform platform;
  platform.SetDesktop(1920, 1080);
  ASSERT_TRUE(platform.CreateWindow("Tandervel", 480, 360, 0));
  ASSERT_TRUE(platform.SetDisplayMode(800, 600, false));
  int width = 0, height = 0;
  platform.DrawableSize(width, height);
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  ASSERT_TRUE(platform.SetDisplayMode(800, 600, true));
  platform.DrawableSize(width, height);
  EXPECT_EQ(width, 1920);
  EXPECT_EQ(height, 1080);
  // A high-density display counts two pixels per window coordinate.
  platform.SetPixelDensity(2);
  ASSERT_TRUE(platform.SetDisplayMode(800, 600, false));
  platform.DrawableSize(width, height);
  EXPECT_EQ(width, 1600);
  EXPECT_EQ(height, 1200);
  EXPECT_FLOAT_EQ(platform.Scale(), 1.0f);  // pointer positions stay in window coordinates
}

// An embedded game ("-wnd=") fills its host window: the frame is drawn at the host's size,
// larger or smaller than the logical screen, and the drawing code keeps its 800 x 600.
TEST(DisplayScale, EmbeddedFramesAreDrawnAtTheHostsSize) {
  struct Case {
    int hostWidth, hostHeight, frameWidth, frameHeight;
  };
  for (const Case& c :
       {Case{1024, 768, 1024, 768}, Case{640, 480, 640, 480}, Case{1280, 720, 960, 720}}) {
    THeadlessPlatform platform;
    platform.AddHostWindow(0x77, c.hostWidth, c.hostHeight);
    auto data = std::make_unique<TApplicationData>();
    data->embedded = true;
    data->mExternalWindowParent = 0x77;
    TApplication app(std::move(data), platform);
    ASSERT_TRUE(app.CreatePlatformWindow());
    app.SetDisplay(800, 600, false);
    auto link = CreateRenderLink(platform, 800, 600, true);
    if (!link) GTEST_SKIP() << "no offscreen OpenGL context";
    TRenderer& r = *link->Renderer();
    ASSERT_TRUE(r.BeginDraw(true));
    r.Begin2d();
    auto v = [](float x, float y) {
      return TVertexColored{x, y, 0.1f, 0.5f, 0xFFFF0000u, 0xFF000000u, 0, 0};
    };
    TVertexColored quad[4] = {v(400, 300), v(800, 300), v(800, 600), v(400, 600)};
    r.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, quad, 4});
    r.End2d();
    r.EndDraw(true);
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(r.ReadFrame(&pixels, &width, &height));
    EXPECT_EQ(width, c.frameWidth) << c.hostWidth;
    EXPECT_EQ(height, c.frameHeight) << c.hostWidth;
    EXPECT_EQ(r.FullScreen(), (TRect{0, 0, 800, 600}));
    // The bottom-right quarter, on the frame's pixels.
    EXPECT_EQ(pixels[static_cast<size_t>(height / 2 + 1) * width + width / 2 + 1], 0xFFFF0000u);
    EXPECT_EQ(pixels[static_cast<size_t>(height / 2 - 2) * width + width / 2 - 2], 0xFF000000u);
    EXPECT_EQ(pixels.back(), 0xFFFF0000u);
  }
}

TCursorImage Arrow() {
  TCursorImage arrow;
  arrow.width = arrow.height = 32;
  arrow.hotX = 3;
  arrow.hotY = 5;
  arrow.argb.assign(32 * 32, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x <= y / 2; ++x) arrow.argb[static_cast<size_t>(y) * 32 + x] = 0xFFFFFFFFu;
  return arrow;
}

TEST(DisplayScale, TheCursorIsShownAtTheDisplaysScale) {
  const TCursorImage arrow = Arrow();
  const TCursorImage same = ScaleCursorImage(arrow, 1.0f);
  EXPECT_EQ(same.width, 32);
  EXPECT_EQ(same.argb, arrow.argb);

  const TCursorImage large = ScaleCursorImage(arrow, 1.8f);
  EXPECT_EQ(large.width, 58);
  EXPECT_EQ(large.height, 58);
  EXPECT_EQ(large.hotX, 5);
  EXPECT_EQ(large.hotY, 9);
  // Inside the arrow stays opaque white, outside stays clear, edges are in between, and
  // no transparent pixel darkens the edge's colour.
  EXPECT_EQ(large.argb[static_cast<size_t>(50) * 58 + 2], 0xFFFFFFFFu);
  EXPECT_EQ(large.argb[static_cast<size_t>(10) * 58 + 50], 0u);
  int soft = 0;
  for (uint32_t p : large.argb) {
    const uint32_t alpha = p >> 24;
    if (alpha > 0 && alpha < 255) {
      ++soft;
      EXPECT_EQ(p & 0xFFFFFFu, 0xFFFFFFu);
    }
  }
  EXPECT_GT(soft, 0);

  // Cursors have at most 256 pixels a side; damaged pictures come back unchanged.
  EXPECT_EQ(ScaleCursorImage(arrow, 20.0f).width, 256);
  TCursorImage damaged = arrow;
  damaged.argb.resize(10);
  EXPECT_EQ(ScaleCursorImage(damaged, 2.0f).width, 32);
}

}  // namespace

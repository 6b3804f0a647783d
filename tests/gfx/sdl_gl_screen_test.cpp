// The renderer in an SDL window. Runs on SDL's offscreen video driver (EGL underneath), so
// the window, its GL context and the buffer swaps take the game's code path without a
// display.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/renderer.h"
#include "gfx/system_cursor.h"
#include "platform/sdl_gl/sdl_gl_screen.h"

namespace {

// SDL unloads the GL driver with its last GL window, which hides where the driver's own
// allocations came from; a hidden window kept open until exit keeps it loaded, so that
// leak reports stay attributable (and the driver's own can be suppressed by name).
void KeepGlDriverLoaded() {
  static TSdlGlScreen* keeper = TSdlGlScreen::CreateWindow("keeper", 16, 16, true).release();
  ASSERT_NE(keeper, nullptr);
}

TEST(SdlGlScreenTest, WindowShowsFramesDrawnThroughTheRenderer) {
  if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  KeepGlDriverLoaded();
  TRenderer* before = GetRenderer();
  auto screen = TSdlGlScreen::CreateWindow("render test", 160, 120, true);
  ASSERT_NE(screen, nullptr);
  TRenderer& r = screen->Renderer();
  EXPECT_EQ(GetRenderer(), &r);
  EXPECT_EQ(r.ScreenWidth(), 160);
  EXPECT_EQ(r.ScreenHeight(), 120);
  for (int frame = 0; frame < 3; ++frame) {
    ASSERT_TRUE(r.BeginDraw(true));
    r.Begin2d();
    // A green bar 20 pixels from the top: the window's framebuffer has row 0 at the bottom,
    // so this checks the orientation of both drawing and reading back.
    uint32_t green = 0xFF00FF00u;
    TVertexColored bar[4] = {{0, 20, 0.1f, 0.5f, green, 0xFF000000u, 0, 0},
                             {160, 20, 0.1f, 0.5f, green, 0xFF000000u, 0, 0},
                             {160, 30, 0.1f, 0.5f, green, 0xFF000000u, 0, 0},
                             {0, 30, 0.1f, 0.5f, green, 0xFF000000u, 0, 0}};
    // Clockwise on the screen, so it survives counter-clockwise culling; the same bar
    // wound the other way 40 pixels lower is culled.
    r.SetCulling(kCullCounterClockwise);
    r.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, bar, 4});
    TVertexColored reversed[4] = {bar[3], bar[2], bar[1], bar[0]};
    for (TVertexColored& v : reversed) v.y += 40;
    r.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, reversed, 4});
    r.End2d();
    if (frame < 2) {
      EXPECT_TRUE(r.EndDraw(true));  // presented with a buffer swap
      continue;
    }
    ASSERT_TRUE(r.EndDraw(false));
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(r.ReadFrame(&pixels, &width, &height));
    ASSERT_EQ(width, 160);
    EXPECT_EQ(pixels[19 * 160 + 80], 0xFF000000u);
    EXPECT_EQ(pixels[20 * 160 + 80], 0xFF00FF00u);
    EXPECT_EQ(pixels[29 * 160 + 80], 0xFF00FF00u);
    EXPECT_EQ(pixels[30 * 160 + 80], 0xFF000000u);
    EXPECT_EQ(pixels[65 * 160 + 80], 0xFF000000u);  // culled
  }
  std::vector<uint32_t> arrow = SystemCursorPixels();
  r.SetCursorImage(arrow.data(), 32, 0, 0);  // a screen without a platform window keeps it
  r.ShowCursor(true);
  EXPECT_TRUE(r.CursorVisible());
  screen.reset();
  EXPECT_EQ(GetRenderer(), before);  // the previous renderer is the program's again
}

// Fills the frame with four quadrants of distinct colours so orientation and corners show.
void DrawQuadrants(TRenderer& r, float width, float height) {
  auto fill = [&r](float left, float top, float right, float bottom, uint32_t color) {
    auto v = [color](float x, float y) {
      return TVertexColored{x, y, 0.1f, 0.5f, color, 0xFF000000u, 0, 0};
    };
    TVertexColored quad[4] = {v(left, top), v(right, top), v(right, bottom), v(left, bottom)};
    r.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, quad, 4});
  };
  ASSERT_TRUE(r.BeginDraw(true));
  r.Begin2d();
  r.SetTexture(0);
  fill(0, 0, width / 2, height / 2, 0xFFFF0000u);
  fill(width / 2, 0, width, height / 2, 0xFF00FF00u);
  fill(0, height / 2, width / 2, height, 0xFF0000FFu);
  fill(width / 2, height / 2, width, height, 0xFFFFFFFFu);
  r.End2d();
  ASSERT_TRUE(r.EndDraw(true));
}

TEST(SdlGlScreenTest, WindowShowsTheFrameScaledToItsSizeBetweenBlackBars) {
  if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  KeepGlDriverLoaded();
  auto screen = TSdlGlScreen::CreateWindow("scaling test", 160, 120, true);
  ASSERT_NE(screen, nullptr);
  TRenderer& r = screen->Renderer();
  DrawQuadrants(r, 160, 120);
  TPixelImage shown;
  ASSERT_TRUE(screen->ReadWindow(&shown));
  ASSERT_EQ(shown.width, 160);
  ASSERT_EQ(shown.height, 120);
  EXPECT_EQ(shown.At(0, 0), 0xFFFF0000u);  // right way up in the window
  EXPECT_EQ(shown.At(159, 0), 0xFF00FF00u);
  EXPECT_EQ(shown.At(0, 119), 0xFF0000FFu);
  EXPECT_EQ(shown.At(159, 119), 0xFFFFFFFFu);

  // SDL's offscreen driver reports a new drawable size but keeps its surface, so the size
  // changes are checked only with a real X server (xvfb-run sets DISPLAY).
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "window size changes need an X server";

  // Twice as wide: the frame stays 160 x 120, the window shows it unscaled, centred.
  screen->ResizeWindow(320, 120);
  DrawQuadrants(r, 160, 120);
  ASSERT_TRUE(screen->ReadWindow(&shown));
  ASSERT_EQ(shown.width, 320);
  EXPECT_EQ(r.ScreenWidth(), 160);
  EXPECT_EQ(shown.At(79, 60), 0xFF000000u);
  EXPECT_EQ(shown.At(80, 0), 0xFFFF0000u);
  EXPECT_EQ(shown.At(239, 119), 0xFFFFFFFFu);
  EXPECT_EQ(shown.At(240, 60), 0xFF000000u);

  // Twice the size: scaled by 2 to fill the window.
  screen->ResizeWindow(320, 240);
  DrawQuadrants(r, 160, 120);
  ASSERT_TRUE(screen->ReadWindow(&shown));
  ASSERT_EQ(shown.width, 320);
  ASSERT_EQ(shown.height, 240);
  EXPECT_EQ(shown.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(shown.At(319, 0), 0xFF00FF00u);
  EXPECT_EQ(shown.At(0, 239), 0xFF0000FFu);
  EXPECT_EQ(shown.At(319, 239), 0xFFFFFFFFu);
  EXPECT_EQ(shown.At(100, 100), 0xFFFF0000u);
}

// Frames are paced by the swap interval: 1 in full screen whatever the "vsync" setting says,
// in a window what the setting says; the driver reports what it was given.
TEST(SdlGlScreenTest, FullScreenWaitsForTheVerticalBlankAndWindowsFollowTheVsyncSetting) {
  if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  KeepGlDriverLoaded();
  auto screen = TSdlGlScreen::CreateWindow("pacing test", 160, 120, true);
  ASSERT_NE(screen, nullptr);
  TRenderer& r = screen->Renderer();
  auto intervalAfterAFrame = [&] {
    DrawQuadrants(r, 160, 120);
    return screen->SwapIntervalRefused() ? -1 : screen->ReportedSwapInterval();
  };
  r.SetVsync(false);
  const int first = intervalAfterAFrame();
  // Xvfb's software GLX has no swap control (the program logs the refusal); SDL's offscreen
  // driver on EGL has.
  if (first == -1) GTEST_SKIP() << "the display driver has no swap control";
  EXPECT_EQ(first, 0);
  ASSERT_TRUE(screen->SetFullscreen(true));
  EXPECT_EQ(intervalAfterAFrame(), 1);
  r.SetVsync(true);
  EXPECT_EQ(intervalAfterAFrame(), 1);
  r.SetVsync(false);
  EXPECT_EQ(intervalAfterAFrame(), 1);
  ASSERT_TRUE(screen->SetFullscreen(false));
  EXPECT_EQ(intervalAfterAFrame(), 0);
  r.SetVsync(true);
  EXPECT_EQ(intervalAfterAFrame(), 1);
  r.SetVsync(false);
  EXPECT_EQ(intervalAfterAFrame(), 0);
}

}  // namespace

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
  r.SetCursorImage(arrow.data(), 32, 0, 0);  // becomes SDL's colour cursor
  r.ShowCursor(true);
  EXPECT_TRUE(r.CursorVisible());
  screen.reset();
  EXPECT_EQ(GetRenderer(), before);  // the previous renderer is the program's again
}

}  // namespace

// The embedded game ("-wnd=") in host windows of other sizes than its 800 x 600 screen, on a
// private Xvfb server and seen from the X server's side: the picture fills the rectangle the
// fit gives it in the host, with black bars beside or above it; it is drawn at that size
// (pictures 1:1 from their larger versions in a host twice the size, text sharper than the
// small picture enlarged); clicks at host positions land where the fit maps them; and the
// game follows its host when the page resizes it. Skipped where Xvfb cannot start. Set
// MC_HOST_FRAMES to a folder to keep what the host window showed as PNG files.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <utility>

#include "frame/picture_fit.h"
#include "platform/x11_test_host/x11_screen_probe.h"
#include "tests/app/host_window_fixture.h"
#include "tests/gfx/test_support.h"

namespace {

// Places on the main menu, in its 800 x 600 coordinates.
constexpr TRect kSoundSwitch{300, 248, 500, 288};
constexpr TRect kMusicSwitch{300, 298, 500, 338};
constexpr TRect kClassicSign{520, 224, 770, 274};
constexpr TRect kTitle{300, 22, 780, 92};

class HostWindowSizes : public THostedProgramTest {
 protected:
  void SetUp() override {
    THostedProgramTest::SetUp();
    // The game refuses a host that would not fit on the screen, so the screen is larger
    // than every host here.
    if (!xvfb.Start(1920, 1280)) GTEST_SKIP() << "Xvfb cannot start here";
    ASSERT_TRUE(probe.Open(xvfb.Display())) << "no XTEST on the private X server";
  }

  void OpenHost(int width, int height) {
    ASSERT_TRUE(host.Open(xvfb.Display(), width, height)) << host.Error();
    hostWidth = width;
    hostHeight = height;
  }
  void ResizeHost(int width, int height) {
    ASSERT_TRUE(host.Resize(width, height));
    hostWidth = width;
    hostHeight = height;
  }

  // Starts the game in the host and waits for its main menu.
  void StartAtMainMenu() {
    StartGame({"-zylom", "options=splash_ms=300"});
    ASSERT_TRUE(WaitFor([&] { return SwitchShows(kSoundSwitch, "menu/plaque_off.png"); }, 30000))
        << Output();
    ParkPointer();
  }

  TPictureFit Fit() const { return FitPicture(800, 600, hostWidth, hostHeight); }

  // The host pixel showing the top-left corner of the screen's pixel (x, y).
  std::pair<int, int> HostPoint(int x, int y) const {
    std::pair<int, int> point;
    Fit().ToOutput(x, y, point.first, point.second);
    return point;
  }
  TRect HostRect(const TRect& r) const {
    const auto [left, top] = HostPoint(r.left, r.top);
    const auto [right, bottom] = HostPoint(r.right, r.bottom);
    return TRect{left, top, right, bottom};
  }

  // What the host window shows, as opaque ARGB; kept in MC_HOST_FRAMES when named.
  TPixelImage Capture(const std::string& name = "") {
    TPixelImage image;
    std::vector<uint32_t> pixels = probe.Pixels(host.HostWindow(), &image.width, &image.height);
    for (uint32_t& p : pixels) p |= 0xFF000000u;
    image.pixels = std::move(pixels);
    const char* keep = std::getenv("MC_HOST_FRAMES");
    if (keep && !name.empty()) {
      WritePngFile(std::string(keep) + "/" + name + ".png", image);
    }
    return image;
  }

  // Whether the switch shows the picture (the flat middle of its plaque).
  bool SwitchShows(const TRect& button, const char* picture) {
    const auto [x, y] = HostPoint(button.left + 50, button.top + 12);
    return NearlyEqual(probe.PixelAt(host.HostWindow(), x, y), PicturePixel(picture, 50, 12), 3);
  }

  // The game window's size and what the host window shows, for failure messages.
  std::string Describe() {
    int width = 0, height = 0;
    host.GameWindowSize(width, height);
    Capture("failed_" + std::to_string(hostWidth) + "x" + std::to_string(hostHeight));
    return "game window " + std::to_string(width) + " x " + std::to_string(height) + " in a " +
           std::to_string(hostWidth) + " x " + std::to_string(hostHeight) + " host";
  }

  bool WaitFor(const std::function<bool()>& condition, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      if (condition()) return true;
      host.Pump(50);
    }
    return condition();
  }

  // The pointer rests in the host's bottom-right corner, over nothing that reacts to it (it
  // is moved there first, so that the game's window has had the pointer and the focus before
  // a click, and no click counts as the one that activated the window).
  void ParkPointer() {
    probe.MovePointer(host.HostWindow(), hostWidth - 2, hostHeight - 2);
    host.Pump(200);
  }

  void ClickAt(int x, int y) {
    const auto [hx, hy] = HostPoint(x, y);
    ASSERT_TRUE(probe.Click(host.HostWindow(), hx, hy));
    host.Pump(200);
    ParkPointer();
  }

  // Whether every host pixel outside the fitted rectangle is black and the picture reaches
  // the rectangle's edges (the main menu's background has no black pixel along its border);
  // what is wrong goes to `why`.
  bool FittedWithBars(const TPixelImage& shot, std::string* why = nullptr) const {
    const std::string size = std::to_string(hostWidth) + " x " + std::to_string(hostHeight);
    if (shot.width != hostWidth || shot.height != hostHeight) {
      if (why) *why = "the host window is not " + size;
      return false;
    }
    const TPictureFit fit = Fit();
    const TRect picture{fit.offsetX, fit.offsetY, fit.offsetX + fit.width,
                        fit.offsetY + fit.height};
    int litInBars = 0, darkOnEdges = 0, edgePixels = 0;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x) {
        const uint32_t colour = shot.At(x, y) & 0xFFFFFFu;
        const bool inside =
            x >= picture.left && x < picture.right && y >= picture.top && y < picture.bottom;
        if (!inside) {
          litInBars += colour != 0;
          continue;
        }
        if (x == picture.left || x == picture.right - 1 || y == picture.top ||
            y == picture.bottom - 1) {
          ++edgePixels;
          darkOnEdges += Luminance(colour) < 4;
        }
      }
    if (why) {
      *why = size + ": " + std::to_string(litInBars) + " lit pixels in the bars, " +
             std::to_string(darkOnEdges) + " of " + std::to_string(edgePixels) +
             " black on the picture's edges";
    }
    return litInBars == 0 && darkOnEdges < edgePixels / 50;
  }
  void ExpectFittedWithBars(const TPixelImage& shot) {
    std::string why;
    EXPECT_TRUE(FittedWithBars(shot, &why)) << why;
  }

  // The pixels of the switch (a few pixels in from its edges, and clear of the counter's
  // toys, which move in front of its lower edge) that differ between two pictures of the
  // host window.
  int Differing(const TPixelImage& a, const TPixelImage& b, const TRect& button) const {
    const TRect r =
        HostRect(TRect{button.left + 3, button.top + 3, button.right - 3, button.bottom - 10});
    int differing = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) differing += !NearlyEqual(a.At(x, y), b.At(x, y));
    return differing;
  }

  // Clicks near the sound switch's edges: those just inside switch the sound off and on
  // again (its caption changes each time), those just outside (left of it, above it, and in the gap
  // above the music switch) change neither switch.
  void ExpectClicksLandOnTheMappedSpot(const std::string& name) {
    const TPixelImage before = Capture(name + "_before_clicks");
    ClickAt(kSoundSwitch.left + 2, kSoundSwitch.bottom - 2);
    ASSERT_TRUE(WaitFor([&] { return Differing(Capture(), before, kSoundSwitch) > 20; }, 3000))
        << "the click inside the switch's corner did not reach it";
    host.Pump(300);
    const TPixelImage switched = Capture(name + "_sound_off");
    ClickAt(kSoundSwitch.left - 3, kSoundSwitch.top + 20);
    ClickAt(kSoundSwitch.left + 100, kSoundSwitch.top - 3);
    ClickAt(kSoundSwitch.left + 100, kSoundSwitch.bottom + 4);
    host.Pump(300);
    const TPixelImage outside = Capture(name + "_after_outside_clicks");
    EXPECT_EQ(Differing(outside, switched, kSoundSwitch), 0);
    EXPECT_EQ(Differing(outside, switched, kMusicSwitch), 0);
    ClickAt(kSoundSwitch.right - 2, kSoundSwitch.top + 1);
    EXPECT_TRUE(WaitFor([&] { return Differing(Capture(), switched, kSoundSwitch) > 20; }, 3000))
        << "the click inside the switch's other corner did not reach it";
  }

  // `small` (an 800 x 600 picture) enlarged into the host's fitted rectangle with a linear
  // filter: what the host showed when frames were drawn at 800 x 600 and stretched.
  TPixelImage Enlarged(const TPixelImage& small) const {
    const TPictureFit fit = Fit();
    auto channel = [&](int x, int y, int shift) {
      x = std::clamp(x, 0, small.width - 1);
      y = std::clamp(y, 0, small.height - 1);
      return static_cast<float>((small.At(x, y) >> shift) & 0xFF);
    };
    return MakeImage(hostWidth, hostHeight, [&](int x, int y) -> uint32_t {
      if (x < fit.offsetX || y < fit.offsetY || x >= fit.offsetX + fit.width ||
          y >= fit.offsetY + fit.height)
        return 0xFF000000u;
      const float sx = (static_cast<float>(x - fit.offsetX) + 0.5f) / fit.scale - 0.5f;
      const float sy = (static_cast<float>(y - fit.offsetY) + 0.5f) / fit.scale - 0.5f;
      const int x0 = static_cast<int>(std::floor(sx)), y0 = static_cast<int>(std::floor(sy));
      const float fx = sx - static_cast<float>(x0), fy = sy - static_cast<float>(y0);
      uint32_t colour = 0xFF000000u;
      for (int shift : {16, 8, 0}) {
        const float top = channel(x0, y0, shift) * (1 - fx) + channel(x0 + 1, y0, shift) * fx;
        const float bottom =
            channel(x0, y0 + 1, shift) * (1 - fx) + channel(x0 + 1, y0 + 1, shift) * fx;
        colour |= static_cast<uint32_t>(std::lround(top * (1 - fy) + bottom * fy)) << shift;
      }
      return colour;
    });
  }

  TX11ScreenProbe probe;
  int hostWidth = 800, hostHeight = 600;
};

}  // namespace

// Hosts larger (with bars beside the picture) and smaller than the screen, from the start.
class HostWindowStartSizes : public HostWindowSizes,
                             public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(HostWindowStartSizes, TheGameFillsTheFittedRectangleAndTakesClicksThere) {
  const auto [width, height] = GetParam();
  OpenHost(width, height);
  StartAtMainMenu();
  int gameWidth = 0, gameHeight = 0;
  ASSERT_TRUE(host.GameWindowSize(gameWidth, gameHeight));
  EXPECT_EQ(gameWidth, width);
  EXPECT_EQ(gameHeight, height);
  ExpectFittedWithBars(Capture("start_" + std::to_string(width) + "x" + std::to_string(height)));
  ExpectClicksLandOnTheMappedSpot("start_" + std::to_string(width));
  ASSERT_TRUE(host.SendQuit());
  EXPECT_EQ(host.WaitForExit(20000), 0) << Output();
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostWindowStartSizes,
                         ::testing::Values(std::pair{1280, 720}, std::pair{640, 480}),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "x" +
                                  std::to_string(info.param.second);
                         });

TEST_F(HostWindowSizes, TheGameFollowsItsHostsSizeAndDrawsAtIt) {
  OpenHost(800, 600);
  StartAtMainMenu();
  const TPixelImage small = Capture("resize_800x600");
  auto followed = [&] {
    int width = 0, height = 0;
    return host.GameWindowSize(width, height) && width == hostWidth && height == hostHeight &&
           FittedWithBars(Capture());
  };

  // Larger, the same shape: text is drawn at the host's size, sharper than the 800 x 600
  // picture enlarged.
  ResizeHost(1024, 768);
  ASSERT_TRUE(WaitFor(followed, 10000)) << Describe();
  host.Pump(300);
  const TPixelImage shot = Capture("resize_1024x768");
  ExpectFittedWithBars(shot);
  const float drawn = EdgeContrast(shot, HostRect(kTitle));
  const float enlarged = EdgeContrast(Enlarged(small), HostRect(kTitle));
  EXPECT_GT(drawn, 1.25f * enlarged) << drawn << " against " << enlarged;

  // Twice the size: the sign is its larger picture pixel for pixel (its caption aside),
  // which the enlarged small picture is not.
  ResizeHost(1600, 1200);
  ASSERT_TRUE(WaitFor(followed, 10000)) << Describe();
  host.Pump(300);
  const TPixelImage twice = Capture("resize_1600x1200");
  ExpectFittedWithBars(twice);
  const TPixelImage sign = StagedPicture("menu/sign_up_hd.png");
  ASSERT_EQ(sign.width, 500);
  const TPixelImage stretched = Enlarged(small);
  const auto [signX, signY] = HostPoint(kClassicSign.left, kClassicSign.top);
  int compared = 0, differ = 0, differStretched = 0;
  for (int y = 0; y < sign.height; ++y)
    for (int x = 0; x < sign.width; ++x) {
      const uint32_t expected = sign.At(x, y);
      const bool caption = x >= 28 && x < 472 && y >= 12 && y < 80;
      if ((expected >> 24) != 0xFF || caption) continue;
      ++compared;
      differ += !NearlyEqual(twice.At(signX + x, signY + y) & 0xFFFFFF, expected & 0xFFFFFF, 3);
      differStretched +=
          !NearlyEqual(stretched.At(signX + x, signY + y) & 0xFFFFFF, expected & 0xFFFFFF, 3);
    }
  EXPECT_GT(compared, 10000);
  EXPECT_LT(differ, compared / 100) << differ << " of " << compared;
  EXPECT_GT(differStretched, compared / 10) << differStretched << " of " << compared;
  ExpectClicksLandOnTheMappedSpot("resize_1600");

  // Taller than the screen's shape: bars above and below, the picture 1:1 between them.
  ResizeHost(800, 800);
  ASSERT_TRUE(WaitFor(followed, 10000)) << Describe();
  host.Pump(300);
  const TPixelImage tall = Capture("resize_800x800");
  ExpectFittedWithBars(tall);
  int signDiffers = 0;
  for (int y = kClassicSign.top; y < kClassicSign.bottom; ++y)
    for (int x = kClassicSign.left; x < kClassicSign.right; ++x)
      signDiffers += !NearlyEqual(tall.At(x, y + 100) & 0xFFFFFF, small.At(x, y) & 0xFFFFFF);
  EXPECT_EQ(signDiffers, 0);
  ExpectClicksLandOnTheMappedSpot("resize_800x800");

  ASSERT_TRUE(host.SendQuit());
  EXPECT_EQ(host.WaitForExit(20000), 0) << Output();
}

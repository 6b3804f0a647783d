// A dialog script with localised, styled, wrapped text and a picture, run headless with the
// window manager, the window script and an offscreen renderer. The frame is checked by its
// pixels and by the window tree, and written to "text_dialog.png" in the bin folder.
#include <gtest/gtest.h>

#include <algorithm>

#include "data/string_table.h"
#include "frame/application_time.h"
#include "frame/event.h"
#include "gfx/text_layout.h"
#include "platform/egl/offscreen_screen.h"
#include "tests/gfx/test_support.h"
#include "tests/script/script_test_fixture.h"
#include "tests/ui/ui_test_support.h"
#include "ui/image.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/text.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

namespace {

constexpr uint32_t kSky = 0xFF305080u;
constexpr uint32_t kSun = 0xFFF0C020u;
constexpr uint32_t kRed = 0xFFD02020u;
constexpr uint32_t kBlue = 0xFF2020D0u;

const char* kDialog =
    "MakeDialog{ name = 'textdemo',\n"
    "  Bitmap{ name = 'textdemo_picture', image = 'pics/sunset', x = 20, y = 20 },\n"
    "  Text{ name = 'textdemo_title', x = 160, y = 20, w = 600, h = 44,\n"
    "        label = 'textdemo_title', font = { '__DEFAULT', 36, Color( 255, 230, 160 ) } },\n"
    "  Text{ name = 'textdemo_body', x = 160, y = 80, w = 320, h = 220, padding = 4,\n"
    "        label = 'textdemo_body', font = { '__DEFAULT', 20, Color( 255, 255, 255 ) } },\n"
    "  Text{ name = 'textdemo_price', x = 500, y = 80, w = 280, h = 40, flags = kHAlignRight,\n"
    "        label = '#$1,250', font = { '__DEFAULT', 28, FColor( 0.4, 1, 0.4 ) } },\n"
    "  Bitmap{ name = 'textdemo_turned', image = 'pics/flag', x = 20, y = 130, rotate = true },\n"
    "  Bitmap{ name = 'textdemo_mirrored', image = 'pics/flag', x = 60, y = 130, hflip = true },\n"
    "  Text{ name = 'textdemo_stamp', x = 520, y = 130, w = 240, h = 140, label = '#SOLD',\n"
    "        rotation = -15, rotationOriginX = 0, rotationOriginY = 70, flags = kVAlignCenter,\n"
    "        font = { '__DEFAULT', 48, Color( 255, 64, 64 ) } },\n"
    "}\n";

class TextDialogTest : public ScriptTest, protected TWindowSystemHarness {
 protected:
  // testing::Test has a Run of its own.
  using TWindowSystemHarness::Run;

  void SetUp() override {
    ScriptTest::SetUp();
    WriteFile("assets/dialogs/textdemo.lua", kDialog);
    WriteFile("assets/scripts/demo.lua",
              "gDone = 'no' return function() DoModal( 'dialogs/textdemo.lua' ) gDone = 'yes' end");
    InitFileSystem();
    offscreen = TOffscreenScreen::Create(800, 600);
    // 120 x 90: sky with a sun disc of radius 25 around (60, 45).
    picture = PngBytes(MakeImage(120, 90, [](int x, int y) {
      const int dx = x - 60, dy = y - 45;
      return dx * dx + dy * dy <= 25 * 25 ? kSun : kSky;
    }));
    RegisterMemoryFile("pics/sunset.png", picture.data(), picture.size());
    // 60 x 20: red left half, blue right half.
    flag = PngBytes(MakeImage(60, 20, [](int x, int) { return x < 30 ? kRed : kBlue; }));
    RegisterMemoryFile("pics/flag.png", flag.data(), flag.size());
    StringTable().SetString("textdemo_title", "Grandma's <i>Attic</i>");
    StringTable().SetString(
        "textdemo_body",
        "A dusty trunk holds a <font color=ff4040>red</font> music box, "
        "<b>three</b> silver spoons and a <u>letter</u> nobody has opened in fifty years.");
    StartWindowSystem(true);
    script->SetLocalizeLabels(true);
  }
  void TearDown() override {
    if (HasFailure()) std::printf("log:\n%s\n", LogText().c_str());
    StopWindowSystem();
    offscreen.reset();
    RegisterMemoryFile("pics/sunset.png", picture.data(), 0);
    RegisterMemoryFile("pics/flag.png", flag.data(), 0);
    StringTable().Clear();
    ScriptTest::TearDown();
  }
  TPixelImage Frame() {
    manager->Invalidate();
    Pass();
    TPixelImage image;
    EXPECT_TRUE(offscreen->ReadFrame(&image));
    return image;
  }
  // Pixels inside r close to the colour (each channel within tolerance), and their extent.
  static int Count(const TPixelImage& f, const TRect& r, uint32_t colour, int tolerance,
                   TRect* extent = nullptr) {
    int n = 0;
    TRect box{r.right, r.bottom, r.left, r.top};
    for (int y = std::max(0, r.top); y < std::min(f.height, r.bottom); ++y) {
      for (int x = std::max(0, r.left); x < std::min(f.width, r.right); ++x) {
        const uint32_t p = f.At(x, y);
        bool near = true;
        for (int shift : {0, 8, 16}) {
          const int a = static_cast<int>((p >> shift) & 0xFF);
          const int b = static_cast<int>((colour >> shift) & 0xFF);
          near = near && std::abs(a - b) <= tolerance;
        }
        if (!near) continue;
        ++n;
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
               std::max(box.bottom, y + 1)};
      }
    }
    if (extent) *extent = box;
    return n;
  }
  std::unique_ptr<TOffscreenScreen> offscreen;
  std::vector<uint8_t> picture;
  std::vector<uint8_t> flag;
};

TEST_F(TextDialogTest, DialogShowsLocalisedStyledWrappedTextAndAPicture) {
  if (!offscreen) GTEST_SKIP() << "no offscreen GL context";
  // The dialog runs inside the script's coroutine, as the game's screens do.
  ASSERT_TRUE(manager->RunScriptFile("scripts/demo.lua"));
  Pass();
  TModalWindow* top = manager->TopModal();
  ASSERT_NE(top, nullptr);
  ASSERT_EQ(top->GetName(), "textdemo");

  // The window tree: the picture sized by its file, texts localised, the body wrapped.
  auto* picture = dynamic_cast<TImage*>(top->FindChild("textdemo_picture"));
  auto* title = dynamic_cast<TText*>(top->FindChild("textdemo_title"));
  auto* body = dynamic_cast<TText*>(top->FindChild("textdemo_body"));
  auto* price = dynamic_cast<TText*>(top->FindChild("textdemo_price"));
  ASSERT_TRUE(picture && title && body && price);
  EXPECT_EQ(picture->GetAbsoluteRect(), (TRect{20, 20, 140, 110}));
  EXPECT_EQ(title->GetText(), "Grandma's <i>Attic</i>");
  EXPECT_EQ(price->GetText(), "$1,250");
  EXPECT_EQ(body->GetAbsoluteRect(), (TRect{160, 80, 480, 300}));
  EXPECT_GE(body->Layout()->Lines().size(), 3u);

  const TPixelImage frame = Frame();
  offscreen->SavePng(std::string(MC_BIN_DIR) + "/text_dialog.png");

  // The picture, texel for texel.
  EXPECT_TRUE(ColorNear(frame.At(20 + 60, 20 + 45), kSun));
  EXPECT_TRUE(ColorNear(frame.At(20 + 2, 20 + 2), kSky));
  EXPECT_TRUE(ColorNear(frame.At(20 + 119, 20 + 89), kSky));
  EXPECT_TRUE(ColorNear(frame.At(19, 19), 0xFF000000u));
  EXPECT_TRUE(ColorNear(frame.At(140, 110), 0xFF000000u));

  // A quarter turn clockwise puts the picture's left half on top; mirroring swaps the halves.
  EXPECT_EQ(top->FindChild("textdemo_turned")->GetAbsoluteRect(), (TRect{20, 130, 40, 190}));
  EXPECT_TRUE(ColorNear(frame.At(30, 135), kRed));
  EXPECT_TRUE(ColorNear(frame.At(30, 185), kBlue));
  EXPECT_TRUE(ColorNear(frame.At(65, 140), kBlue));
  EXPECT_TRUE(ColorNear(frame.At(115, 140), kRed));

  // The stamp turned 15 degrees anticlockwise about the middle of its left edge: its ink rises
  // from left to right.
  TRect left, right;
  EXPECT_GT(Count(frame, {520, 130, 570, 270}, 0xFFFF4040u, 6, &left), 50);
  EXPECT_GT(Count(frame, {600, 130, 760, 270}, 0xFFFF4040u, 6, &right), 50);
  EXPECT_LT(right.top, left.top - 10);

  // The title in its colour, inside its box.
  TRect titleInk;
  EXPECT_GT(Count(frame, {160, 20, 760, 64}, 0xFFFFE6A0u, 6, &titleInk), 150);
  EXPECT_GE(titleInk.left, 160);
  EXPECT_LE(titleInk.bottom, 64);

  // The body: white glyphs over several lines, the red word, nothing outside the box, and
  // anti-aliasing (partly covered pixels between black and white).
  TRect whiteInk;
  EXPECT_GT(Count(frame, {160, 80, 480, 300}, 0xFFFFFFFFu, 4, &whiteInk), 400);
  EXPECT_GE(whiteInk.left, 164);  // padding
  EXPECT_LE(whiteInk.right, 476);
  EXPECT_GT(whiteInk.Height(), 50);  // wrapped into lines
  EXPECT_GT(Count(frame, {160, 80, 480, 300}, 0xFFFF4040u, 6), 30);
  int grey = 0;
  for (int y = 80; y < 300; ++y) {
    for (int x = 160; x < 480; ++x) {
      const uint32_t p = frame.At(x, y);
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (r == g && g == b && r > 40 && r < 215) ++grey;
    }
  }
  EXPECT_GT(grey, 100);
  EXPECT_EQ(Count(frame, {480, 280, 800, 600}, 0xFF000000u, 0), 320 * 320);
  EXPECT_EQ(Count(frame, {0, 300, 480, 600}, 0xFF000000u, 0), 480 * 300);

  // The price, right-aligned in its box.
  TRect priceInk;
  EXPECT_GT(Count(frame, {500, 80, 780, 120}, 0xFF66FF66u, 8, &priceInk), 60);
  EXPECT_GE(priceInk.right, 770);
  EXPECT_GT(priceInk.left, 600);

  // Closing the dialog lets the script go on.
  manager->PostMessage(new TMessage(kCloseWindow, top->IdText()));
  for (int i = 0; i < 3; ++i) Pass();
  EXPECT_EQ(Global(script->GetState(), "gDone"), "yes");
}

}  // namespace

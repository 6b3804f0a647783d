// Runs the shipped "scripts/mainloop.lua" headless: the window manager, the window script
// and an offscreen renderer, driven by scripted input. Checks the window tree, the
// messages and the rendered frames.
#include <gtest/gtest.h>

#include <filesystem>

#include "frame/application_time.h"
#include "frame/event.h"
#include "platform/egl/offscreen_screen.h"
#include "script/lua/lua_api.h"
#include "tests/script/script_test_fixture.h"
#include "tests/ui/ui_test_support.h"
#include "ui/modal_window.h"
#include "ui/screen.h"
#include "ui/window_manager.h"
#include "ui/window_paint.h"
#include "ui/window_script.h"
#include "ui/window_style.h"

namespace {

constexpr uint32_t kPanel = 0xFF3C78B4u;  // what every "Window" paints in this test

// Stands in for the plain window type so that the frame shows where windows are.
class TPaintedWindow : public TWindow {
 public:
  static TWindow* Create() { return new TPaintedWindow; }
  void Draw() override {
    const float colour[4] = {0x3C / 255.0f, 0x78 / 255.0f, 0xB4 / 255.0f, 1};
    FillScreenRect(GetLocalRect(), colour);
  }
};

class MainLoopTest : public ScriptTest, protected TWindowSystemHarness {
 protected:
  // testing::Test has a Run of its own.
  using TWindowSystemHarness::Run;

  void SetUp() override {
    ScriptTest::SetUp();
    const std::filesystem::path scripts = std::filesystem::path(MC_SOURCE_DIR) / "content/scripts";
    for (const char* name : {"mainloop.lua", "mainscreen.lua"})
      WriteFile(std::string("assets/scripts/") + name, ReadDiskFile(scripts / name));
    WriteFile("assets/dialogs/test.lua",
              "MakeDialog{ Window{ name = 'test_box', x = 20, y = 20, w = 100, h = 50 } }");
    InitFileSystem();
    offscreen = TOffscreenScreen::Create(800, 600);
    // The placeholder screens do not cover the whole picture: clear under them every frame.
    StartWindowSystem(true);
    manager->AddWindowType("Window", &TPaintedWindow::Create);
  }
  void TearDown() override {
    StopWindowSystem();
    offscreen.reset();
    ScriptTest::TearDown();
  }
  // A frame drawn now, read back.
  TPixelImage Frame() {
    manager->Invalidate();
    Pass();
    TPixelImage image;
    EXPECT_TRUE(offscreen && offscreen->ReadFrame(&image));
    return image;
  }
  static uint32_t At(const TPixelImage& image, int x, int y) {
    return image.pixels[static_cast<size_t>(y) * image.width + x] | 0xFF000000u;
  }
  std::string Top() const { return manager->TopModal() ? manager->TopModal()->GetName() : ""; }

  std::unique_ptr<TOffscreenScreen> offscreen;
};

TEST_F(MainLoopTest, SplashThenMainScreenThenDialogThenQuit) {
  if (!offscreen) GTEST_SKIP() << "no offscreen GL context";
  ASSERT_TRUE(manager->RunScriptFile("scripts/mainloop.lua"));
  Pass();
  EXPECT_EQ(Top(), "splash");
  TWindow* panel = manager->TopModal()->FindChild("splash_panel");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetAbsoluteRect(), (TRect{200, 200, 600, 400}));
  TPixelImage splash = Frame();
  EXPECT_EQ(At(splash, 400, 300), kPanel);
  EXPECT_EQ(At(splash, 220, 300), kPanel);
  EXPECT_EQ(At(splash, 199, 300), 0xFF000000u);
  EXPECT_EQ(At(splash, 10, 10), 0xFF000000u);

  // A key that is not Escape during the splash only dismisses it.
  Event(kEventKeyDown, 0, 0, 'A');
  for (int i = 0; i < 3; ++i) Pass();
  EXPECT_EQ(Top(), "mainscreen");
  EXPECT_EQ(host.quits, 0);
  TModalWindow* mainScreen = manager->TopModal();
  ASSERT_NE(mainScreen->FindChild("main_quit_area"), nullptr);
  EXPECT_EQ(mainScreen->FindChild("main_menu")->GetAbsoluteRect(), (TRect{250, 180, 550, 420}));
  EXPECT_EQ(mainScreen->FindChild("main_quit_area")->GetAbsoluteRect(),
            (TRect{300, 360, 500, 400}));
  TPixelImage main = Frame();
  EXPECT_EQ(At(main, 400, 80), kPanel);        // title
  EXPECT_EQ(At(main, 220, 300), 0xFF000000u);  // the splash panel is gone
  EXPECT_EQ(At(main, 400, 300), kPanel);

  // Native code opens a dialog through the script, as the game's screens will.
  script->DoLuaString("function OpenTest() gResult = DoModal('dialogs/test.lua') end");
  lua_getglobal(L, "OpenTest");
  EXPECT_EQ(script->RunFunction(0, 0), 0);
  Pass();
  EXPECT_EQ(Top(), "dialogs/test.lua");
  TModalWindow* dialog = manager->TopModal();
  EXPECT_EQ(dialog->GetParent(), mainScreen);
  EXPECT_TRUE(mainScreen->Clock().IsPaused());
  TPixelImage withDialog = Frame();
  EXPECT_EQ(At(withDialog, 30, 30), kPanel);   // the dialog's box
  EXPECT_EQ(At(withDialog, 400, 80), kPanel);  // the screen below still shows
  // Escape inside the dialog does not quit: the dialog's wait ignores it.
  Event(kEventKeyDown, 0, 0, 27);
  Pass();
  EXPECT_EQ(host.quits, 0);
  manager->PostMessage(new TMessage(kCloseWindow, dialog->IdText()));
  for (int i = 0; i < 3; ++i) Pass();
  EXPECT_EQ(Top(), "mainscreen");
  EXPECT_FALSE(mainScreen->Clock().IsPaused());
  TPixelImage after = Frame();
  EXPECT_EQ(At(after, 30, 30), 0xFF000000u);

  Event(kEventKeyDown, 0, 0, 27);
  for (int i = 0; i < 3; ++i) Pass();
  EXPECT_EQ(host.quits, 1);
  if (HasFailure()) offscreen->SavePng("mainloop_failure.png");
}

TEST_F(MainLoopTest, SplashEndsOnItsTimeout) {
  ASSERT_TRUE(manager->RunScriptFile("scripts/mainloop.lua"));
  Pass();
  EXPECT_EQ(Top(), "splash");
  for (int i = 0; i < 10; ++i) Pass(600);
  EXPECT_EQ(Top(), "mainscreen");
}

}  // namespace

// Textures and display settings through the virtual file system.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/asset_manager.h"
#include "files/file_system.h"
#include "files/xml_node.h"
#include "frame/application_time.h"
#include "gfx/display_settings.h"
#include "gfx/renderer.h"
#include "gfx/system_cursor.h"
#include "gfx/texture.h"
#include "gfx/texture_name.h"
#include "platform/egl/offscreen_screen.h"
#include "platform/gl/gl_device.h"
#include "tests/gfx/test_support.h"

namespace {

class TextureFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = std::filesystem::temp_directory_path() /
           (std::string("mc_gfx_files_") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
            std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "user");
    std::filesystem::create_directories(root / "common");
    ResetFileSystem();
    SetFileSystemFolders((root / "user").string(), (root / "common").string(), "");
    screen = TOffscreenScreen::Create(64, 64);
    ASSERT_NE(screen, nullptr);
  }
  void TearDown() override {
    screen.reset();
    ResetFileSystem();
    std::filesystem::remove_all(root);
  }
  std::filesystem::path root;
  std::unique_ptr<TOffscreenScreen> screen;
};

TEST_F(TextureFilesTest, GetTextureReadsMemoryFilesWithExtensionFallback) {
  std::vector<uint8_t> png = PngBytes(MakeImage(5, 3, [](int, int) { return 0xFF00FF00u; }));
  RegisterMemoryFile("gfx/leaf.png", png.data(), png.size());
  auto leaf = GetTexture("gfx/leaf", 0);
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(leaf->GetWidth(), 5);
  EXPECT_EQ(leaf->GetHeight(), 3);
  EXPECT_EQ(GetTexture("gfx/nothing", 0), nullptr);
  EXPECT_EQ(GetTexture("gfx/leaf", "gfx/no_mask", false), nullptr);
  // Restore reads the file system again.
  leaf->Restore();
  EXPECT_TRUE(leaf->Data()->Usable());
  RegisterMemoryFile("gfx/leaf.png", png.data(), 0);
}

TEST_F(TextureFilesTest, BuiltInCursorBecomesTheCursorImage) {
  RegisterSystemCursor();
  auto cursor = GetTexture(kSystemCursorName, 0);
  ASSERT_NE(cursor, nullptr);
  EXPECT_EQ(cursor->GetWidth(), 32);
  EXPECT_EQ(cursor->GetHeight(), 32);
  EXPECT_TRUE(cursor->Data()->Flags() & TTextureData::kHasAlpha);
  EXPECT_TRUE(screen->Renderer().SetCursorTexture(*cursor->Data(), 0, 0));
  screen->Renderer().ShowCursor(false);
  EXPECT_FALSE(screen->Renderer().CursorVisible());
}

TEST_F(TextureFilesTest, OutOfVideoMemoryWritesTheDisplaySetting) {
  screen->Device().SimulateOutOfMemory(true);
  EXPECT_EQ(CreateTexture(16, 16, false), nullptr);
  std::ifstream in(root / "common" / "display.xml", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, LowMemoryDisplayDocument());
  TXmlNode document;
  document.Parse(text);
  ASSERT_NE(document.FindChild("Settings"), nullptr);
  EXPECT_EQ(document.FindChild("Settings")->GetAttribute("LowMemoryVideo"), "1");
}

TEST_F(TextureFilesTest, TexturesAreSharedByAssetKey) {
  TAssetManager manager;
  std::vector<uint8_t> png = PngBytes(MakeImage(6, 6, [](int, int) { return 0x80FF0000u; }));
  RegisterMemoryFile("gfx/dot.png", png.data(), png.size());
  auto first = GetTexture("gfx/dot", 0);
  auto second = GetTexture("gfx/dot", 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);  // decoded once, one object
  EXPECT_EQ(manager.GetAssetAs<TTexture>("gfx\\dot:tex"), first);
  auto withAlpha = GetTexture("gfx/dot", 2);
  ASSERT_NE(withAlpha, nullptr);
  EXPECT_NE(withAlpha, first);
  EXPECT_EQ(manager.GetAssetAs<TTexture>("gfx\\dot:a:tex"), withAlpha);
  EXPECT_TRUE(first->IsKindOf(TAsset::kType));
  EXPECT_STREQ(first->ClassName(), "TTexture");
  // Nobody holds it: the next request loads the file again into a new object.
  first.reset();
  second.reset();
  EXPECT_EQ(manager.GetAsset("gfx\\dot:tex"), nullptr);
  auto again = GetTexture("gfx/dot", 0);
  ASSERT_NE(again, nullptr);
  // A failed load is not cached.
  EXPECT_EQ(GetTexture("gfx/none", 0), nullptr);
  EXPECT_EQ(manager.GetAsset("gfx\\none:tex"), nullptr);
  // Blank textures are entered under their address.
  auto blank = CreateTexture(8, 8, true);
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(manager.GetAssetAs<TTexture>(BlankTextureKey(blank.get())), blank);
  RegisterMemoryFile("gfx/dot.png", png.data(), 0);
}

TEST_F(TextureFilesTest, RestoreAssetsGoesThroughTheAssetManager) {
  TAssetManager manager;
  std::vector<uint8_t> png = PngBytes(MakeImage(4, 4, [](int, int) { return 0xFF336699u; }));
  RegisterMemoryFile("gfx/blue.png", png.data(), png.size());
  auto blue = GetTexture("gfx/blue.png", 0);
  ASSERT_NE(blue, nullptr);
  // After a change of display mode the texture is drawn from a surface of the new device.
  auto device = TGlDevice::Create(32, 32, nullptr);
  ASSERT_NE(device, nullptr);
  TRenderer& r = screen->Renderer();
  r.SetTextureRestorer(&TAssetManager::RestoreAllOfCurrent);
  r.SetDevice(device.get());
  EXPECT_FALSE(blue->Data()->Usable());
  r.RestoreAssets();
  EXPECT_TRUE(blue->Data()->Usable());
  r.BeginDraw(true);
  r.Begin2d();
  blue->DrawAt(2, 2, 1, 1, 1, -1);
  r.End2d();
  r.EndDraw(true);
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(r.ReadFrame(&pixels, nullptr, nullptr));
  EXPECT_EQ(pixels[1 * 32 + 1], 0xFF336699u);
  blue.reset();
  r.SetDevice(&screen->Device());
  RegisterMemoryFile("gfx/blue.png", png.data(), 0);
}

TEST_F(TextureFilesTest, DisplaySettingsSwitchLowVideoMemoryOnAtStartUp) {
  TLogCapture log;
  TRenderer& r = screen->Renderer();
  r.LoadDisplaySettings(false);
  EXPECT_FALSE(r.LowVideoMemory());  // no file yet
  ASSERT_TRUE(WriteLowMemoryDisplaySetting());
  r.LoadDisplaySettings(true);  // container mode ignores the file
  EXPECT_FALSE(r.LowVideoMemory());
  r.LoadDisplaySettings(false);
  EXPECT_TRUE(r.LowVideoMemory());
  EXPECT_EQ(r.ColorBits(), 16);
  EXPECT_TRUE(log.Contains("Low memory video card setting enabled!"));
  std::ofstream(root / "common" / "display.xml") << "<Settings LowMemoryVideo=\"0\"/>";
  EXPECT_FALSE(ReadLowMemoryDisplaySetting());
  std::ofstream(root / "common" / "display.xml") << "\x01garbage<<<";
  EXPECT_FALSE(ReadLowMemoryDisplaySetting());
}

TEST_F(TextureFilesTest, EndDrawKeepsTheFrameRate) {
  TManualTime time(5000);
  TRenderer& r = screen->Renderer();
  for (int frame = 0; frame < 15; ++frame) {
    ASSERT_TRUE(r.BeginDraw(false));
    ASSERT_TRUE(r.EndDraw(true));
    if (frame < 14) {
      EXPECT_EQ(r.FrameRate().Rate(), 0.0f);
    }
    time.Advance(25);
  }
  EXPECT_FLOAT_EQ(r.FrameRate().Rate(), 15000.0f / (14 * 25));
  EXPECT_EQ(r.FrameCount(), 15u);
  EXPECT_FALSE(r.FrameRate().OverlayOn());
  r.ToggleOverlay();
  EXPECT_TRUE(r.FrameRate().OverlayOn());
}

}  // namespace

// Textures and display settings through the virtual file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/file_system.h"
#include "frame/application_time.h"
#include "gfx/display_settings.h"
#include "gfx/renderer.h"
#include "gfx/system_cursor.h"
#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "platform/gl/gl_device.h"
#include "tests/gfx/test_support.h"

namespace {

class TextureFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = std::filesystem::temp_directory_path() /
           (std::string("mc_gfx_files_") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
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
  leaf->OnRestore();
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
  EXPECT_NE(text.find("<Settings LowMemoryVideo=\"1\""), std::string::npos);
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

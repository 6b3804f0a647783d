// Texture names, option words, asset keys and the loading rules (sizes, extensions,
// masks, automatic alpha), on an offscreen device.
#include <gtest/gtest.h>

#include "gfx/renderer.h"
#include "gfx/texture.h"
#include "gfx/texture_loader.h"
#include "gfx/texture_name.h"
#include "platform/egl/offscreen_screen.h"
#include "platform/gl/gl_device.h"
#include "tests/gfx/test_support.h"

namespace {

TEST(TextureNameTest, OptionWordsAfterTheQuestionMark) {
  uint8_t flags = TTextureData::kAutoAlpha;
  EXPECT_EQ(SplitTextureOptions("gfx/big.png?slow", &flags), "gfx/big.png");
  EXPECT_EQ(flags, TTextureData::kAutoAlpha | TTextureData::kSlow | TTextureData::kSimple);

  flags = TTextureData::kAutoAlpha;
  EXPECT_EQ(SplitTextureOptions("gfx/pic.jpg?mipmap,alpha", &flags), "gfx/pic.jpg");
  EXPECT_EQ(flags, TTextureData::kHasAlpha | TTextureData::kMipmap);

  flags = 0;
  EXPECT_EQ(SplitTextureOptions("maps?simple", &flags), "maps");
  EXPECT_EQ(flags, TTextureData::kSimple);

  // A "?" in the first four characters is part of the name.
  flags = 0;
  EXPECT_EQ(SplitTextureOptions("ab?alpha", &flags), "ab?alpha");
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(SplitTextureOptions("?", &flags), "?");
  // Words that are not options change nothing.
  EXPECT_EQ(SplitTextureOptions("tiles/x.png?fast", &flags), "tiles/x.png");
  EXPECT_EQ(flags, 0);
}

TEST(TextureNameTest, OptionsWordOfGetTexture) {
  EXPECT_EQ(TextureFlagsForOptions(0), TTextureData::kAutoAlpha);
  EXPECT_EQ(TextureFlagsForOptions(1), TTextureData::kAutoAlpha | TTextureData::kMipmap);
  EXPECT_EQ(TextureFlagsForOptions(2), TTextureData::kHasAlpha);
  EXPECT_EQ(TextureFlagsForOptions(4), 0);
  EXPECT_EQ(TextureFlagsForOptions(7), TTextureData::kHasAlpha | TTextureData::kMipmap);
}

TEST(TextureNameTest, AssetKeys) {
  EXPECT_EQ(
      TextureAssetKey("gfx/tiles/face.png", "", TTextureData::kHasAlpha | TTextureData::kMipmap),
      "gfx\\tiles\\face.png:a:m:tex");
  EXPECT_EQ(TextureAssetKey("gfx/a", "", TTextureData::kAutoAlpha), "gfx\\a:tex");
  EXPECT_EQ(TextureAssetKey("gfx/a?slow", "", TTextureData::kSlow | TTextureData::kSimple),
            "gfx\\a?slow:s:tex");
  EXPECT_EQ(TextureAssetKey("gfx/pic.jpg", "gfx/pic_mask.png", TTextureData::kHasAlpha),
            "gfx\\pic.jpg:gfx\\pic_mask.png:a:tex");
  // The same file with and without alpha gives two keys, so two textures.
  EXPECT_NE(TextureAssetKey("a.png", "", TextureFlagsForOptions(2)),
            TextureAssetKey("a.png", "", TextureFlagsForOptions(4)));
  int object = 0;
  std::string blank = BlankTextureKey(&object);
  EXPECT_EQ(blank.substr(blank.size() - 6), ":tex:r");
  EXPECT_NE(blank, BlankTextureKey(&blank));
}

TEST(TextureNameTest, PowersOfTwo) {
  EXPECT_EQ(NextPowerOfTwo(0), 1);
  EXPECT_EQ(NextPowerOfTwo(1), 1);
  EXPECT_EQ(NextPowerOfTwo(300), 512);
  EXPECT_EQ(NextPowerOfTwo(1024), 1024);
  EXPECT_EQ(NextPowerOfTwo(1025), 2048);
}

TEST(PixelBufferTest, PictureSitsTopLeftInASquareBuffer) {
  TImage image = MakeImage(3, 2, [](int x, int y) { return 0xFF000000u | (y * 3 + x); });
  TPixelBuffer buffer;
  ASSERT_TRUE(BuildPixelBuffer(image, nullptr, &buffer));
  EXPECT_EQ(buffer.side, 4);
  EXPECT_EQ(buffer.pixels[1 * 4 + 2], 0xFF000005u);
  EXPECT_EQ(buffer.pixels[1 * 4 + 3], 0u);
  EXPECT_EQ(buffer.pixels[2 * 4 + 0], 0u);
}

TEST(PixelBufferTest, MaskRedChannelBecomesAlphaOnlyWhenSidesMatch) {
  TImage image = MakeImage(6, 5, [](int, int) { return 0xFF102030u; });
  TImage mask = MakeImage(6, 5, [](int x, int) { return 0xFF000000u | (x * 40) << 16 | 0x7777; });
  TPixelBuffer buffer;
  ASSERT_TRUE(BuildPixelBuffer(image, &mask, &buffer));
  EXPECT_EQ(buffer.pixels[0], 0x00102030u);
  EXPECT_EQ(buffer.pixels[2 * 8 + 5], 0xC8102030u);
  TImage other = MakeImage(20, 5, [](int, int) { return 0xFF000000u; });
  ASSERT_FALSE(BuildPixelBuffer(image, &other, &buffer));
  EXPECT_EQ(buffer.pixels[0], 0xFF102030u);  // ignored
}

class TextureLoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = TOffscreenScreen::Create(64, 64);
    ASSERT_NE(screen, nullptr);
    source = std::make_shared<TMemorySource>();
  }
  std::unique_ptr<TOffscreenScreen> screen;
  std::shared_ptr<TMemorySource> source;
};

TEST_F(TextureLoadTest, SurfaceSizesAndOffsets) {
  source->files["p.png"] = PngBytes(MakeImage(300, 200, [](int, int) { return 0xFFFFFFFFu; }));
  auto texture = LoadTexture(source, "p.png", 0);
  ASSERT_NE(texture, nullptr);
  TTextureData* data = texture->Data();
  EXPECT_EQ(texture->GetWidth(), 300);
  EXPECT_EQ(texture->GetHeight(), 200);
  EXPECT_EQ(data->SurfaceWidth(), 512);
  EXPECT_EQ(data->SurfaceHeight(), 256);
  EXPECT_EQ(data->OffsetX(), 106);
  EXPECT_EQ(data->OffsetY(), 28);

  screen->Device().RequireSquareTextures(true);
  auto square = LoadTexture(source, "p.png", 0);
  ASSERT_NE(square, nullptr);
  EXPECT_EQ(square->Data()->SurfaceHeight(), 512);
  EXPECT_EQ(square->Data()->OffsetY(), 156);
  auto simple = LoadTexture(source, "p.png?simple", 0);
  ASSERT_NE(simple, nullptr);
  EXPECT_EQ(simple->Data()->SurfaceHeight(), 256);
}

TEST_F(TextureLoadTest, PicturesAbove1024NeedSlow) {
  source->files["wide.png"] = PngBytes(MakeImage(1025, 2, [](int, int) { return 0xFFFFFFFFu; }));
  source->files["edge.png"] = PngBytes(MakeImage(1024, 1024, [](int, int) { return 0xFFFFFFFFu; }));
  EXPECT_EQ(LoadTexture(source, "wide.png", 0), nullptr);
  auto slow = LoadTexture(source, "wide.png?slow", 0);
  ASSERT_NE(slow, nullptr);
  EXPECT_EQ(slow->Data()->SurfaceWidth(), 2048);
  EXPECT_EQ(slow->Data()->SurfaceHeight(), 2);
  EXPECT_NE(LoadTexture(source, "edge.png", 0), nullptr);
}

TEST_F(TextureLoadTest, NamesWithoutExtensionTryPngThenJpg) {
  source->files["cursor/magnify.png"] =
      PngBytes(MakeImage(4, 4, [](int, int) { return 0xFFFF0000u; }));
  source->files["photo.jpg"] = JpegBytes(MakeImage(8, 8, [](int, int) { return 0xFF808080u; }));
  source->files["notes.txt"] = {1, 2, 3};
  source->files["broken.png"] = {0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5, 6};
  auto magnify = LoadTexture(source, "cursor/magnify", 0);
  ASSERT_NE(magnify, nullptr);
  EXPECT_EQ(magnify->GetWidth(), 4);
  EXPECT_NE(LoadTexture(source, "photo", 0), nullptr);
  EXPECT_EQ(LoadTexture(source, "photo.png", 0), nullptr);  // an extension is not replaced
  EXPECT_EQ(LoadTexture(source, "missing", 0), nullptr);
  EXPECT_EQ(LoadTexture(source, "notes.txt", 0), nullptr);
  EXPECT_EQ(LoadTexture(source, "broken.png", 0), nullptr);
  EXPECT_EQ(LoadTexture(source, "", 0), nullptr);
}

TEST_F(TextureLoadTest, AutomaticAlphaFollowsThePngFile) {
  source->files["rgba.png"] = PngBytes(MakeImage(4, 4, [](int, int) { return 0x80FFFFFFu; }));
  source->files["rgb.png"] = RgbPngBytes(MakeImage(4, 4, [](int, int) { return 0xFFFFFFFFu; }));
  source->files["j.jpg"] = JpegBytes(MakeImage(4, 4, [](int, int) { return 0xFFFFFFFFu; }));
  auto flags = [&](const char* name, int options) {
    auto texture = LoadTexture(source, name, options);
    return texture ? texture->Data()->Flags() & TTextureData::kHasAlpha : -1;
  };
  EXPECT_EQ(flags("rgba.png", 0), TTextureData::kHasAlpha);
  EXPECT_EQ(flags("rgb.png", 0), 0);
  EXPECT_EQ(flags("j.jpg", 0), 0);
  EXPECT_EQ(flags("rgba.png", 4), 0);
  EXPECT_EQ(flags("rgb.png", 2), TTextureData::kHasAlpha);
  EXPECT_EQ(flags("rgba.png?alpha", 4), TTextureData::kHasAlpha);
}

TEST_F(TextureLoadTest, JpegWithPngMaskDrawsWithTheMasksOpacity) {
  source->files["pic.jpg"] = JpegBytes(MakeImage(16, 16, [](int, int) { return 0xFFFFFFFFu; }));
  // Left half opaque (white), right half transparent (black).
  source->files["pic_mask.png"] =
      RgbPngBytes(MakeImage(16, 16, [](int x, int) { return x < 8 ? 0xFFFFFFFFu : 0xFF000000u; }));
  source->files["small_mask.png"] =
      RgbPngBytes(MakeImage(4, 4, [](int, int) { return 0xFF000000u; }));
  auto texture = LoadTexture(source, "pic.jpg", "pic_mask", false);
  ASSERT_NE(texture, nullptr);
  EXPECT_TRUE(texture->Data()->Flags() & TTextureData::kHasAlpha);
  EXPECT_EQ(texture->Data()->MaskName(), "pic_mask");
  auto ignored = LoadTexture(source, "pic.jpg", "small_mask.png", false);
  ASSERT_NE(ignored, nullptr);
  EXPECT_EQ(LoadTexture(source, "pic.jpg", "no_such_mask", false), nullptr);

  TRenderer& r = screen->Renderer();
  r.BeginDraw(true);
  r.Begin2d();
  r.SetTextureFilter(kFilterPoint);
  texture->DrawAt(8, 8, 1, 1, 1, -1);
  ignored->DrawAt(8, 40, 1, 1, 1, -1);
  r.End2d();
  r.EndDraw(true);
  TImage frame;
  ASSERT_TRUE(screen->ReadFrame(&frame));
  EXPECT_TRUE(ColorNear(frame.At(3, 3), 0xFFFFFFFFu, 3));
  EXPECT_EQ(frame.At(12, 3), 0xFF000000u);
  // A mask of another size is ignored: the picture is drawn opaque.
  EXPECT_TRUE(ColorNear(frame.At(12, 35), 0xFFFFFFFFu, 3));
}

TEST_F(TextureLoadTest, BlankTexturesAndRenderTargetsOfTheScreensScale) {
  auto blank = CreateTexture(100, 50, false);
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(blank->GetWidth(), 100);
  EXPECT_EQ(blank->Data()->SurfaceWidth(), 128);
  EXPECT_EQ(blank->Data()->SurfaceHeight(), 64);
  EXPECT_TRUE(blank->Data()->FileName().empty());
  EXPECT_EQ(CreateTexture(0, 5, true), nullptr);
  TRenderer& r = screen->Renderer();
  r.SetWindowScale(2.0f);
  ASSERT_TRUE(r.SetRenderTarget(blank->Data()));
  EXPECT_EQ(r.Viewport(), (TRect{0, 0, 64, 32}));
  r.SetRenderTarget(nullptr);
  blank->Restore();  // blank textures recreate their surface at the stored size
  EXPECT_TRUE(blank->Data()->Usable());
  EXPECT_EQ(blank->Data()->SurfaceWidth(), 128);
}

}  // namespace

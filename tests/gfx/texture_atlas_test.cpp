// The texture atlas: pictures drawn from it look as drawn from their own textures, a scene
// from it is one batch, it copies again after the textures were rebuilt, and what it cannot
// hold is refused so that the caller draws the texture itself.
#include "gfx/texture_atlas.h"

#include <gtest/gtest.h>

#include "gfx/renderer.h"
#include "platform/egl/offscreen_screen.h"
#include "tests/gfx/test_support.h"

namespace {

// A picture with a different colour in every pixel and soft edges, as tiles have.
TPixelImage Picture(int width, int height, uint32_t seed) {
  return MakeImage(width, height, [=](int x, int y) {
    const uint32_t alpha = x == 0 || y == 0 || x == width - 1 || y == height - 1 ? 0x80 : 0xFF;
    return alpha << 24 | ((x * 37 + seed) & 0xFF) << 16 | ((y * 23 + seed * 3) & 0xFF) << 8 |
           ((x * y + seed) & 0xFF);
  });
}

class TextureAtlasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = TOffscreenScreen::Create(320, 240);
    ASSERT_NE(screen, nullptr) << "no offscreen OpenGL context";
    source = std::make_shared<TMemorySource>();
    // Sizes of the board's pictures: a blank (47 x 64) and a face (48 x 64), and an
    // opaque picture without alpha.
    source->files["blank.png"] = PngBytes(Picture(47, 64, 1));
    source->files["face.png"] = PngBytes(Picture(48, 64, 2));
    source->files["plain.png"] = RgbPngBytes(Picture(30, 20, 3));
    for (const char* name : {"blank.png", "face.png", "plain.png"}) {
      pictures.push_back(LoadTexture(source, name, 0));
      ASSERT_NE(pictures.back(), nullptr) << name;
    }
  }
  TRenderer& R() { return screen->Renderer(); }
  TPixelImage Frame() {
    TPixelImage frame;
    EXPECT_TRUE(screen->ReadFrame(&frame));
    return frame;
  }
  // A small board: every picture at several places and scales, drawn from the atlas or
  // from the textures themselves; answers the device calls.
  int DrawScene(TTextureAtlas* atlas) {
    return DrawFrame(R(), [&] {
      for (int i = 0; i < 12; ++i) {
        TTexture& picture = *pictures[i % pictures.size()];
        TDrawParams drawing;
        drawing.x = 30.0f + 23.5f * static_cast<float>(i % 6) + (i > 5 ? 0.37f : 0.0f);
        drawing.y = 40.0f + 70.0f * static_cast<float>(i / 6);
        drawing.alpha = i == 4 ? 0.5f : 1.0f;
        const float scale = i % 4 == 1 ? 0.73333335f : 1.0f;
        drawing.flags = kDrawTransform | (i == 7 ? kDrawMirrorX : 0u);
        drawing.transform = TTransform2d{scale, 0, 0, scale, 0, 0};
        if (!atlas || !atlas->Draw(picture, drawing)) picture.Draw(drawing);
      }
    });
  }
  std::unique_ptr<TOffscreenScreen> screen;
  std::shared_ptr<TMemorySource> source;
  std::vector<std::shared_ptr<TTexture>> pictures;
};

TEST_F(TextureAtlasTest, PicturesLookAsFromTheirOwnTexturesInOneBatch) {
  EXPECT_EQ(DrawScene(nullptr), 12);  // the pictures alternate: a batch each
  const TPixelImage own = Frame();
  TTextureAtlas atlas(&R());
  for (const auto& picture : pictures) EXPECT_TRUE(atlas.Add(picture));
  EXPECT_TRUE(atlas.Add(pictures[0])) << "a second Add finds it";
  EXPECT_EQ(atlas.Pictures(), 3);
  EXPECT_EQ(DrawScene(&atlas), 1);
  const TPixelImage fromAtlas = Frame();
  ASSERT_EQ(own.pixels.size(), fromAtlas.pixels.size());
  int different = 0;
  for (size_t i = 0; i < own.pixels.size(); ++i) different += own.pixels[i] != fromAtlas.pixels[i];
  EXPECT_EQ(different, 0);
}

TEST_F(TextureAtlasTest, CopiesAgainWhenTheTexturesWereRebuilt) {
  TTextureAtlas atlas(&R());
  for (const auto& picture : pictures) ASSERT_TRUE(atlas.Add(picture));
  DrawScene(nullptr);
  const TPixelImage own = Frame();
  // The renderer rebuilds its textures (as after a lost device or a change of the frame's
  // scale): every surface is new, and the atlas's own surface comes back empty.
  R().RestoreAssets();
  EXPECT_EQ(DrawScene(&atlas), 1);
  EXPECT_EQ(Frame().pixels, own.pixels);
}

TEST_F(TextureAtlasTest, RefusesWhatItCannotHoldAndTheCallerDrawsItself) {
  TTextureAtlas atlas(&R());
  source->files["huge.png"] = PngBytes(Picture(TTextureAtlas::kMaxSide, 8, 4));
  auto huge = LoadTexture(source, "huge.png?slow", 0);
  ASSERT_NE(huge, nullptr);
  TLogCapture log;
  EXPECT_FALSE(atlas.Add(huge));  // wider than the atlas with its border
  EXPECT_TRUE(log.Contains("The texture atlas has no room for huge.png?slow"));
  EXPECT_FALSE(atlas.Draw(*huge, TDrawParams{}));
  EXPECT_FALSE(atlas.Draw(*pictures[0], TDrawParams{})) << "never added";
  EXPECT_FALSE(atlas.Add(nullptr));
  EXPECT_FALSE(atlas.Add(CreateTexture(16, 16, true))) << "a surface without a file";
  // Another texture of a file already held (no asset cache shares textures here) draws from
  // the same picture instead of taking room again.
  ASSERT_TRUE(atlas.Add(pictures[1]));
  auto again = LoadTexture(source, "face.png", 0);
  ASSERT_NE(again, nullptr);
  const int held = atlas.Pictures();
  EXPECT_TRUE(atlas.Add(again));
  EXPECT_EQ(atlas.Pictures(), held);
  TTextureAtlas withoutRenderer(nullptr);
  EXPECT_FALSE(withoutRenderer.Add(pictures[0]));
  // Many pictures: the atlas grows downward and keeps what it held.
  for (int i = 0; i < 200; ++i) {
    const std::string name = "many" + std::to_string(i) + ".png";
    source->files[name] = PngBytes(Picture(48, 64, static_cast<uint32_t>(i)));
    auto picture = LoadTexture(source, name, 0);
    ASSERT_NE(picture, nullptr);
    ASSERT_TRUE(atlas.Add(picture)) << i;
  }
  EXPECT_GT(atlas.Height(), 256);
  DrawScene(nullptr);
  const TPixelImage own = Frame();
  DrawScene(&atlas);  // pictures 0 and 2 are not held: they draw themselves
  EXPECT_EQ(Frame().pixels, own.pixels);
}

}  // namespace

// Sprites and animated textures drawn offscreen: origin points, mirroring, empty frames,
// layer order and alpha, checked at known pixels.
#include <gtest/gtest.h>

#include "gfx/animated_sprite.h"
#include "gfx/animated_texture.h"
#include "platform/egl/offscreen_screen.h"
#include "tests/gfx/animation_test_fixture.h"

namespace {

class SpriteTest : public AnimationTest {
 protected:
  // Draws the sprite tree on black and reads the frame back.
  TPixelImage Frame(TSprite& root, int depth = -1) {
    TRenderer& r = screen->Renderer();
    r.BeginDraw(true);
    r.Begin2d();
    r.SetTexture(0);
    const TVertexColored black[4] = {{0, 0, 0.1f, 0.5f, 0xFF000000u, 0, 0, 0},
                                     {64, 0, 0.1f, 0.5f, 0xFF000000u, 0, 0, 0},
                                     {64, 64, 0.1f, 0.5f, 0xFF000000u, 0, 0, 0},
                                     {0, 64, 0.1f, 0.5f, 0xFF000000u, 0, 0, 0}};
    r.SetBlendMode(kBlendOpaque);
    r.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, black, 4});
    r.SetBlendMode(kBlendNormal);
    root.Draw(TDrawParams{}, depth);
    r.End2d();
    r.EndDraw(true);
    TPixelImage image;
    EXPECT_TRUE(screen->ReadFrame(&image));
    return image;
  }
  std::shared_ptr<TAnimatedSprite> Sprite(int frame, float x, float y) {
    auto sprite = std::make_shared<TAnimatedSprite>();
    EXPECT_TRUE(sprite->Load("anim/test/test.xml"));
    sprite->SetCurrentFrame(frame);
    sprite->SetPosition(x, y);
    return sprite;
  }
  // The box of pixels that are not black.
  static TRect Lit(const TPixelImage& image) {
    TRect box{image.width, image.height, 0, 0};
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        if ((image.At(x, y) & 0xFFFFFF) != 0) {
          box.left = std::min(box.left, x), box.top = std::min(box.top, y);
          box.right = std::max(box.right, x + 1), box.bottom = std::max(box.bottom, y + 1);
        }
    return box;
  }
};

}  // namespace

TEST_F(SpriteTest, BothFileFormsLoadTheSameAnimation) {
  auto xml = LoadAnimatedTexture("anim/test/test");
  auto packed = LoadAnimatedTexture("anim/test/packed");
  ASSERT_TRUE(xml && packed);
  EXPECT_EQ(xml->Data(), packed->Data());
  EXPECT_EQ(LoadAnimatedTexture("anim/test/test"), xml);  // shared through the cache
  EXPECT_EQ(LoadAnimatedTexture("anim/test/missing"), nullptr);
  EXPECT_TRUE(LogHas("Animation anim/test/missing not found"));
  WriteFile("assets/anim/test/bad.anm", "ANIM\x01");
  InitFileSystem();
  EXPECT_EQ(LoadAnimatedTexture("anim/test/bad.anm"), nullptr);
  EXPECT_TRUE(LogHas("Animation anim/test/bad.anm refused: the file ends inside the header"));
  WriteFile("assets/anim/test/noimage.xml", R"(<sequence><img name="gone.png"/></sequence>)");
  InitFileSystem();
  EXPECT_EQ(LoadAnimatedTexture("anim/test/noimage"), nullptr);
  EXPECT_TRUE(LogHas("its image anim/test/gone.png cannot be loaded"));
}

TEST_F(SpriteTest, FrameSizeAndCurrentFrameRules) {
  auto animation = LoadAnimatedTexture("anim/test/test");
  ASSERT_TRUE(animation);
  EXPECT_EQ(animation->GetWidth(), 8);
  EXPECT_TRUE(animation->SetCurrentFrame(2));
  EXPECT_EQ(animation->GetWidth(), 16);
  EXPECT_FALSE(animation->SetCurrentFrame(4));  // equal to the frame count: ignored
  EXPECT_FALSE(animation->SetCurrentFrame(-2));
  EXPECT_EQ(animation->CurrentFrame(), 2);
  EXPECT_TRUE(animation->SetCurrentFrame(-1));
  EXPECT_EQ(animation->GetWidth(), 0);
}

TEST_F(SpriteTest, FramesArePlacedByTheirOriginPoint) {
  auto red = Sprite(0, 20, 20);  // 8 x 8, origin (2, 6)
  EXPECT_EQ(Lit(Frame(*red)), (TRect{18, 14, 26, 22}));
  EXPECT_EQ(red->GetBounds(), (TRect{18, 14, 26, 22}));
  EXPECT_EQ(Frame(*red).At(20, 18), kRed);
  auto blue = Sprite(2, 20, 20);  // 16 x 16, origin (8, 8)
  EXPECT_EQ(Lit(Frame(*blue)), (TRect{12, 12, 28, 28}));
  // Mirrored left to right, the origin point stays where it is: x from 20 - 6 to 20 + 2.
  red->SetDrawFlags(kDrawMirrorX);
  EXPECT_EQ(Lit(Frame(*red)), (TRect{14, 14, 22, 22}));
  EXPECT_EQ(red->GetBounds(), (TRect{14, 14, 22, 22}));
  // Scaled by 2 around the origin point.
  red->SetDrawFlags(0);
  red->SetScaleRotation(2, 2, 0);
  EXPECT_EQ(Lit(Frame(*red)), (TRect{16, 8, 32, 24}));
}

TEST_F(SpriteTest, EmptyAndHiddenFramesDrawNothing) {
  auto sprite = Sprite(3, 20, 20);  // w = 0
  EXPECT_TRUE(Lit(Frame(*sprite)).Empty());
  EXPECT_TRUE(sprite->GetBounds().Empty());
  sprite->SetCurrentFrame(1);
  EXPECT_FALSE(Lit(Frame(*sprite)).Empty());
  sprite->SetCurrentFrame(-1);
  EXPECT_TRUE(Lit(Frame(*sprite)).Empty());
  sprite->SetCurrentFrame(1);
  sprite->SetVisible(false);
  EXPECT_TRUE(Lit(Frame(*sprite)).Empty());
}

TEST_F(SpriteTest, LayerOrderAndAlphaReachThePixels) {
  // The parent shows the blue frame at (32, 32): x and y 24..40. Children are placed
  // relative to it: the red one covers 20..28 x 26..34, the green one 32..40 x 32..40.
  auto parent = Sprite(2, 32, 32);
  auto red = Sprite(0, -10, 0);
  auto green = Sprite(1, 4, 4);
  red->SetLayer(-1);
  green->SetLayer(1);
  parent->AddChild(green);
  parent->AddChild(red);
  EXPECT_EQ(parent->Children().front(), red);  // sorted by layer, not by adding
  TPixelImage image = Frame(*parent);
  EXPECT_EQ(image.At(26, 30), kBlue);   // the red child lies behind the parent's picture
  EXPECT_EQ(image.At(21, 30), kRed);    // and shows where the parent does not cover it
  EXPECT_EQ(image.At(35, 35), kGreen);  // the green child lies in front
  EXPECT_EQ(image.At(10, 10), 0xFF000000u);
  // Raising the red child's layer above the green one puts it on top of both.
  red->SetLayer(2);
  EXPECT_EQ(parent->Children().back(), red);
  image = Frame(*parent);
  EXPECT_EQ(image.At(26, 30), kRed);
  // Alpha multiplies down the tree: the parent at one half takes its children with it.
  parent->SetAlpha(0.5f);
  image = Frame(*parent);
  EXPECT_TRUE(ColorNear(image.At(26, 38), 0xFF000080u, 2));  // blue at half over black
  EXPECT_TRUE(ColorNear(image.At(38, 38), 0xFF008040u, 2));  // green at half over that
  // Depth 0 draws the sprite alone.
  parent->SetAlpha(1);
  image = Frame(*parent, 0);
  EXPECT_EQ(image.At(35, 35), kBlue);
  EXPECT_EQ(image.At(21, 30), 0xFF000000u);
}

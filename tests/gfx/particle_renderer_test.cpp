// The 2D particle renderer: quad geometry, colours, options, the shared buffers, and
// particles reaching the pixels in one draw call.
#include <gtest/gtest.h>

#include "gfx/2d_particle_renderer.h"
#include "gfx/lua_particle_system.h"
#include "gfx/particle_collection.h"
#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "script/script.h"
#include "tests/gfx/test_support.h"
#include "tests/script/script_test_fixture.h"

namespace {

class ParticleRendererTest : public ScriptTest {
 protected:
  // A particle record with the renderer's defaults at (x, y).
  static std::vector<float> Particle(float x, float y) { return {x, y, 0, -1, 1, 1, 1, 1, 1, 0}; }
  // A white w x h texture of the given name, loaded.
  std::shared_ptr<TTexture> White(const std::string& name, int w, int h) {
    const std::vector<uint8_t> png =
        PngBytes(MakeImage(w, h, [](int, int) { return 0xFFFFFFFFu; }));
    WriteFile("assets/" + name + ".png", std::string(png.begin(), png.end()));
    InitFileSystem();
    return GetTexture(name, 0);
  }
};

}  // namespace

TEST_F(ParticleRendererTest, QuadsAreSizedTurnedAndColoured) {
  auto screen = TOffscreenScreen::Create(32, 32);  // textures need a renderer
  if (!screen) GTEST_SKIP() << "no offscreen GL context";
  T2dParticleRenderer renderer;
  renderer.SetTexture(White("fx/white16", 16, 16));
  EXPECT_EQ(renderer.QuadSize().x, 16);
  std::vector<float> p = Particle(100, 50);
  TVertexColored quad[4];
  renderer.BuildQuad(p.data(), TVec3{}, 1, quad);
  // Corners (0,0), (1,0), (0,1), (1,1): x 91.5 to 107.5, y 41.5 to 57.5.
  EXPECT_FLOAT_EQ(quad[0].x, 91.5f);
  EXPECT_FLOAT_EQ(quad[0].y, 41.5f);
  EXPECT_FLOAT_EQ(quad[3].x, 107.5f);
  EXPECT_FLOAT_EQ(quad[3].y, 57.5f);
  EXPECT_EQ(quad[0].diffuse, 0xFFFFFFFFu);
  // Up (1, 0): the image's top faces right, so its left edge (corners 0 and 2) is at the top.
  p[2] = 1, p[3] = 0;
  renderer.BuildQuad(p.data(), TVec3{2, 3, 0.25f}, 1, quad);
  EXPECT_FLOAT_EQ(quad[0].x, 100 + 8 - 0.5f + 2);  // image top-left corner: screen top-right
  EXPECT_FLOAT_EQ(quad[0].y, 50 - 8 - 0.5f + 3);
  EXPECT_FLOAT_EQ(quad[2].x, 100 - 8 - 0.5f + 2);  // image bottom-left: screen top-left
  EXPECT_FLOAT_EQ(quad[2].y, 50 - 8 - 0.5f + 3);
  EXPECT_FLOAT_EQ(quad[0].z, 0.25f);
  // Colour bytes truncate; alpha 0.5 is 127; out-of-range components are clamped.
  p = Particle(0, 0);
  p[5] = 0.5f, p[6] = 2, p[7] = -1, p[8] = 0.5f;
  renderer.BuildQuad(p.data(), TVec3{}, 1, quad);
  EXPECT_EQ(quad[0].diffuse, 0x7F7FFF00u);
  renderer.BuildQuad(p.data(), TVec3{}, 0.5f, quad);
  EXPECT_EQ(quad[0].diffuse >> 24, 63u);
  // Scale grows the quad around the centre.
  p = Particle(100, 50);
  p[4] = 2;
  renderer.BuildQuad(p.data(), TVec3{}, 1, quad);
  EXPECT_FLOAT_EQ(quad[0].x, 83.5f);
}

TEST_F(ParticleRendererTest, OptionsAndDefaults) {
  T2dParticleRenderer renderer;
  renderer.SetOption("blendmode", 2.9f);
  EXPECT_EQ(renderer.BlendMode(), 2);
  renderer.SetOption("BlendMode", 1);
  renderer.SetOption("other", 3);
  EXPECT_EQ(renderer.BlendMode(), 2);
  EXPECT_EQ(renderer.GetDefaultCount(), 10);
  EXPECT_EQ(std::vector<float>(renderer.GetDefaults(), renderer.GetDefaults() + 10),
            (std::vector<float>{0, 0, 0, -1, 1, 1, 1, 1, 1, 0}));
  renderer.SetTexture(nullptr);  // no texture: the size stays
  EXPECT_EQ(renderer.QuadSize().x, 1);
}

TEST_F(ParticleRendererTest, SharedBuffersGrowToTwiceWhatDidNotFit) {
  std::vector<float> block(10 * 250);
  TParticleCollection pool;
  {
    T2dParticleRenderer a;
    T2dParticleRenderer b;
    pool.Reset(block.data(), 100, 10);
    a.Draw(TVec3{}, 1, pool);
    ASSERT_NE(T2dParticleRenderer::SharedBuffers(), nullptr);
    EXPECT_EQ(T2dParticleRenderer::SharedBuffers()->Quads(), 200);
    pool.Reset(block.data(), 150, 10);
    b.Draw(TVec3{}, 1, pool);
    EXPECT_EQ(T2dParticleRenderer::SharedBuffers()->Quads(), 200);
    pool.Reset(block.data(), 250, 10);
    a.Draw(TVec3{}, 1, pool);
    EXPECT_EQ(T2dParticleRenderer::SharedBuffers()->Quads(), 500);
    const auto& indices = T2dParticleRenderer::SharedBuffers()->indices;
    EXPECT_EQ(std::vector<uint16_t>(indices.begin() + 6 * 7, indices.begin() + 6 * 8),
              (std::vector<uint16_t>{28, 29, 30, 29, 31, 30}));
  }
  EXPECT_EQ(T2dParticleRenderer::SharedBuffers(), nullptr);  // gone with the last renderer
}

TEST_F(ParticleRendererTest, ParticlesReachThePixelsInOneDrawCall) {
  auto screen = TOffscreenScreen::Create(64, 64);
  if (!screen) GTEST_SKIP() << "no offscreen GL context";
  White("fx/dot", 8, 8);
  TLuaParticleSystem system;
  ASSERT_TRUE(system.Load(R"(
    SetTexture( 'fx/dot' )
    SetNumParticles( 10 )
    gX = 10
    pPosition:Init( fVec( gX, 12 ) )
    pColor:Init( Color( 1, 0, 0, 1 ) )
  )"));
  // Three particles: their positions come from script globals read at compile time.
  system.CreateParticles(1);
  system.Script().DoLuaString(
      "pPosition:Init( Vec2( 30, 12 ) ) pColor:Init( Color( 0, 1, 0, 1 ) )");
  system.CreateParticles(1);
  system.Script().DoLuaString(
      "pPosition:Init( Vec2( 50, 40 ) ) pColor:Init( Color( 0, 0, 1, 0.5 ) )");
  system.CreateParticles(1);
  EXPECT_EQ(DrawFrame(screen->Renderer(), [&] { system.Draw(TVec3{}); }), 1);
  TPixelImage image;
  ASSERT_TRUE(screen->ReadFrame(&image));
  EXPECT_EQ(image.At(10, 12) | 0xFF000000u, 0xFFFF0000u);
  EXPECT_EQ(image.At(30, 12) | 0xFF000000u, 0xFF00FF00u);
  EXPECT_TRUE(ColorNear(image.At(50, 40) | 0xFF000000u, 0xFF00007Fu, 3));
  EXPECT_EQ(image.At(20, 30) | 0xFF000000u, 0xFF000000u);
}

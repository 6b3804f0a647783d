// The animations and particle effects the content build packs into assets/assets.tvp (the
// tests run in the program folder beside it): every animation loads from the package with
// its sheet and plays its frames; both effects run a simulated second with their emitter
// where the game puts it, spawn, move, fade and expire, and draw in one call each.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <utility>

#include "data/asset_manager.h"
#include "files/file_system.h"
#include "frame/application_time.h"
#include "frame/clock.h"
#include "frame/task.h"
#include "frame/task_list.h"
#include "gfx/2d_particle_renderer.h"
#include "gfx/animated_sprite.h"
#include "gfx/animated_texture.h"
#include "gfx/lua_particle_system.h"
#include "gfx/particle_locus.h"
#include "platform/egl/offscreen_screen.h"
#include "script/script.h"
#include "script/script_code.h"
#include "tests/gfx/test_support.h"

namespace {

class ShippedEffectsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists("assets/assets.tvp")) << "the content build did not run";
    ResetFileSystem();
    ForgetCompiledScripts();
    InitFileSystem();
    screen = TOffscreenScreen::Create(800, 600);
    if (!screen) GTEST_SKIP() << "no offscreen GL context";
  }
  void TearDown() override {
    tasks.Clear();
    screen.reset();
    ForgetCompiledScripts();
    ResetFileSystem();
  }
  // Bright pixels of the last frame inside a box (drawn on black).
  int Lit(int left, int top, int right, int bottom) {
    TPixelImage image;
    EXPECT_TRUE(screen->ReadFrame(&image));
    int lit = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) lit += (image.At(x, y) & 0xFFFFFF) > 0x303030;
    return lit;
  }
  // Runs the system like the game's animation layer: 60 steps of 16 ms, the emission
  // stopped after 20; answers the most particles alive at once and the draw calls of the
  // last frame.
  void RunSecond(TLuaParticleSystem& system, int* most, int* drawCalls) {
    *most = 0;
    for (int frame = 0; frame < 60; ++frame) {
      if (frame == 20) system.Script().DoLuaString("gActive = false");
      system.Update(16);
      *most = std::max(*most, system.Particles().LiveCount());
      *drawCalls = DrawFrame(screen->Renderer(), [&] { system.Draw(TVec3{}); });
    }
  }

  // A shipped effect with its emitter at the locus (which must outlive it), stepped for
  // `steps` frames of 16 ms; the renderer's texture must have loaded.
  std::unique_ptr<TLuaParticleSystem> Effect(const char* script, FLocus& locus, int steps) {
    auto system = std::make_unique<TLuaParticleSystem>();
    system->AddFunctionMember("dLocus", &locus);
    EXPECT_TRUE(system->Load(script)) << script;
    EXPECT_NE(Renderer(*system).Texture(), nullptr) << script;
    for (int frame = 0; frame < steps; ++frame) system->Update(16);
    return system;
  }
  static T2dParticleRenderer& Renderer(TLuaParticleSystem& system) {
    return static_cast<T2dParticleRenderer&>(system.Renderer());
  }

  TAssetManager assets;
  TTaskList tasks;
  std::unique_ptr<TOffscreenScreen> screen;
};

}  // namespace

TEST_F(ShippedEffectsTest, DustPuffsWhereTheTileWas) {
  FLocus tile(400, 300);
  auto effect = Effect("gamepiece/dust.lua", tile, 10);  // its texture: gamepiece/small
  TLuaParticleSystem& dust = *effect;
  int most = 0, calls = 0;
  EXPECT_GT(dust.Particles().LiveCount(), 20);
  // Every particle starts on the tile and spreads from there.
  for (int slot = dust.Particles().FirstLive(); slot != TParticleCollection::kNone;
       slot = dust.Particles().NextLive(slot)) {
    const float* p = dust.Particles().Particle(slot);
    EXPECT_NEAR(p[0], 400, 60);
    EXPECT_NEAR(p[1], 300, 60);
  }
  RunSecond(dust, &most, &calls);
  EXPECT_GT(most, 50);
  EXPECT_EQ(calls, 1);
  // The last puffs were made half a second in; they are gone before a second has passed.
  for (int frame = 0; frame < 60; ++frame) dust.Update(16);
  EXPECT_EQ(dust.Particles().LiveCount(), 0);
}

TEST_F(ShippedEffectsTest, SparklesFlyOffTheSetsBoxSlot) {
  FLocus slot(400, 500);
  auto effect = Effect("gamepiece/flynpull.lua", slot, 12);  // the animated gamepiece/spark.xml
  TLuaParticleSystem& sparks = *effect;
  EXPECT_TRUE(Renderer(sparks).Texture()->IsKindOf(TAnimatedTexture::kType));
  EXPECT_EQ(Renderer(sparks).BlendMode(), kBlendAdditive);
  DrawFrame(screen->Renderer(), [&] { sparks.Draw(TVec3{}); });
  EXPECT_GT(Lit(300, 300, 500, 520), 50);  // up from the slot
  int most = 0, calls = 0;
  RunSecond(sparks, &most, &calls);
  EXPECT_GT(most, 20);
  EXPECT_EQ(calls, 1);
  // Gravity brought them up and back down: the fountain's tops are above the slot.
  float highest = 1e9f;
  for (int s = sparks.Particles().FirstLive(); s != TParticleCollection::kNone;
       s = sparks.Particles().NextLive(s))
    highest = std::min(highest, sparks.Particles().Particle(s)[1]);
  EXPECT_LT(highest, 450);
}

TEST_F(ShippedEffectsTest, EveryAnimationLoadsAndPlays) {
  TManualTime time(1000);
  TClock clock;
  clock.Start();
  // The menus name them with "assets/", the city map without; the day marker's pulse ends
  // on its last frame (the map starts it again at once), the others at rest on frame 1.
  const std::pair<const char*, int> animations[] = {
      {"anim/bling/bling.xml", 0},        {"anim/dotanim/dotanim.xml", 9},
      {"assets/anim/phone/phone.xml", 0}, {"assets/anim/rockinghorse/rockinghorse.xml", 0},
      {"assets/anim/train/train.xml", 0}, {"assets/anim/truck/truck.xml", 0}};
  for (const auto& [name, restFrame] : animations) {
    auto sprite = std::make_shared<TAnimatedSprite>();
    sprite->SetTasks(&tasks, &clock);
    ASSERT_TRUE(sprite->Load(name)) << name;
    ASSERT_TRUE(sprite->Play()) << name;
    std::set<int> shown{sprite->CurrentFrame()};
    uint32_t now = 1000;
    while (sprite->IsPlaying() && now < 20000) {
      now += 16;
      time.Set(now);
      tasks.Run(kUpdatePhase);
      shown.insert(sprite->CurrentFrame());
    }
    EXPECT_FALSE(sprite->IsPlaying()) << name << " never stops";
    EXPECT_EQ(static_cast<int>(shown.size()), sprite->Animation()->FrameCount()) << name;
    EXPECT_EQ(sprite->CurrentFrame(), restFrame) << name;
  }
}

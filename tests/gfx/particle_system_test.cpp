// Scripted particle systems: compiling expressions, refusing broken ones, the pool, spawning,
// stepping, ageing and expiry, and the machine against the same arithmetic done by Lua.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "gfx/2d_particle_renderer.h"
#include "gfx/lua_particle_system.h"
#include "gfx/particle_locus.h"
#include "platform/egl/offscreen_screen.h"
#include "script/lua/lua_api.h"
#include "script/lua/lua_lib.h"
#include "script/script.h"
#include "tests/gfx/particle_expressions.h"
#include "tests/gfx/test_support.h"
#include "tests/script/script_test_fixture.h"

namespace {

class ParticleSystemTest : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    InitFileSystem();
  }
  // Runs script text in the system and answers the global `name` as a number.
  static double Eval(TLuaParticleSystem& system, const std::string& expression) {
    system.Script().DoLuaString(("gValue = " + expression).c_str());
    return GlobalNumber(system.Script().GetState(), "gValue");
  }
  static std::vector<float> Floats(const TLuaParticleSystem& system, int slot) {
    const float* p = system.Particles().Particle(slot);
    return std::vector<float>(p, p + system.FloatsPerParticle());
  }
};

}  // namespace

TEST_F(ParticleSystemTest, RendererMembersComeFirstWithTheirDefaults) {
  TLuaParticleSystem system;
  EXPECT_EQ(system.FloatsPerParticle(), 10);
  EXPECT_EQ(Eval(system, "GetParticleMemberParts( pColor )"), 5);
  system.Load("pV = Allocate( 3 ) SetNumParticles( 4 ) CreateParticles( 1 )");
  ASSERT_EQ(system.Particles().LiveCount(), 1);
  EXPECT_EQ(Floats(system, system.Particles().FirstLive()),
            (std::vector<float>{0, 0, 0, -1, 1, 1, 1, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(Eval(system, "kBlendAdditiveAlpha"), 2);
}

TEST_F(ParticleSystemTest, CreatingFollowsTheAccumulator) {
  TLuaParticleSystem system;
  system.CreateParticles(3);  // no pool yet: nothing, and nothing remembered
  EXPECT_EQ(system.SpawnAccumulator(), 0);
  system.SetNumParticles(3);
  system.CreateParticles(0.5);
  EXPECT_EQ(system.Particles().LiveCount(), 1);
  EXPECT_EQ(system.SpawnAccumulator(), -0.5);
  system.CreateParticles(0.5);
  EXPECT_EQ(system.Particles().LiveCount(), 1);
  system.CreateParticles(10);  // two fit; the rest waits for room
  EXPECT_EQ(system.Particles().LiveCount(), 3);
  EXPECT_EQ(system.SpawnAccumulator(), 7);
  system.CreateParticles(NAN);
  EXPECT_EQ(system.SpawnAccumulator(), 7);
}

TEST_F(ParticleSystemTest, ParticlesSpawnStepAgeAndExpire) {
  TLuaParticleSystem system;
  ASSERT_TRUE(system.Load(R"(
    pAge = Allocate( 1 )
    pVelocity = Allocate( 2 )
    SetNumParticles( 50 )
    pPosition:Init( Vec2( 10, 20 ) )
    pVelocity:Init( Vec2( 100, -50 ) )
    pAge:Init( fAge() + 5 )
    pScale:Init( fTimeScale( 7 ) + 1 )
    pPosition:Anim( pPosition + fTimeScale( pVelocity ) )
    pAge:Anim( pAge + fAge() )
    Anim( fExpire( fGreater( pAge, 300 ) ) )
    gActive = true
    function Update( seconds ) if gActive then CreateParticles( seconds * 100 ) end end
  )"));
  system.Update(10);  // one particle, created and moved in the same step
  ASSERT_EQ(system.Particles().LiveCount(), 1);
  const int first = system.Particles().FirstLive();
  std::vector<float> p = Floats(system, first);
  EXPECT_EQ(p[4], 1);    // fTimeScale is 0 while creating
  EXPECT_EQ(p[10], 15);  // created at age 5, then 10 ms older
  EXPECT_NEAR(p[0], 11, 1e-5);
  EXPECT_NEAR(p[1], 19.5f, 1e-5);
  system.Update(10);
  EXPECT_EQ(system.Particles().LiveCount(), 2);
  EXPECT_EQ(system.Particles().FirstLive() != first, true);  // newest first
  system.Script().DoLuaString("gActive = false");
  for (int i = 0; i < 27; ++i) system.Update(10);
  // The first particle is 295 ms old, the second 285.
  EXPECT_EQ(system.Particles().LiveCount(), 2);
  system.Update(10);  // the first passes 300 and is freed after its step
  EXPECT_EQ(system.Particles().LiveCount(), 1);
  system.Update(10);
  EXPECT_EQ(system.Particles().LiveCount(), 0);
}

TEST_F(ParticleSystemTest, ValuesCompileToTheirSizes) {
  TLuaParticleSystem system;
  system.Load("pR = Allocate( 1 )");
  const size_t before = system.InitList().size();
  EXPECT_EQ(Eval(system, "CompileParam( 3 )"), 1);
  EXPECT_EQ(Eval(system, "CompileParam( '2.5' )"), 1);
  EXPECT_EQ(Eval(system, "CompileParam( pColor )"), 4);
  EXPECT_EQ(Eval(system, "CompileParam( { 1, 2, 3 } )"), 3);
  // A table of five numbers compiles nothing and answers no value.
  system.Script().DoLuaString(
      "gValue = 'none' gValue = CompileParam( { 1, 2, 3, 4, 5 } ) or 'nothing'");
  EXPECT_EQ(Global(system.Script().GetState(), "gValue"), "nothing");
  // { pR, 0 } is fVec of two arguments.
  EXPECT_EQ(Eval(system, "CompileParam( { pR, 0 } )"), 2);
  system.Script().DoLuaString("AccumulateInitStream()");
  ASSERT_EQ(system.InitList().size(), before + 7);
  const TParticleInstruction& vec = system.InitList().back();
  EXPECT_STREQ(vec.function->ClassName(), "FVec");
  EXPECT_EQ(vec.argCount, 2);
  EXPECT_EQ(Eval(system, "CompileParam( fFade( pR, pColor, 100, pColor ) )"), 4);
}

TEST_F(ParticleSystemTest, BrokenExpressionsAreRefusedAndTheScriptGoesOn) {
  TLuaParticleSystem system;
  ASSERT_TRUE(system.Load(R"(
    pVelocity = Allocate( 2 )
    pPosition:Anim( pPosition + pVelocty )
    pPosition:Anim( -pPosition )
    pPosition:Anim( fVec( 1, 2, 3, 4, 5 ) )
    pPosition:Anim( fRange( { 1, 2, 3, 4, 5 }, pVelocity ) )
    pPosition:Anim( pPosition + Init( 1 ) )
    Anim( CreateValue( 'assign', { pPosition, pTypo, 2 } ) )
    gReached = 'yes'
    pVelocity:Anim( pVelocity * 2 )
  )"));
  EXPECT_EQ(Global(system.Script().GetState(), "gReached"), "yes");
  EXPECT_TRUE(LogHas("Lua error: "));
  EXPECT_TRUE(LogHas(":3: particle expression refused: add cannot take 1 argument(s)"));
  EXPECT_TRUE(LogHas(":4: particle expression refused: Type not found: unm"));
  EXPECT_TRUE(LogHas(":5: particle expression refused: fVec cannot take 5 argument(s)"));
  EXPECT_TRUE(LogHas(":6: particle expression refused: argument 1 of fRange is not a value"));
  EXPECT_TRUE(LogHas(":8: particle expression refused: argument 2 of assign is not a value (nil)"));
  // Only the last statement made it: get, push, mul, and the assignment to the member.
  ASSERT_EQ(system.AnimList().size(), 4u);
  EXPECT_STREQ(system.AnimList()[2].function->ClassName(), "FMul");
  EXPECT_STREQ(system.AnimList()[3].function->ClassName(), "FAssignMember");
}

TEST_F(ParticleSystemTest, MembersAndFunctionMembersAreChecked) {
  TLuaParticleSystem system;
  FLocus locus(30, 40);
  EXPECT_EQ(system.AddFunctionMember("dLocus", &locus), -1);
  ASSERT_TRUE(system.Load(R"(
    SetNumParticles( 2 )
    pPosition:Init( dLocus + Vec2( 1, 2 ) )
    pColor:Init( dOther )
    big = Allocate( 240 )
    gBig = tostring( big )
  )"));
  EXPECT_TRUE(LogHas("particle expression refused: argument 1 of assign is not a value (nil)"));
  EXPECT_FALSE(LogHas("Allocate(240)"));
  system.CreateParticles(1);
  const std::vector<float> p = Floats(system, system.Particles().FirstLive());
  EXPECT_EQ(p[0], 31);
  EXPECT_EQ(p[1], 42);
  // The record is now 250 floats; six more do not fit.
  system.Script().DoLuaString("gFull = tostring( Allocate( 6 ) == nil )");
  EXPECT_EQ(Global(system.Script().GetState(), "gFull"), "true");
  EXPECT_TRUE(LogHas("Allocate(6): a particle holds at most 255 floats and 250 are taken"));
  // A member allocated after the pool exists keeps the particles that live.
  system.Script().DoLuaString("pLate = Allocate( 2 ) pLate:Anim( Vec2( 7, 8 ) )");
  EXPECT_EQ(system.FloatsPerParticle(), 252);
  system.Update(5);
  const std::vector<float> q = Floats(system, system.Particles().FirstLive());
  EXPECT_EQ(q[0], 31);
  EXPECT_EQ(q[250], 7);
  EXPECT_EQ(q[251], 8);
}

TEST_F(ParticleSystemTest, PoolHasACap) {
  TLuaParticleSystem system;
  system.SetNumParticles(100000);
  EXPECT_EQ(system.Particles().Capacity(), TLuaParticleSystem::kMaxParticles);
  EXPECT_TRUE(LogHas("100000 particles asked for, 16383 is the most a system holds"));
  system.CreateParticles(20000);
  EXPECT_EQ(system.Particles().LiveCount(), TLuaParticleSystem::kMaxParticles);
  system.SetNumParticles(-5);
  EXPECT_EQ(system.Particles().Capacity(), 0);
}

TEST_F(ParticleSystemTest, LoadsScriptFilesFromTheirFolder) {
  auto screen = TOffscreenScreen::Create(32, 32);  // textures need a renderer
  if (!screen) GTEST_SKIP() << "no offscreen GL context";
  const TPixelImage image = MakeImage(16, 8, [](int, int) { return 0xFFFFFFFFu; });
  const std::vector<uint8_t> png = PngBytes(image);
  WriteFile("assets/fx/puff/small.png", std::string(png.begin(), png.end()));
  WriteFile("assets/fx/puff/puff.lua",
            "SetTexture( 'small' ) SetBlendMode( kBlendAdditiveAlpha ) SetNumParticles( 8 )");
  InitFileSystem();
  TLuaParticleSystem system;
  EXPECT_FALSE(system.Load("fx/puff/missing.lua"));
  ASSERT_TRUE(system.Load("fx/puff/puff.lua"));
  auto& renderer = static_cast<T2dParticleRenderer&>(system.Renderer());
  ASSERT_NE(renderer.Texture(), nullptr);  // "small" is looked up as fx/puff/small
  EXPECT_EQ(renderer.QuadSize().x, 16);
  EXPECT_EQ(renderer.QuadSize().y, 8);
  EXPECT_EQ(renderer.BlendMode(), 2);
  EXPECT_EQ(system.Particles().Capacity(), 8);
  system.Load("SetTexture( 'nothing' )");
  EXPECT_TRUE(LogHas("Particle system: no texture fx/puff/nothing"));
  // A script with an error still loads; the error goes to the log.
  WriteFile("assets/fx/puff/broken.lua", "SetNumParticles( 4 ) error( 'kaputt' )");
  InitFileSystem();
  EXPECT_TRUE(system.Load("fx/puff/broken.lua"));
  EXPECT_TRUE(LogHas("kaputt"));
  WriteFile("assets/fx/puff/syntax.lua", "function (");
  InitFileSystem();
  EXPECT_FALSE(system.Load("fx/puff/syntax.lua"));
}

TEST_F(ParticleSystemTest, MachineAgreesWithTheSameExpressionsInLua) {
  TLuaParticleSystem system;
  ASSERT_TRUE(system.Load(kParticleStepScript));
  ASSERT_EQ(system.FloatsPerParticle(), kParticleStepFloats);
  TScript lua;
  luaopen_math(lua.GetState());
  lua.DoLuaString(kParticleStepLua);
  lua_State* L = lua.GetState();

  std::mt19937 random(1234);
  std::uniform_real_distribution<float> value(-200, 200), age(0, 1100), ms(1, 40);
  TParticleStack stack;
  std::vector<TParticleFunction*> noFunctions;
  int expired = 0;
  for (int n = 0; n < 2000; ++n) {
    float particle[kParticleStepFloats];
    for (float& f : particle) f = value(random);
    particle[12] = age(random);
    const uint32_t step = static_cast<uint32_t>(ms(random));
    // Lua's view of the same particle.
    lua_getglobal(L, "Step");
    lua_newtable(L);
    for (int i = 0; i < kParticleStepFloats; ++i) {
      lua_pushnumber(L, particle[i]);
      lua_rawseti(L, -2, i + 1);
    }
    lua_pushvalue(L, -1);
    lua_insert(L, -3);  // keep the table below the call
    lua_pushnumber(L, step);
    ASSERT_EQ(lua_pcall(L, 2, 1, 0), 0) << lua_tostring(L, -1);
    const bool luaAlive = lua_toboolean(L, -1) != 0;
    lua_pop(L, 1);

    TParticleView view;
    view.particle = particle;
    view.floatCount = kParticleStepFloats;
    view.members = &system.Members();
    view.elapsedMs = step;
    RunParticleInstructions(system.AnimList(), view, stack, noFunctions);
    ASSERT_EQ(view.keepAlive, luaAlive) << n;
    expired += luaAlive ? 0 : 1;
    for (int i = 0; i < kParticleStepFloats; ++i) {
      lua_rawgeti(L, -1, i + 1);
      const double expected = lua_tonumber(L, -1);
      lua_pop(L, 1);
      ASSERT_NEAR(particle[i], expected, 1e-4 * std::max(1.0, std::fabs(expected)))
          << "particle " << n << ", float " << i;
    }
    lua_pop(L, 1);
  }
  EXPECT_GT(expired, 0);
  EXPECT_LT(expired, 2000);
}

// The CPU cost of particles: one step of the expression machine over N particles, the same
// step written in Lua and run by the interpreter over the same number of particles, and
// building and submitting one frame of N particle quads. Drawing goes to a device that
// discards the triangles, so the figures are the engine's own work without a rasteriser;
// DrawParticlesOffscreen adds Mesa's software rasteriser for comparison.
//
// Read: step_ns_per_particle for the machine against LuaStep's; ParticleFrame/2000 is the
// whole CPU cost of 2 000 live particles per frame (step and draw).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/lua_particle_system.h"
#include "gfx/particle_renderer.h"
#include "gfx/renderer.h"
#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "platform/gl/gl_device.h"
#include "script/lua/lua_api.h"
#include "script/lua/lua_lib.h"
#include "script/script.h"
#include "tests/gfx/particle_expressions.h"
#include "tests/gfx/test_support.h"

namespace {

// A device that accepts everything and draws nothing.
class TDiscardDevice : public TRenderDevice {
 public:
  const TDeviceCaps& Caps() const override { return mCaps; }
  int Width() const override { return 800; }
  int Height() const override { return 600; }
  bool BeginFrame() override { return true; }
  TDeviceResult Present(bool) override { return TDeviceResult::kOk; }
  TDeviceResult CreateSurface(int, int, unsigned, TSurfaceId* out) override {
    *out = ++mNext;
    return TDeviceResult::kOk;
  }
  void DestroySurface(TSurfaceId) override {}
  bool Upload(TSurfaceId, const uint32_t*, int, int, int) override { return true; }
  bool SurfaceHasAlpha(TSurfaceId) const override { return true; }
  bool SetRenderTarget(TSurfaceId) override { return true; }
  bool SetViewport(const TRect&) override { return true; }
  void ClearDepth(float) override {}
  void ClearColor(uint32_t) override {}
  TDeviceResult Draw(const TDrawState&, int, int, const void* vertices, int, const uint16_t*,
                     int) override {
    benchmark::DoNotOptimize(vertices);
    return TDeviceResult::kOk;
  }
  bool CopyRect(TSurfaceId, const TRect&, TSurfaceId, const TRect&) override { return false; }
  bool ReadPixels(TSurfaceId, const TRect&, uint32_t*) override { return false; }

 private:
  TDeviceCaps mCaps;
  TSurfaceId mNext = 0;
};

// The benchmark effect: the test expressions over `count` particles of all ages, refilled
// to `count` on every step as they expire.
std::string EffectScript(int count) {
  return std::string(kParticleStepScript) + "SetNumParticles( " + std::to_string(count) +
         " )\n"
         "pAge:Init( fRange( 0, 900 ) )\n"
         "pPosition:Init( fRange( Vec2( 0, 0 ), Vec2( 800, 600 ) ) )\n"
         "pVelocity:Init( fRange( Vec2( -50, -50 ), Vec2( 50, 50 ) ) )\n"
         "pSpinSpeed:Init( fRange( -3, 3 ) )\n"
         "function Update( s ) CreateParticles( " +
         std::to_string(count) + " ) end\n";
}

// Time per particle of the timed loop, for a counter.
benchmark::Counter PerParticle(const benchmark::State& state, int count) {
  return benchmark::Counter(static_cast<double>(state.iterations()) * count,
                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A renderer on a discarding device, installed as the program's renderer while it lives.
class TDiscardScreen {
 public:
  TDiscardScreen() : mRenderer(&mDevice) { SetRenderer(&mRenderer); }
  ~TDiscardScreen() { SetRenderer(nullptr); }
  TRenderer& Renderer() { return mRenderer; }

 private:
  TDiscardDevice mDevice;
  TRenderer mRenderer;
};

// The benchmark effect, stepped once, drawn with a 16 x 16 texture of the installed renderer.
std::unique_ptr<TLuaParticleSystem> Effect(int count) {
  auto system = std::make_unique<TLuaParticleSystem>();
  system->Load(EffectScript(count));
  auto source = std::make_shared<TMemorySource>();
  source->files["dot.png"] = PngBytes(MakeImage(16, 16, [](int, int) { return 0xFFFFFFFFu; }));
  system->Renderer().SetTexture(LoadTexture(source, "dot.png", 0));
  system->Update(16);
  return system;
}

void MachineStep(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TLuaParticleSystem system;
  system.Load(EffectScript(count));
  system.Update(16);
  for (auto _ : state) system.Update(16);
  state.counters["particles"] = system.Particles().LiveCount();
  state.counters["step_ns_per_particle"] = PerParticle(state, count);
}
BENCHMARK(MachineStep)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A script state with the math library and Step( p, ms ), the Lua form of the step.
std::unique_ptr<TScript> LuaStepScript() {
  auto lua = std::make_unique<TScript>();
  luaopen_math(lua->GetState());
  lua->DoLuaString(kParticleStepLua);
  return lua;
}

// The same arithmetic as MachineStep's expressions, in Lua, at its cheapest: a loop inside
// the interpreter over particles held as Lua tables (one call from the engine per step; the
// renderer could not read such particles without copying them out).
void LuaStep(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  auto lua = LuaStepScript();
  lua->DoLuaString(("gParticles = {}\n"
                    "for i = 1, " +
                    std::to_string(count) +
                    " do\n"
                    "  local p = {}\n"
                    "  for k = 1, 18 do p[ k ] = math.random() * 100 end\n"
                    "  p[ 13 ] = math.random() * 900\n"
                    "  gParticles[ i ] = p\n"
                    "end\n"
                    "function StepAll( ms )\n"
                    "  local n = table.getn( gParticles )\n"
                    "  for i = 1, n do\n"
                    "    local p = gParticles[ i ]\n"
                    "    if not Step( p, ms ) then p[ 13 ] = 0 end\n"
                    "  end\n"
                    "end\n")
                       .c_str());
  lua_State* L = lua->GetState();
  for (auto _ : state) {
    lua_getglobal(L, "StepAll");
    lua_pushnumber(L, 16);
    lua_pcall(L, 1, 0, 0);
  }
  state.counters["step_ns_per_particle"] = PerParticle(state, count);
}
BENCHMARK(LuaStep)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// What the expression machine replaces: the engine calling Lua once per particle with the
// particle's floats (kept in native memory, where the renderer reads them) and taking the
// results back.
void LuaStepPerParticle(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  auto lua = LuaStepScript();
  lua_State* L = lua->GetState();
  std::vector<float> particles(static_cast<size_t>(count) * kParticleStepFloats);
  for (size_t i = 0; i < particles.size(); ++i) particles[i] = static_cast<float>(i % 97);
  lua_newtable(L);
  const int table = lua_gettop(L);
  for (auto _ : state) {
    for (int n = 0; n < count; ++n) {
      float* p = particles.data() + static_cast<size_t>(n) * kParticleStepFloats;
      for (int i = 0; i < kParticleStepFloats; ++i) {
        lua_pushnumber(L, p[i]);
        lua_rawseti(L, table, i + 1);
      }
      lua_getglobal(L, "Step");
      lua_pushvalue(L, table);
      lua_pushnumber(L, 16);
      lua_pcall(L, 2, 1, 0);
      if (!lua_toboolean(L, -1)) p[12] = 0;
      lua_pop(L, 1);
      for (int i = 0; i < kParticleStepFloats; ++i) {
        lua_rawgeti(L, table, i + 1);
        p[i] = static_cast<float>(lua_tonumber(L, -1));
        lua_pop(L, 1);
      }
    }
  }
  state.counters["step_ns_per_particle"] = PerParticle(state, count);
}
BENCHMARK(LuaStepPerParticle)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Builds the quads of `count` particles and hands them to the renderer: one frame.
void DrawParticles(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  TDiscardScreen screen;
  auto system = Effect(count);
  for (auto _ : state)
    state.counters["draw_calls"] = DrawFrame(screen.Renderer(), [&] { system->Draw(TVec3{}); });
  state.counters["draw_ns_per_particle"] = PerParticle(state, count);
}
BENCHMARK(DrawParticles)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A whole frame of a live effect: one step and one draw.
void ParticleFrame(benchmark::State& state) {
  TDiscardScreen screen;
  auto system = Effect(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    system->Update(16);
    DrawFrame(screen.Renderer(), [&] { system->Draw(TVec3{}); });
  }
}
BENCHMARK(ParticleFrame)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The draw with Mesa's software rasteriser behind it (16 x 16 quads), for comparison.
void DrawParticlesOffscreen(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  auto screen = TOffscreenScreen::Create(800, 600);
  if (!screen) {
    state.SkipWithError("no offscreen OpenGL context");
    return;
  }
  auto system = Effect(count);
  for (auto _ : state) {
    DrawFrame(screen->Renderer(), [&] { system->Draw(TVec3{}); });
    uint32_t pixel = 0;
    screen->Device().ReadPixels(kBackBuffer, TRect{0, 0, 1, 1}, &pixel);
    benchmark::DoNotOptimize(pixel);
  }
}
BENCHMARK(DrawParticlesOffscreen)->Arg(2000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

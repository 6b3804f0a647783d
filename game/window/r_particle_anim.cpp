#include "game/window/r_particle_anim.h"

#include "gfx/lua_particle_system.h"
#include "script/script.h"

TParticleEmitter::TParticleEmitter(const std::string& script, float x, float y)
    : mLocus(x, y), mSystem(std::make_unique<TLuaParticleSystem>()) {
  mSystem->AddFunctionMember("dLocus", &mLocus);
  // A missing or broken effect is logged by the loader; the animation then shows nothing.
  if (!mSystem->Load(script)) mSystem.reset();
}

TParticleEmitter::~TParticleEmitter() = default;

void TParticleEmitter::StopEmitting() {
  if (mSystem) mSystem->Script().DoLuaString("gActive = false");
}

void TParticleEmitter::Update(int elapsedMs) {
  if (mSystem) mSystem->Update(static_cast<unsigned>(elapsedMs));
}

void TParticleEmitter::Draw() {
  if (mSystem) mSystem->Draw(TVec3{0, 0, 0});
}

int TParticleEmitter::LiveParticles() const {
  return mSystem ? mSystem->Particles().LiveCount() : 0;
}

void RParticleAnim::AddEmitter(const std::string& script, float x, float y) {
  auto emitter = std::make_unique<TParticleEmitter>(script, x, y);
  if (emitter->Loaded()) mEmitters.push_back(std::move(emitter));
}

bool RParticleAnim::Update(int elapsedMs) {
  ++mFrame;
  if (mFrame > mLifeSteps - 1) {
    mEmitters.clear();
    return false;
  }
  if (mFrame == kEmitSteps)
    for (auto& emitter : mEmitters) emitter->StopEmitting();
  for (auto& emitter : mEmitters) emitter->Update(elapsedMs);
  return true;
}

void RParticleAnim::Draw(TRenderer&) {
  for (auto& emitter : mEmitters) emitter->Draw();
}

int RParticleAnim::LiveParticles() const {
  int count = 0;
  for (const auto& emitter : mEmitters) count += emitter->LiveParticles();
  return count;
}

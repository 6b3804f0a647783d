// The particle animations of the game: RMatchAnim, a puff of dust where a matched tile was
// ("gamepiece/dust.lua"), and RSetsAnim, particles flying off each slot of the sets box
// ("gamepiece/flynpull.lua"). Each system emits from its "dLocus" point for 20 steps, then
// its particles run out; the system is released when the animation ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/window/k_anim.h"
#include "gfx/particle_locus.h"

class TLuaParticleSystem;

// One particle system with its emitter point (the point must outlive the system).
class TParticleEmitter {
 public:
  TParticleEmitter(const std::string& script, float x, float y);
  ~TParticleEmitter();
  bool Loaded() const { return mSystem != nullptr; }
  void StopEmitting();
  void Update(int elapsedMs);
  void Draw();
  int LiveParticles() const;

 private:
  FLocus mLocus;
  std::unique_ptr<TLuaParticleSystem> mSystem;
};

// Particle systems that emit for kEmitSteps and end after their life's steps.
class RParticleAnim : public KAnim {
 public:
  static constexpr int kEmitSteps = 20;

  RParticleAnim(int lifeSteps) : mLifeSteps(lifeSteps) {}
  void AddEmitter(const std::string& script, float x, float y);

  bool Update(int elapsedMs) override;
  void Draw(TRenderer& renderer) override;
  int Systems() const { return static_cast<int>(mEmitters.size()); }
  int LiveParticles() const;

 private:
  std::vector<std::unique_ptr<TParticleEmitter>> mEmitters;
  int mLifeSteps;
  int mFrame = 0;
};

// Dust at a matched tile's centre; two seconds.
class RMatchAnim : public RParticleAnim {
 public:
  static constexpr char kScript[] = "gamepiece/dust.lua";
  static constexpr int kLifeSteps = 120;
  RMatchAnim(float x, float y) : RParticleAnim(kLifeSteps) { AddEmitter(kScript, x, y); }
};

// One system per slot of the sets box; six and a half seconds.
class RSetsAnim : public RParticleAnim {
 public:
  static constexpr char kScript[] = "gamepiece/flynpull.lua";
  static constexpr int kLifeSteps = 400;
  RSetsAnim() : RParticleAnim(kLifeSteps) {}
};

// TParticleRenderer: what draws a particle system's live particles. The renderer also owns
// the first members of every particle record and says what they hold when a particle is
// created.
#pragma once

#include <memory>
#include <string>

#include "gfx/vec.h"

class TParticleCollection;
class TTexture;

class TParticleRenderer {
 public:
  virtual ~TParticleRenderer() = default;
  // Draws the live particles (newest first) moved by offset, their alpha scaled by
  // alphaFactor.
  virtual void Draw(const TVec3& offset, float alphaFactor,
                    const TParticleCollection& particles) = 0;
  // Null is allowed: nothing is drawn until a texture is set.
  virtual void SetTexture(std::shared_ptr<TTexture> texture) = 0;
  virtual void SetOption(const std::string& name, float value) = 0;
  // The creation values of the renderer's members.
  virtual const float* GetDefaults() const = 0;
  virtual int GetDefaultCount() const = 0;
};

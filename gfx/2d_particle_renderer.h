// T2dParticleRenderer: draws each particle as a textured, coloured quad of the texture's
// size times the particle's scale, turned so that the image's top faces the particle's up
// vector. All live particles of a system go to the renderer as one indexed triangle list
// (the render batch then joins consecutive systems with the same texture and blend mode),
// so a frame costs one draw call per system at most and no state changes per particle.
//
// Its members, the first ten floats of every particle record:
//   pPosition (2) centre in pixels        0, 0
//   pUp       (2) unit vector the top of the image points along (y grows downward) 0, -1
//   pScale    (1) size factor             1
//   pColor    (4) red, green, blue, alpha 1, 1, 1, 1
//   pFrame    (1) frame number of an animated texture 0
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/particle_renderer.h"
#include "gfx/render_types.h"

class T2dParticleRenderer : public TParticleRenderer {
 public:
  static constexpr int kMemberFloats = 10;
  enum : int { kPosition = 0, kUp = 2, kScale = 4, kColor = 5, kFrame = 9 };
  // The most quads one draw call can address with 16-bit indices.
  static constexpr int kMaxQuads = 16383;

  T2dParticleRenderer();
  ~T2dParticleRenderer() override;
  T2dParticleRenderer(const T2dParticleRenderer&) = delete;
  T2dParticleRenderer& operator=(const T2dParticleRenderer&) = delete;

  void Draw(const TVec3& offset, float alphaFactor, const TParticleCollection& particles) override;
  // The quad size becomes the texture's size at this moment (an animated texture's current
  // frame); without a texture the size stays and nothing is drawn.
  void SetTexture(std::shared_ptr<TTexture> texture) override;
  // "blendmode": the blend mode, truncated; other names are ignored.
  void SetOption(const std::string& name, float value) override;
  const float* GetDefaults() const override { return mDefaults; }
  int GetDefaultCount() const override { return kMemberFloats; }

  int BlendMode() const { return mBlendMode; }
  TVec2 QuadSize() const { return mQuadSize; }
  const std::shared_ptr<TTexture>& Texture() const { return mTexture; }

  // Fills the four vertices of one particle (exposed for tests).
  void BuildQuad(const float* particle, const TVec3& offset, float alphaFactor,
                 TVertexColored* out) const;

  // The vertex and index buffers all instances share: they grow only, to twice the
  // capacity that did not fit (at most kMaxQuads), and go with the last instance.
  struct TSharedBuffers {
    std::vector<TVertexColored> vertices;
    std::vector<uint16_t> indices;
    int Quads() const { return static_cast<int>(vertices.size() / 4); }
  };
  static const TSharedBuffers* SharedBuffers();

 private:
  int mBlendMode = 0;
  TVec2 mQuadSize{1, 1};
  float mDefaults[kMemberFloats] = {0, 0, 0, -1, 1, 1, 1, 1, 1, 0};
  std::shared_ptr<TTexture> mTexture;
  std::shared_ptr<TSharedBuffers> mBuffers;
};

#include "gfx/2d_particle_renderer.h"

#include <algorithm>
#include <cmath>

#include "gfx/animated_texture.h"
#include "gfx/particle_collection.h"
#include "gfx/renderer.h"

namespace {

std::weak_ptr<T2dParticleRenderer::TSharedBuffers>& SharedSlot() {
  static std::weak_ptr<T2dParticleRenderer::TSharedBuffers> shared;
  return shared;
}

// Corners of a quad in vertex order, as (cu, cv).
constexpr float kCorners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};

// A colour component as a byte: out-of-range components are clamped, the rest truncated.
uint32_t ComponentByte(float value) {
  if (!(value > 0.0f)) return 0;
  if (value >= 1.0f) return 255;
  return static_cast<uint32_t>(value * 255.0f);
}

// Makes sure the buffers hold `quads` quads, growing them to twice that (within the
// 16-bit index range) with their fixed fields and indices written once.
void Reserve(T2dParticleRenderer::TSharedBuffers& buffers, int quads) {
  if (buffers.Quads() >= quads) return;
  const int size = std::min(2 * quads, T2dParticleRenderer::kMaxQuads);
  buffers.vertices.resize(static_cast<size_t>(size) * 4);
  buffers.indices.resize(static_cast<size_t>(size) * 6);
  for (int q = 0; q < size; ++q) {
    for (int corner = 0; corner < 4; ++corner) {
      TVertexColored& v = buffers.vertices[static_cast<size_t>(q) * 4 + corner];
      v.reserved = 0.5f;
      v.specular = 0xFFFFFFFFu;
      v.u = kCorners[corner][0];
      v.v = kCorners[corner][1];
    }
    const uint16_t base = static_cast<uint16_t>(4 * q);
    const uint16_t quad[6] = {base,
                              static_cast<uint16_t>(base + 1),
                              static_cast<uint16_t>(base + 2),
                              static_cast<uint16_t>(base + 1),
                              static_cast<uint16_t>(base + 3),
                              static_cast<uint16_t>(base + 2)};
    std::copy(quad, quad + 6, buffers.indices.begin() + static_cast<ptrdiff_t>(q) * 6);
  }
}

}  // namespace

T2dParticleRenderer::T2dParticleRenderer() {
  mBuffers = SharedSlot().lock();
  if (!mBuffers) {
    mBuffers = std::make_shared<TSharedBuffers>();
    SharedSlot() = mBuffers;
  }
}

T2dParticleRenderer::~T2dParticleRenderer() = default;

const T2dParticleRenderer::TSharedBuffers* T2dParticleRenderer::SharedBuffers() {
  return SharedSlot().lock().get();
}

void T2dParticleRenderer::SetTexture(std::shared_ptr<TTexture> texture) {
  mTexture = std::move(texture);
  if (mTexture) {
    mQuadSize =
        TVec2{static_cast<float>(mTexture->GetWidth()), static_cast<float>(mTexture->GetHeight())};
  }
}

void T2dParticleRenderer::SetOption(const std::string& name, float value) {
  if (name != "blendmode") return;
  if (!(value > -1000.0f && value < 1000.0f)) return;  // not a mode at all
  mBlendMode = static_cast<int>(value);
}

void T2dParticleRenderer::BuildQuad(const float* p, const TVec3& offset, float alphaFactor,
                                    TVertexColored* out) const {
  const float sx = mQuadSize.x * p[kScale];
  const float sy = mQuadSize.y * p[kScale];
  const float px = p[kPosition], py = p[kPosition + 1];
  const float ux = p[kUp], uy = p[kUp + 1];
  uint32_t alpha = ComponentByte(p[kColor + 3]);
  alpha = static_cast<uint32_t>(static_cast<float>(alpha) * std::clamp(alphaFactor, 0.0f, 1.0f));
  const uint32_t colour = alpha << 24 | ComponentByte(p[kColor]) << 16 |
                          ComponentByte(p[kColor + 1]) << 8 | ComponentByte(p[kColor + 2]);
  for (int corner = 0; corner < 4; ++corner) {
    const float du = kCorners[corner][0] - 0.5f;
    const float dv = kCorners[corner][1] - 0.5f;
    // The image's horizontal axis runs along (-uy, ux) and its top faces (ux, uy).
    out[corner].x = px - uy * sx * du - ux * sy * dv - 0.5f + offset.x;
    out[corner].y = py + ux * sx * du - uy * sy * dv - 0.5f + offset.y;
    out[corner].z = offset.z;
    out[corner].diffuse = colour;
  }
}

void T2dParticleRenderer::Draw(const TVec3& offset, float alphaFactor,
                               const TParticleCollection& particles) {
  const int capacity = std::min(particles.Capacity(), kMaxQuads);
  if (capacity == 0) return;
  Reserve(*mBuffers, capacity);
  TRenderer* renderer = GetRenderer();
  if (!mTexture || !renderer || !renderer->SurfacesUsable() || particles.LiveCount() == 0) return;
  const auto* animation = mTexture->IsKindOf(TAnimatedTexture::kType)
                              ? static_cast<const TAnimatedTexture*>(mTexture.get())
                              : nullptr;
  const TTexture* sheet = animation ? animation->Sheet().get() : mTexture.get();
  const TTextureData* data = sheet ? sheet->Data() : nullptr;
  if (!data || !data->Usable()) return;
  // Texture coordinates are fractions of the surface, which may be larger than the image.
  const float surfaceW = static_cast<float>(data->SurfaceWidth());
  const float surfaceH = static_cast<float>(data->SurfaceHeight());
  const float imageU = static_cast<float>(data->ImageWidth()) / surfaceW;
  const float imageV = static_cast<float>(data->ImageHeight()) / surfaceH;
  TVertexColored* vertices = mBuffers->vertices.data();
  int quads = 0;
  for (int slot = particles.FirstLive(); slot != TParticleCollection::kNone && quads < capacity;
       slot = particles.NextLive(slot), ++quads) {
    const float* p = particles.Particle(slot);
    TVertexColored* quad = vertices + static_cast<size_t>(quads) * 4;
    BuildQuad(p, offset, alphaFactor, quad);
    float u0 = 0, v0 = 0, u1 = imageU, v1 = imageV;
    if (animation) {
      const float frameNumber = p[kFrame];
      const TAnimationFrame* frame =
          frameNumber >= 0 && frameNumber < static_cast<float>(animation->FrameCount())
              ? animation->Frame(static_cast<int>(frameNumber))
              : nullptr;
      if (frame) {
        u0 = static_cast<float>(frame->x) / surfaceW;
        v0 = static_cast<float>(frame->y) / surfaceH;
        u1 = static_cast<float>(frame->x + frame->w) / surfaceW;
        v1 = static_cast<float>(frame->y + frame->h) / surfaceH;
      } else {
        u0 = v0 = u1 = v1 = 0;
      }
    }
    for (int corner = 0; corner < 4; ++corner) {
      quad[corner].u = kCorners[corner][0] != 0 ? u1 : u0;
      quad[corner].v = kCorners[corner][1] != 0 ? v1 : v0;
    }
  }
  renderer->SetTexture(data->Surface());
  renderer->SetBlendMode(mBlendMode);
  renderer->DrawIndexedVertices(kTriangleList, TVertexArray{kVertex2d, vertices, quads * 4},
                                mBuffers->indices.data(), quads * 6);
  renderer->SetBlendMode(kBlendNormal);
}

#include "gfx/texture.h"

#include <utility>

#include "data/asset_manager.h"
#include "gfx/file_image_source.h"
#include "gfx/renderer.h"
#include "gfx/texture_loader.h"
#include "gfx/texture_name.h"

const TAssetType TTexture::kType = {"TTexture", &TAsset::kType};

TTransform2d Compose(const TTransform2d& outer, const TTransform2d& inner) {
  return TTransform2d{outer.a * inner.a + outer.c * inner.b,
                      outer.b * inner.a + outer.d * inner.b,
                      outer.a * inner.c + outer.c * inner.d,
                      outer.b * inner.c + outer.d * inner.d,
                      outer.a * inner.tx + outer.c * inner.ty + outer.tx,
                      outer.b * inner.tx + outer.d * inner.ty + outer.ty};
}

TTexture::TTexture(std::unique_ptr<TTextureData> data) : mData(std::move(data)) {}
TTexture::~TTexture() = default;

void TTexture::Release() {
  if (mData) mData->ReleaseVideoMemory();
}

void TTexture::Restore() {
  if (mData) mData->Restore();
}

int TTexture::GetWidth() const {
  return mData ? mData->ImageWidth() : 0;
}
int TTexture::GetHeight() const {
  return mData ? mData->ImageHeight() : 0;
}

void TTexture::Draw(const TDrawParams& drawing) {
  if (!mData || !mData->Usable()) return;
  TRenderer* renderer = mData->Renderer();
  if (!renderer->SurfacesUsable()) return;
  TRect source = drawing.flags & kDrawSourceRect
                     ? drawing.source
                     : TRect{0, 0, mData->ImageWidth(), mData->ImageHeight()};
  // Texture coordinates count surface pixels: drawing units times the source's scale.
  float sw = static_cast<float>(mData->SurfaceWidth()) / mData->SourceScaleX();
  float sh = static_cast<float>(mData->SurfaceHeight()) / mData->SourceScaleY();
  const TQuadTexCoords uv{static_cast<float>(source.left) / sw, static_cast<float>(source.top) / sh,
                          static_cast<float>(source.right) / sw,
                          static_cast<float>(source.bottom) / sh};
  DrawPictureQuad(*renderer, mData->Surface(), drawing, source, uv);
}

void DrawPictureQuad(TRenderer& renderer, TSurfaceId surface, const TDrawParams& drawing,
                     const TRect& source, const TQuadTexCoords& uv) {
  float halfW = static_cast<float>(source.Width()) / 2;
  float halfH = static_cast<float>(source.Height()) / 2;
  // Corners in fan order: top-left, top-right, bottom-right, bottom-left.
  float corners[4][2] = {{-halfW, -halfH}, {halfW, -halfH}, {halfW, halfH}, {-halfW, halfH}};
  if (drawing.flags & kDrawTransform) {
    const TTransform2d& t = drawing.transform;
    for (auto& corner : corners) {
      float x = corner[0], y = corner[1];
      corner[0] = t.a * x + t.c * y + t.tx;
      corner[1] = t.b * x + t.d * y + t.ty;
    }
  }
  float u0 = uv.u0, u1 = uv.u1, v0 = uv.v0, v1 = uv.v1;
  if (drawing.flags & kDrawMirrorX) std::swap(u0, u1);
  if (drawing.flags & kDrawMirrorY) std::swap(v0, v1);
  const float coords[4][2] = {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
  uint32_t colour = PackArgb(drawing.red, drawing.green, drawing.blue, drawing.alpha);
  TVertexColored vertices[4];
  for (int i = 0; i < 4; ++i)
    vertices[i] = TVertexColored{corners[i][0] + drawing.x,
                                 corners[i][1] + drawing.y,
                                 0.1f,
                                 0.5f,
                                 colour,
                                 0xFF000000u,
                                 coords[i][0],
                                 coords[i][1]};
  renderer.SetTexture(surface);
  if (drawing.blendMode != -1) renderer.SetBlendMode(drawing.blendMode);
  renderer.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, vertices, 4});
}

void TTexture::DrawAt(float x, float y, float scaleX, float scaleY, float alpha, int blendMode) {
  TDrawParams drawing;
  drawing.x = x;
  drawing.y = y;
  drawing.alpha = alpha;
  drawing.blendMode = blendMode;
  if (scaleX != 1 || scaleY != 1) {
    drawing.flags |= kDrawTransform;
    drawing.transform.a = scaleX;
    drawing.transform.d = scaleY;
  }
  Draw(drawing);
}

bool TTexture::CopyRect(int x, int y, const TRect& source, TTexture& target) {
  if (!mData || !target.mData) return false;
  return mData->CopyRect(x, y, source, *target.mData);
}

std::shared_ptr<TTexture> LoadTexture(std::shared_ptr<TImageSource> source, const std::string& name,
                                      int options) {
  auto data =
      LoadTextureData(GetRenderer(), std::move(source), name, "", TextureFlagsForOptions(options));
  if (!data) return nullptr;
  return std::make_shared<TTexture>(std::move(data));
}

std::shared_ptr<TTexture> LoadTexture(std::shared_ptr<TImageSource> source, const std::string& name,
                                      const std::string& mask, bool mipmap) {
  uint8_t flags = TTextureData::kHasAlpha | (mipmap ? TTextureData::kMipmap : 0);
  auto data = LoadTextureData(GetRenderer(), std::move(source), name, mask, flags);
  if (!data) return nullptr;
  return std::make_shared<TTexture>(std::move(data));
}

namespace {

// The cached texture under key, or the result of load() entered under it.
template <typename Load>
std::shared_ptr<TTexture> Shared(const std::string& key, Load load) {
  TAssetManager* manager = TAssetManager::Get();
  if (manager) {
    if (auto texture = manager->GetAssetAs<TTexture>(key)) return texture;
  }
  std::shared_ptr<TTexture> texture = load();
  if (texture && manager) manager->AddAsset(key, texture);
  return texture;
}

}  // namespace

std::shared_ptr<TTexture> GetTexture(const std::string& name, int options) {
  uint8_t flags = TextureFlagsForOptions(options);
  SplitTextureOptions(name, &flags);
  return Shared(TextureAssetKey(name, "", flags),
                [&] { return LoadTexture(TFileImageSource::Shared(), name, options); });
}

std::shared_ptr<TTexture> GetTexture(const std::string& name, const std::string& mask,
                                     bool mipmap) {
  uint8_t flags = TTextureData::kHasAlpha | (mipmap ? TTextureData::kMipmap : 0);
  SplitTextureOptions(name, &flags);
  return Shared(TextureAssetKey(name, mask, flags),
                [&] { return LoadTexture(TFileImageSource::Shared(), name, mask, mipmap); });
}

std::shared_ptr<TTexture> CreateTexture(int width, int height, bool alpha) {
  TRenderer* renderer = GetRenderer();
  if (!renderer || width <= 0 || height <= 0 || width > 8192 || height > 8192) return nullptr;
  uint8_t flags = TTextureData::kRenderTarget | (alpha ? TTextureData::kHasAlpha : 0);
  auto data = std::make_unique<TTextureData>(renderer, flags);
  if (!data->CreateSurface(NextPowerOfTwo(width), NextPowerOfTwo(height))) return nullptr;
  data->SetImageSize(width, height);
  auto texture = std::make_shared<TTexture>(std::move(data));
  if (TAssetManager* manager = TAssetManager::Get())
    manager->AddAsset(BlankTextureKey(texture.get()), texture);
  return texture;
}

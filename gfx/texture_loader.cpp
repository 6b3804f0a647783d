#include "gfx/texture_loader.h"

#include <algorithm>

#include "frame/log.h"
#include "gfx/renderer.h"
#include "gfx/texture_name.h"

namespace {

constexpr int kMaxTextureSide = 1024;

bool HasPng(const std::string& name) {
  return name.find(".png") != std::string::npos;
}
bool HasJpg(const std::string& name) {
  return name.find(".jpg") != std::string::npos;
}

// Replaces `image` by the larger version of the picture `name` when the renderer draws an
// enlarged screen and the package has one that is larger in both directions. Answers the
// picture's size in drawing units (the small picture's) when it did.
bool TakeLargerSource(TImageSource& source, const std::string& name, TPixelImage* image) {
  const std::string largeName = LargerSourceName(source, name);
  if (largeName.empty()) return false;
  TPixelImage large;
  if (!DecodeImageFile(source, largeName, &large)) {
    Log("The larger picture %s cannot be read; %s is used", largeName.c_str(), name.c_str());
    return false;
  }
  if (large.width <= image->width || large.height <= image->height) {
    Log("The larger picture %s (%dx%d) is not larger than %s (%dx%d); it is not used",
        largeName.c_str(), large.width, large.height, name.c_str(), image->width, image->height);
    return false;
  }
  *image = std::move(large);
  return true;
}

// Decodes the picture (and mask) of `data`'s recorded file name and uploads them.
bool Fill(TTextureData& data, TImageSource& source) {
  TRenderer* renderer = data.Renderer();
  if (!renderer || !renderer->Device()) return false;
  data.SetSmallSource();
  uint8_t flags = data.Flags();
  std::string name = ResolveImageName(source, SplitTextureOptions(data.FileName(), nullptr));
  TPixelImage image;
  if (name.empty() || !DecodeImageFile(source, name, &image)) return false;
  // Drawn enlarged, a picture comes from its larger version where there is one (pictures
  // with a separate mask keep their own size, which the mask matches); mipmaps keep it from
  // shimmering where it is drawn smaller than its pixels.
  const int drawingWidth = image.width, drawingHeight = image.height;
  uint8_t largeFlags = 0;
  if (data.MaskName().empty() && renderer->WantsLargeSources() &&
      TakeLargerSource(source, name, &image)) {
    // Larger pictures may exceed 1024 pixels and need no square surface.
    largeFlags = static_cast<uint8_t>(
        (TTextureData::kMipmap | TTextureData::kSlow | TTextureData::kSimple) & ~flags);
    flags |= largeFlags;
  }

  TPixelImage mask;
  bool withMask = !data.MaskName().empty();
  if (withMask) {
    std::string maskName = ResolveImageName(source, data.MaskName());
    if (maskName.empty() || !DecodeImageFile(source, maskName, &mask)) return false;
    flags = static_cast<uint8_t>((flags | TTextureData::kHasAlpha) & ~TTextureData::kAutoAlpha);
  } else if (flags & TTextureData::kAutoAlpha) {
    flags = static_cast<uint8_t>(flags & ~TTextureData::kHasAlpha);
    if (HasPng(name) && image.hasAlpha) flags |= TTextureData::kHasAlpha;
  }

  TPixelBuffer buffer;
  BuildPixelBuffer(image, withMask ? &mask : nullptr, &buffer);
  bool square = renderer->Caps().squareTextures && !(flags & TTextureData::kSimple);
  int width = buffer.side;
  int height = square ? buffer.side : NextPowerOfTwo(buffer.imageHeight);
  if (!(flags & TTextureData::kSlow) && (width > kMaxTextureSide || height > kMaxTextureSide))
    return false;
  int deviceLimit = renderer->Caps().maxTextureSize;
  if (width > deviceLimit || height > deviceLimit) return false;
  data.SetFlags(flags);
  if (!data.CreateSurface(width, height) || !data.Upload(buffer)) return false;
  if (image.width != drawingWidth || image.height != drawingHeight)
    data.SetLargeSource(drawingWidth, drawingHeight, largeFlags);
  return true;
}

}  // namespace

bool DecodeImageFile(TImageSource& source, const std::string& name, TPixelImage* out) {
  bool png = HasPng(name);
  if (!png && !HasJpg(name)) return false;
  std::vector<uint8_t> bytes;
  if (!source.Read(name, &bytes)) return false;
  return png ? DecodePng(bytes.data(), bytes.size(), out)
             : DecodeJpeg(bytes.data(), bytes.size(), out);
}

std::string ResolveImageName(TImageSource& source, const std::string& name) {
  if (name.empty()) return "";
  if (source.Exists(name)) return name;
  if (HasPng(name) || HasJpg(name)) return "";
  if (source.Exists(name + ".png")) return name + ".png";
  if (source.Exists(name + ".jpg")) return name + ".jpg";
  return "";
}

bool BuildPixelBuffer(const TPixelImage& image, const TPixelImage* mask, TPixelBuffer* out) {
  out->side = NextPowerOfTwo(std::max(image.width, image.height));
  out->imageWidth = image.width;
  out->imageHeight = image.height;
  out->pixels.assign(static_cast<size_t>(out->side) * out->side, 0);
  for (int y = 0; y < image.height; ++y)
    std::copy_n(image.pixels.begin() + static_cast<ptrdiff_t>(y) * image.width, image.width,
                out->pixels.begin() + static_cast<ptrdiff_t>(y) * out->side);
  if (!mask) return true;
  if (NextPowerOfTwo(std::max(mask->width, mask->height)) != out->side) return false;
  // Every pixel's alpha becomes the red byte of the mask's buffer at the same place (0 in
  // the part of the buffer the mask does not cover).
  for (int y = 0; y < out->side; ++y)
    for (int x = 0; x < out->side; ++x) {
      uint32_t& pixel = out->pixels[static_cast<size_t>(y) * out->side + x];
      uint32_t red = x < mask->width && y < mask->height ? (mask->At(x, y) >> 16) & 0xFF : 0;
      pixel = (pixel & 0x00FFFFFFu) | red << 24;
    }
  return true;
}

std::unique_ptr<TTextureData> LoadTextureData(TRenderer* renderer,
                                              std::shared_ptr<TImageSource> source,
                                              const std::string& name, const std::string& mask,
                                              uint8_t flags) {
  if (!renderer || !source || name.empty()) return nullptr;
  SplitTextureOptions(name, &flags);
  auto data = std::make_unique<TTextureData>(renderer, flags);
  data->SetSource(source, name, mask);
  if (!Fill(*data, *source)) return nullptr;
  return data;
}

std::string LargerSourceName(TImageSource& source, const std::string& name) {
  size_t extension = name.rfind(".png");
  if (extension == std::string::npos) extension = name.rfind(".jpg");
  if (extension == std::string::npos) return "";
  std::string stem = name.substr(0, extension);
  if (stem.size() > 3 && stem.compare(stem.size() - 3, 3, "_md") == 0) {
    stem.replace(stem.size() - 3, 3, "_lg");
  } else {
    stem += "_hd";
  }
  for (const char* type : {".png", ".jpg"})
    if (source.Exists(stem + type)) return stem + type;
  return "";
}

bool ReloadTextureData(TTextureData& data, TImageSource& source) {
  return Fill(data, source);
}

// PNG through libpng's simplified interface, which reports errors as return values (no
// setjmp in our code).
#include <png.h>

#include <cstdio>
#include <cstring>

#include "gfx/image.h"

bool DecodePng(const uint8_t* data, size_t size, TImage* out) {
  if (!out) return false;
  *out = TImage{};
  if (!data || size < 8) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) {
    png_image_free(&image);
    return false;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxImageSide ||
      image.height > kMaxImageSide) {
    png_image_free(&image);
    return false;
  }
  bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = PNG_FORMAT_BGRA;  // little-endian ARGB words
  std::vector<uint32_t> pixels(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  out->width = static_cast<int>(image.width);
  out->height = static_cast<int>(image.height);
  out->pixels = std::move(pixels);
  out->hasAlpha = alpha;
  return true;
}

bool EncodePng(const uint32_t* argb, int width, int height, int stride, std::vector<uint8_t>* out) {
  if (!argb || !out || width <= 0 || height <= 0 || stride < width) return false;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t bytes = 0;
  png_int_32 rowStride = stride * 4;
  if (!png_image_write_get_memory_size(image, bytes, 0, argb, rowStride, nullptr)) return false;
  out->resize(bytes);
  if (!png_image_write_to_memory(&image, out->data(), &bytes, 0, argb, rowStride, nullptr)) {
    out->clear();
    return false;
  }
  out->resize(bytes);
  return true;
}

bool EncodePng(const TImage& image, std::vector<uint8_t>* out) {
  if (image.pixels.size() != static_cast<size_t>(image.width) * image.height) return false;
  return EncodePng(image.pixels.data(), image.width, image.height, image.width, out);
}

bool WritePngFile(const std::string& path, const TImage& image) {
  std::vector<uint8_t> bytes;
  if (!EncodePng(image, &bytes)) return false;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

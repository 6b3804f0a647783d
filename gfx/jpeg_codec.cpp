// JPEG through the IJG interface. The library reports fatal errors through error_exit,
// which must not return: we jump back to DecodeJpeg and fail cleanly.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "gfx/image.h"

namespace {

struct TJpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

void IgnoreJpegMessage(j_common_ptr) {}

// Decodes into `pixels`; every object that needs destruction lives in the caller, so the
// jump out of the library skips no destructor.
bool Decode(jpeg_decompress_struct* info, const uint8_t* data, size_t size,
            std::vector<uint32_t>* pixels, std::vector<uint8_t>* row, int* width, int* height) {
  jpeg_mem_src(info, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK) return false;
  info->out_color_space = JCS_RGB;
  if (info->image_width == 0 || info->image_height == 0 || info->image_width > kMaxImageSide ||
      info->image_height > kMaxImageSide)
    return false;
  jpeg_start_decompress(info);
  if (info->output_components != 3) return false;
  *width = static_cast<int>(info->output_width);
  *height = static_cast<int>(info->output_height);
  pixels->assign(static_cast<size_t>(*width) * *height, 0);
  row->assign(static_cast<size_t>(*width) * 3, 0);
  while (info->output_scanline < info->output_height) {
    JSAMPROW rows[1] = {row->data()};
    int y = static_cast<int>(info->output_scanline);
    if (jpeg_read_scanlines(info, rows, 1) != 1) return false;
    uint32_t* out = pixels->data() + static_cast<size_t>(y) * *width;
    for (int x = 0; x < *width; ++x) {
      const uint8_t* rgb = row->data() + x * 3;
      out[x] = 0xFF000000u | uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
    }
  }
  jpeg_finish_decompress(info);
  return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, TImage* out) {
  if (!out) return false;
  *out = TImage{};
  if (!data || size < 4) return false;
  jpeg_decompress_struct info;
  TJpegError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = OnJpegError;
  error.manager.output_message = IgnoreJpegMessage;
  std::vector<uint32_t> pixels;
  std::vector<uint8_t> row;
  int width = 0, height = 0;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  bool ok = Decode(&info, data, size, &pixels, &row, &width, &height);
  jpeg_destroy_decompress(&info);
  if (!ok) return false;
  out->width = width;
  out->height = height;
  out->pixels = std::move(pixels);
  out->hasAlpha = false;
  return true;
}

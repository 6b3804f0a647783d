#include "tests/gfx/test_support.h"

#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include <jpeglib.h>

#include "frame/log.h"

TLogCapture::TLogCapture() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  mFolder =
      std::filesystem::temp_directory_path() /
      (std::string("mc_gfx_log_") + (info ? info->name() : "x") + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(mFolder);
  SetLogFolder(mFolder.string());
}

TLogCapture::~TLogCapture() {
  SetLogFolder("");
  std::filesystem::remove_all(mFolder);
}

std::string TLogCapture::Text() const {
  std::ifstream in(mFolder / "logfile.txt", std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int TLogCapture::Count(const std::string& line) const {
  std::string text = Text();
  int count = 0;
  for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++count;
  return count;
}

bool TMemorySource::Read(const std::string& name, std::vector<uint8_t>* bytes) {
  auto it = files.find(name);
  if (it == files.end()) return false;
  *bytes = it->second;
  return true;
}

std::vector<uint8_t> PngBytes(const TPixelImage& image) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(EncodePng(image, &bytes));
  return bytes;
}

std::vector<uint8_t> RgbPngBytes(const TPixelImage& image) {
  png_image info;
  std::memset(&info, 0, sizeof info);
  info.version = PNG_IMAGE_VERSION;
  info.width = image.width;
  info.height = image.height;
  info.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb;
  for (uint32_t pixel : image.pixels) {
    rgb.push_back(static_cast<uint8_t>(pixel >> 16));
    rgb.push_back(static_cast<uint8_t>(pixel >> 8));
    rgb.push_back(static_cast<uint8_t>(pixel));
  }
  png_alloc_size_t size = 0;
  png_image_write_get_memory_size(info, size, 0, rgb.data(), 0, nullptr);
  std::vector<uint8_t> bytes(size);
  EXPECT_TRUE(png_image_write_to_memory(&info, bytes.data(), &size, 0, rgb.data(), 0, nullptr));
  bytes.resize(size);
  return bytes;
}

std::vector<uint8_t> JpegBytes(const TPixelImage& image, int quality) {
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = image.width;
  info.image_height = image.height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(image.width) * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < image.width; ++x) {
      uint32_t pixel = image.At(x, static_cast<int>(info.next_scanline));
      row[x * 3] = static_cast<uint8_t>(pixel >> 16);
      row[x * 3 + 1] = static_cast<uint8_t>(pixel >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(pixel);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

::testing::AssertionResult ColorNear(uint32_t actual, uint32_t expected, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    int a = static_cast<int>((actual >> shift) & 0xFF);
    int e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance) {
      char text[80];
      std::snprintf(text, sizeof text, "0x%08X differs from expected 0x%08X", actual, expected);
      return ::testing::AssertionFailure() << text;
    }
  }
  return ::testing::AssertionSuccess();
}

void FillRect(TRenderer& renderer, float left, float top, float right, float bottom,
              uint32_t color) {
  auto v = [color](float x, float y) {
    return TVertexColored{x, y, 0.1f, 0.5f, color, 0xFF000000u, 0, 0};
  };
  TVertexColored quad[4] = {v(left, top), v(right, top), v(right, bottom), v(left, bottom)};
  renderer.SetTexture(0);
  renderer.DrawVertices(kTriangleFan, TVertexArray{kVertex2d, quad, 4});
}

int DrawFrame(TRenderer& renderer, const std::function<void()>& draw) {
  const int before = renderer.DrawCalls();
  renderer.BeginDraw(true);
  renderer.Begin2d();
  draw();
  renderer.End2d();
  renderer.EndDraw(true);
  return renderer.DrawCalls() - before;
}

float Luminance(uint32_t argb) {
  return 0.299f * static_cast<float>((argb >> 16) & 0xFF) +
         0.587f * static_cast<float>((argb >> 8) & 0xFF) + 0.114f * static_cast<float>(argb & 0xFF);
}

float EdgeContrast(const TPixelImage& image, const TRect& rect) {
  std::vector<float> steps;
  for (int y = rect.top; y + 1 < rect.bottom; ++y)
    for (int x = rect.left; x + 1 < rect.right; ++x) {
      const float here = Luminance(image.At(x, y));
      steps.push_back(std::abs(Luminance(image.At(x + 1, y)) - here));
      steps.push_back(std::abs(Luminance(image.At(x, y + 1)) - here));
    }
  if (steps.empty()) return 0;
  const size_t top = std::max<size_t>(1, steps.size() / 50);
  std::partial_sort(steps.begin(), steps.begin() + static_cast<ptrdiff_t>(top), steps.end(),
                    std::greater<float>());
  float sum = 0;
  for (size_t i = 0; i < top; ++i) sum += steps[i];
  return sum / static_cast<float>(top);
}

// PNG and JPEG decoding from memory and PNG writing; damaged input is refused cleanly.
#include <gtest/gtest.h>

#include <cstdio>

#include "gfx/image.h"
#include "tests/gfx/test_support.h"

namespace {

TEST(ImageCodecTest, PngRoundTripKeepsEveryPixelAndAlpha) {
  TImage image = MakeImage(13, 7, [](int x, int y) {
    return static_cast<uint32_t>((x * 19) << 24 | (y * 31) << 16 | (x + y) << 8 | 0x5A);
  });
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(EncodePng(image, &bytes));
  TImage decoded;
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), &decoded));
  EXPECT_EQ(decoded.width, 13);
  EXPECT_EQ(decoded.height, 7);
  EXPECT_TRUE(decoded.hasAlpha);
  EXPECT_EQ(decoded.pixels, image.pixels);
}

TEST(ImageCodecTest, RgbPngHasNoAlpha) {
  std::vector<uint8_t> bytes = RgbPngBytes(MakeImage(3, 3, [](int, int) { return 0xFF123456u; }));
  TImage decoded;
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), &decoded));
  EXPECT_FALSE(decoded.hasAlpha);
  EXPECT_EQ(decoded.At(2, 2), 0xFF123456u);
}

TEST(ImageCodecTest, JpegDecodesToOpaquePixels) {
  std::vector<uint8_t> bytes =
      JpegBytes(MakeImage(16, 8, [](int x, int) { return x < 8 ? 0xFFFF0000u : 0xFF0000FFu; }));
  TImage decoded;
  ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), &decoded));
  EXPECT_EQ(decoded.width, 16);
  EXPECT_EQ(decoded.height, 8);
  EXPECT_TRUE(ColorNear(decoded.At(1, 4), 0xFFFF0000u, 12));
  EXPECT_TRUE(ColorNear(decoded.At(14, 4), 0xFF0000FFu, 12));
}

std::vector<uint8_t> SeedFile(const char* name) {
  std::string path = std::string(MC_SOURCE_DIR) + "/tests/gfx/seeds/image/" + name;
  std::vector<uint8_t> bytes;
  if (FILE* in = std::fopen(path.c_str(), "rb")) {
    uint8_t chunk[4096];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
      bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(in);
  }
  return bytes;
}

TEST(ImageCodecTest, OtherColourTypesDecodeToArgb) {
  // Written by Pillow (make_seeds.py): 7 x 5 pictures in grey, palette and progressive forms.
  for (const char* name : {"grey.png", "palette.png", "rgb.png", "rgba.png"}) {
    std::vector<uint8_t> bytes = SeedFile(name);
    TImage image;
    ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), &image)) << name;
    EXPECT_EQ(image.width, 7);
    EXPECT_EQ(image.height, 5);
  }
  for (const char* name : {"grey.jpg", "progressive.jpg", "small.jpg"}) {
    std::vector<uint8_t> bytes = SeedFile(name);
    TImage image;
    ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), &image)) << name;
    EXPECT_EQ(image.width, 7);
    EXPECT_EQ(image.pixels.size(), 35u);
    EXPECT_EQ(image.At(6, 4) >> 24, 0xFFu);
  }
  std::vector<uint8_t> grey = SeedFile("grey.jpg");
  TImage image;
  ASSERT_TRUE(DecodeJpeg(grey.data(), grey.size(), &image));
  uint32_t pixel = image.At(3, 2);
  EXPECT_EQ((pixel >> 16) & 0xFF, pixel & 0xFF);  // grey: red equals blue
  std::vector<uint8_t> rgba = SeedFile("rgba.png");
  ASSERT_TRUE(DecodePng(rgba.data(), rgba.size(), &image));
  EXPECT_TRUE(image.hasAlpha);
  EXPECT_EQ(image.At(2, 1), 0xD73C285Au);  // alpha 255 - 2*20, red 2*30, green 1*40, blue 90
}

TEST(ImageCodecTest, DamagedInputIsRefusedWithEmptyResult) {
  std::vector<uint8_t> png =
      PngBytes(MakeImage(20, 20, [](int x, int y) { return uint32_t(x * y); }));
  std::vector<uint8_t> jpeg =
      JpegBytes(MakeImage(20, 20, [](int x, int y) { return uint32_t(x * y); }));
  TImage out;
  for (size_t cut : {size_t{0}, size_t{5}, png.size() / 2, png.size() - 20}) {
    EXPECT_FALSE(DecodePng(png.data(), cut, &out)) << cut;
    EXPECT_TRUE(out.pixels.empty());
  }
  for (size_t cut : {size_t{0}, size_t{3}, size_t{100}}) {
    EXPECT_FALSE(DecodeJpeg(jpeg.data(), cut, &out)) << cut;
    EXPECT_TRUE(out.pixels.empty());
  }
  EXPECT_FALSE(DecodeJpeg(png.data(), png.size(), &out));
  EXPECT_FALSE(DecodePng(jpeg.data(), jpeg.size(), &out));
  EXPECT_FALSE(DecodePng(nullptr, 100, &out));
  // A damaged header (a width far beyond any picture).
  std::vector<uint8_t> huge = png;
  huge[16] = 0x7F;  // width, first byte of the IHDR chunk's data
  EXPECT_FALSE(DecodePng(huge.data(), huge.size(), &out));
}

TEST(ImageCodecTest, EncodeRefusesBadArguments) {
  std::vector<uint8_t> bytes;
  uint32_t pixel = 0;
  EXPECT_FALSE(EncodePng(&pixel, 0, 1, 1, &bytes));
  EXPECT_FALSE(EncodePng(&pixel, 2, 1, 1, &bytes));
  EXPECT_FALSE(EncodePng(nullptr, 1, 1, 1, &bytes));
  TImage inconsistent;
  inconsistent.width = 4;
  inconsistent.height = 4;
  EXPECT_FALSE(EncodePng(inconsistent, &bytes));
  EXPECT_FALSE(
      WritePngFile("/nonexistent-folder/x.png", MakeImage(1, 1, [](int, int) { return 0u; })));
}

}  // namespace

#include "files/zxml.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Pack(const std::string& text) {
  const std::vector<uint8_t> packed = PackZxml(text.data(), text.size());
  return std::string(packed.begin(), packed.end());
}

TEST(ZxmlTest, PackAndUnpackRoundTrip) {
  std::string xml = "<settings>";
  for (int i = 0; i < 200; ++i) xml += "<key name=\"k" + std::to_string(i) + "\">v</key>";
  xml += "</settings>";
  const std::string packed = Pack(xml);
  ASSERT_TRUE(IsZxml(packed.data(), packed.size()));
  EXPECT_LT(packed.size(), xml.size());
  // Header: compressed length, then the plain length.
  const auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(packed[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(packed[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(packed[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(packed[at + 3])) << 24;
  };
  EXPECT_EQ(u32(4), packed.size() - kZxmlHeaderSize);
  EXPECT_EQ(u32(8), xml.size());

  std::string out;
  ASSERT_TRUE(UnpackZxml(packed.data(), packed.size(), out));
  EXPECT_EQ(out, xml);

  ASSERT_TRUE(UnpackZxml(Pack("").data(), Pack("").size(), out));
  EXPECT_EQ(out, "");
}

TEST(ZxmlTest, DamagedContainersGiveAnEmptyResult) {
  const std::string good = Pack("<a>some text that compresses, some text that compresses</a>");
  std::string out = "previous";

  std::string corrupt = good;
  corrupt[kZxmlHeaderSize + 4] ^= 0x55;
  EXPECT_FALSE(UnpackZxml(corrupt.data(), corrupt.size(), out));
  EXPECT_EQ(out, "");

  std::string cut = good.substr(0, good.size() - 3);
  EXPECT_FALSE(UnpackZxml(cut.data(), cut.size(), out));

  std::string tooSmall = good;
  tooSmall[8] = 3;  // the stream holds more than the header admits
  tooSmall[9] = tooSmall[10] = tooSmall[11] = 0;
  EXPECT_FALSE(UnpackZxml(tooSmall.data(), tooSmall.size(), out));

  std::string huge = good;
  huge[11] = '\x7f';  // ~2 GB claimed from a few dozen bytes
  EXPECT_FALSE(UnpackZxml(huge.data(), huge.size(), out));

  EXPECT_FALSE(UnpackZxml("ZXML", 4, out));
  EXPECT_FALSE(UnpackZxml("<xml/>", 6, out));
  EXPECT_FALSE(IsZxml("ZXM", 3));
}

}  // namespace

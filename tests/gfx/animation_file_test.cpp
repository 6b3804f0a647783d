// The two animation file forms: the XML description and the packed ".anm" read into the
// same data, convert into each other without loss, and damaged files are refused.
#include <gtest/gtest.h>

#include <span>

#include "gfx/formats/animation_anm.h"
#include "gfx/formats/animation_xml.h"

namespace {

TAnimationData Sample() {
  TAnimationData data;
  data.name = "phone";
  data.source = "phone.psd";
  data.imageName = "phone.png";
  data.maskName = "phone_mask.png";
  data.imageRegX = 3;
  data.imageRegY = -4;
  data.imageWidth = 256;
  data.imageHeight = 128;
  TAnimationFrame a;
  a.name = "rest";
  a.x = 0, a.y = 0, a.w = 90, a.h = 80, a.regX = 45, a.regY = 78;
  a.anchors = {{"bell", 30, 12}, {"cord", 80, 70}};
  TAnimationFrame b = a;
  b.name = "ring left";
  b.x = 90, b.w = 92, b.alpha = 0.5f;
  b.transform = {0.9f, 0.1f, -0.1f, 0.9f, 2.5f, -1};
  b.anchors.clear();
  TAnimationFrame c = b;  // inherits b's transform in XML
  c.name = "ring right";
  c.x = 182, c.alpha = 1;
  TAnimationFrame d = a;  // back to no transform after frames that had one
  d.name = "empty";
  d.w = 0, d.h = 0;
  data.frames = {a, b, c, d};
  data.hasScript = true;
  data.script = "function DoAnim()\n  delay( 60 );\n  frames{ 1, 2, 3, 2, 1, 4 };\nend\n";
  return data;
}

TAnimationData ReadXml(const std::string& text) {
  TAnimationData data;
  std::string error;
  EXPECT_TRUE(ReadAnimationXml(text, &data, &error)) << error;
  return data;
}

std::string ReadAnmError(const std::vector<uint8_t>& bytes) {
  TAnimationData data;
  std::string error;
  EXPECT_FALSE(ReadAnimationAnm(std::span<const uint8_t>(bytes), &data, &error));
  return error;
}

}  // namespace

TEST(AnimationFileTest, BothFormsHoldTheSameAnimation) {
  const TAnimationData sample = Sample();
  const TAnimationData fromXml = ReadXml(WriteAnimationXml(sample));
  EXPECT_EQ(fromXml, sample);
  const std::vector<uint8_t> packed = WriteAnimationAnm(fromXml);
  TAnimationData fromAnm;
  std::string error;
  ASSERT_TRUE(ReadAnimationAnm(std::span<const uint8_t>(packed), &fromAnm, &error)) << error;
  EXPECT_EQ(fromAnm, fromXml);
  EXPECT_EQ(fromAnm.frames[3].HasTransform(), false);
  EXPECT_EQ(fromAnm.frames[2].transform, sample.frames[1].transform);
}

TEST(AnimationFileTest, PackedFormRoundTripsByteForByte) {
  TAnimationData sample = Sample();
  for (int version : {1, 2}) {
    sample.packedVersion = version;
    sample.packedReserved = 0xDEADBEEF;
    sample.packedImageExtra = {1.5f, -2, 0, 7};
    if (version == 1)
      for (auto& frame : sample.frames) frame.alpha = 1;  // version 1 keeps no alpha
    const std::vector<uint8_t> packed = WriteAnimationAnm(sample);
    TAnimationData read;
    std::string error;
    ASSERT_TRUE(ReadAnimationAnm(std::span<const uint8_t>(packed), &read, &error)) << error;
    // Through the XML form and back: the packed fields XML does not carry are restored.
    TAnimationData viaXml = ReadXml(WriteAnimationXml(read));
    viaXml.packedReserved = read.packedReserved;
    viaXml.packedVersion = read.packedVersion;
    viaXml.packedImageExtra = read.packedImageExtra;
    EXPECT_EQ(WriteAnimationAnm(read), packed) << "version " << version;
    EXPECT_EQ(WriteAnimationAnm(viaXml), packed) << "version " << version;
  }
}

TEST(AnimationFileTest, XmlFramesInheritOriginAndTransformAndDefaultAlpha) {
  const TAnimationData data = ReadXml(R"(<?xml version="1.0"?>
    <sequence name="bling" source="s">
      <img w="64" h="16" name="bling.png"/>
      <framelist>
        <frame x="0" y="0" w="16" h="16" name="a"/>
        <frame x="16" y="0" w="16" h="16" name="b" regx="8" regy="9" xform="2 0 0 2 1 1" alpha="0.25">
          <anchor name="tip" x="3" y="4"/>
        </frame>
        <frame x="32" y="0" w="16" h="16" name="c" regy="2"/>
      </framelist>
    </sequence>)");
  ASSERT_EQ(data.frames.size(), 3u);
  EXPECT_EQ(data.frames[0].regX, 0);
  EXPECT_FALSE(data.frames[0].HasTransform());
  EXPECT_EQ(data.frames[0].alpha, 1.0f);
  EXPECT_EQ(data.frames[1].anchors, (std::vector<TAnimationAnchor>{{"tip", 3, 4}}));
  EXPECT_FLOAT_EQ(data.frames[1].alpha, 0.25f);
  // Frame c takes b's regx and transform, keeps its own regy, and is opaque.
  EXPECT_EQ(data.frames[2].regX, 8);
  EXPECT_EQ(data.frames[2].regY, 2);
  EXPECT_EQ(data.frames[2].transform, (std::array<float, 6>{2, 0, 0, 2, 1, 1}));
  EXPECT_EQ(data.frames[2].alpha, 1.0f);
  EXPECT_FALSE(data.hasScript);
  EXPECT_EQ(data.MaxFrameWidth(), 16);
}

TEST(AnimationFileTest, XmlScriptKeepsItsLineBreaks) {
  const TAnimationData data = ReadXml(
      R"(<sequence><img name="x.png"/><script luascript="function DoAnim()&#10;  delay(60);)"
      R"(&#10;end"/></sequence>)");
  EXPECT_TRUE(data.hasScript);
  EXPECT_EQ(data.script, "function DoAnim()\n  delay(60);\nend");
}

TEST(AnimationFileTest, DamagedXmlIsRefusedWithAReason) {
  TAnimationData data;
  std::string error;
  EXPECT_FALSE(ReadAnimationXml(std::string("<settings/>"), &data, &error));
  EXPECT_EQ(error, "no <sequence> element");
  EXPECT_FALSE(ReadAnimationXml(std::string("<sequence name='a'></sequence>"), &data, &error));
  EXPECT_EQ(error, "no <img> element");
  EXPECT_FALSE(ReadAnimationXml(
      std::string(R"(<sequence><img name="a.png"/><framelist><frame w="-3" h="2"/></framelist>)"
                  "</sequence>"),
      &data, &error));
  EXPECT_EQ(error, "frame 0 has a negative size");
  EXPECT_FALSE(ReadAnimationXml(
      std::string(R"(<sequence><img name="a.png"/><framelist><frame xform="1 2 3"/></framelist>)"
                  "</sequence>"),
      &data, &error));
  EXPECT_EQ(error, "frame 0: \"xform\" needs six numbers");
}

TEST(AnimationFileTest, EveryTruncationOfAPackedFileIsRefused) {
  const TAnimationData sample = Sample();
  const std::vector<uint8_t> packed = WriteAnimationAnm(sample);
  // Cut anywhere: refused, never read past the end; except right before the script
  // section, which is optional.
  const size_t scriptSection = packed.size() - 8 - sample.script.size();
  for (size_t length = 0; length < packed.size(); ++length) {
    std::vector<uint8_t> cut(packed.begin(), packed.begin() + static_cast<ptrdiff_t>(length));
    TAnimationData data;
    std::string error;
    const bool read = ReadAnimationAnm(std::span<const uint8_t>(cut), &data, &error);
    EXPECT_EQ(read, length == scriptSection) << length;
    if (read)
      EXPECT_FALSE(data.hasScript);
    else
      EXPECT_FALSE(error.empty()) << length;
  }
}

TEST(AnimationFileTest, PackedCountsAndLengthsAreCheckedAgainstTheFile) {
  TAnimationData sample = Sample();
  const std::vector<uint8_t> packed = WriteAnimationAnm(sample);
  // Offsets of the fields in the sample's packed form.
  const size_t nameLength = 12;  // "ANIM", reserved, version
  const size_t frameCount = 4 + 4 + 4 + 4 + sample.name.size() + 4 + sample.source.size() + 4 + 16 +
                            4 + sample.imageName.size() + 4 + sample.maskName.size() + 4;
  auto patched = [&](size_t at, uint32_t value) {
    std::vector<uint8_t> bytes = packed;
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return bytes;
  };
  EXPECT_EQ(
      ReadAnmError(patched(nameLength, 0xFFFFFFF0u)),
      "the name claims 4294967280 bytes, " + std::to_string(packed.size() - 16) + " are left");
  EXPECT_EQ(ReadAnmError(patched(frameCount, 100000000u)),
            "the frame count of 100000000 does not fit the file");
  EXPECT_EQ(ReadAnmError(patched(0, 0x414E494Du /* "MINA" */)),
            "expected the tag \"ANIM\" at byte 0");
  // The frame record's width (regx, regy, x, y, then w) made negative.
  EXPECT_EQ(ReadAnmError(patched(frameCount + 4 + 16, 0xFFFFFFFFu)), "frame 0 has a negative size");
  // Bytes after the frames that are not the script section.
  std::vector<uint8_t> junk = packed;
  sample.hasScript = false;
  junk = WriteAnimationAnm(sample);
  junk.insert(junk.end(), {'J', 'U', 'N', 'K'});
  EXPECT_EQ(ReadAnmError(junk),
            "expected the tag \"SCRP\" at byte " + std::to_string(junk.size() - 4));
  // Bytes after the script section.
  std::vector<uint8_t> tail = packed;
  tail.push_back('!');
  EXPECT_EQ(ReadAnmError(tail), "1 bytes follow the end of the animation");
}

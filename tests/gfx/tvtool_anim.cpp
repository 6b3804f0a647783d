// Runs the built tvtool's anim command: a summary of either form, conversion both ways with
// the packed form coming back byte for byte, and damaged input refused with its reason.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "gfx/formats/animation_anm.h"
#include "gfx/formats/animation_xml.h"
#include "tests/support/tvtool_fixture.h"

namespace {

class TvtoolAnimTest : public TTvtoolFixture {
 protected:
  TvtoolAnimTest() : TTvtoolFixture("mc_tvtool_anim_") {}
  std::string Path(const std::string& name) const { return Q(root / name); }
};

TAnimationData Truck() {
  TAnimationData data;
  data.name = "truck";
  data.imageName = "truck.png";
  data.imageWidth = 352;
  data.imageHeight = 120;
  for (int i = 0; i < 2; ++i) {
    TAnimationFrame frame;
    frame.name = "truck" + std::to_string(i + 1);
    frame.x = 176 * i, frame.w = 176, frame.h = 120, frame.regX = 80, frame.regY = 116;
    data.frames.push_back(frame);
  }
  data.frames[1].alpha = 0.5f;
  data.frames[1].anchors = {{"exhaust", 146, 104}};
  data.hasScript = true;
  data.script = "function DoAnim()\n  delay( 55 );\n  frames{ 1, 2 };\nend\n";
  return data;
}

}  // namespace

TEST_F(TvtoolAnimTest, ConvertsBothWaysAndPrintsASummary) {
  const std::vector<uint8_t> packed = WriteAnimationAnm(Truck());
  Write(root / "truck.anm", std::string(packed.begin(), packed.end()));
  ASSERT_EQ(Run("anim " + Path("truck.anm") + " " + Path("out/truck.xml")), 0) << Err();
  const std::string summary = Out();
  EXPECT_NE(summary.find("image truck.png (352 x 120, origin 0, 0)"), std::string::npos) << summary;
  EXPECT_NE(summary.find("2 frames, largest 176 x 120"), std::string::npos) << summary;
  EXPECT_NE(summary.find("alpha 0.5 @exhaust=146,104"), std::string::npos) << summary;
  EXPECT_NE(summary.find("frames{ 1, 2 };"), std::string::npos) << summary;
  TAnimationData fromXml;
  std::string error;
  ASSERT_TRUE(ReadAnimationXml(Read(root / "out/truck.xml"), &fromXml, &error)) << error;
  EXPECT_EQ(fromXml, Truck());
  ASSERT_EQ(Run("anim " + Path("out/truck.xml") + " " + Path("back.anm")), 0) << Err();
  EXPECT_EQ(Read(root / "back.anm"), std::string(packed.begin(), packed.end()));
  // Without an output it only prints the summary.
  ASSERT_EQ(Run("anim " + Path("out/truck.xml")), 0);
  EXPECT_NE(Out().find("name \"truck\""), std::string::npos);
}

TEST_F(TvtoolAnimTest, DamagedInputAndBadArgumentsFailClearly) {
  Write(root / "cut.anm", "ANIM\x01\x02");
  EXPECT_EQ(Run("anim " + Path("cut.anm") + " " + Path("out.xml")), 1);
  EXPECT_NE(Err().find("the file ends inside the header"), std::string::npos) << Err();
  EXPECT_FALSE(std::filesystem::exists(root / "out.xml"));
  Write(root / "plain.xml", "<settings/>");
  EXPECT_EQ(Run("anim " + Path("plain.xml")), 1);
  EXPECT_NE(Err().find("no <sequence> element"), std::string::npos) << Err();
  const std::vector<uint8_t> packed = WriteAnimationAnm(Truck());
  Write(root / "truck.anm", std::string(packed.begin(), packed.end()));
  EXPECT_EQ(Run("anim " + Path("truck.anm") + " " + Path("truck.png")), 1);
  EXPECT_NE(Err().find("must end in .xml or .anm"), std::string::npos) << Err();
  EXPECT_EQ(Run("anim"), 2);
}

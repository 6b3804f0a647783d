#include "game/appraisal.h"

#include <gtest/gtest.h>

#include "data/settings.h"
#include "data/string_table.h"

namespace {

class AppraisalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StringTable().Clear();
    ResetSettings();
  }
  void TearDown() override {
    StringTable().Clear();
    ResetSettings();
    ReadDiamondThresholds();
  }
};

constexpr TFace kPipe3{101, 0};      // treasure "pipe3"
constexpr TFace kWatch2{127, 0};     // antique-look common "watch2"
constexpr TFace kCommonPipe{34, 0};  // "pipe1"

}  // namespace

TEST_F(AppraisalTest, ReadsTheTextsOfTheChosenSet) {
  StringTable().SetString("appraisal_b_title_pipe3", "Meerschaum Pipe");
  StringTable().SetString("appraisal_c_title_pipe3", "A Smoker's Treasure");
  StringTable().SetString("appraisal_b_body_pipe1", "A briar pipe.");
  StringTable().SetString("suit_chair", "Chairs");
  EXPECT_EQ(AppraisalTitle(kPipe3, TAppraisalSet::kHover), "Meerschaum Pipe");
  EXPECT_EQ(AppraisalTitle(kPipe3, TAppraisalSet::kValued), "A Smoker's Treasure");
  EXPECT_EQ(AppraisalBody(kCommonPipe, TAppraisalSet::kHover), "A briar pipe.");
  EXPECT_EQ(SuitDisplayName(83), "Chairs");
  EXPECT_EQ(SuitDisplayName(8), "Chairs");
  EXPECT_EQ(SuitDisplayName(130), "");
}

TEST_F(AppraisalTest, AmountsFollowTheAtoiRuleAndMissingTextsAreZero) {
  StringTable().SetString("appraisal_c_amount_pipe3", "  1250 dollars");
  StringTable().SetString("appraisal_c_amount_pipe6", "99999999999999");  // clamped, not UB
  EXPECT_EQ(AppraisalAmount(kPipe3), 1250);
  EXPECT_EQ(AppraisalAmount({101, 1}), 2147483647);
  EXPECT_EQ(AppraisalAmount({101, 2}), 0);
  EXPECT_EQ(SuitTotalAmount(101), 2147483647) << "a sum past int stays at the largest int";
  StringTable().SetString("appraisal_c_amount_pipe6", "100");
  EXPECT_EQ(SuitTotalAmount(101), 1350);
  EXPECT_EQ(SuitTotalAmount(34), 0) << "only antique-look suits add up";
  EXPECT_EQ(SuitTotalAmount(130), 0);
}

TEST_F(AppraisalTest, DiamondRatingsUseTheThresholds) {
  const TDiamondThresholds builtIn;
  const TDiamondThresholds shipped{0, 100000, 500000};
  StringTable().SetString("appraisal_c_amount_pipe3", "100000");
  StringTable().SetString("appraisal_c_amount_pipe6", "500000");
  EXPECT_EQ(DiamondRating(kPipe3, shipped), 2);
  EXPECT_EQ(DiamondRating({101, 1}, shipped), 3);
  EXPECT_EQ(DiamondRating(kPipe3, builtIn), 1);
  EXPECT_EQ(DiamondRating({101, 1}, builtIn), 2);
  // A face without an amount is worth 0, which still reaches the first diamond.
  EXPECT_EQ(DiamondRating(kWatch2, shipped), 1);
  EXPECT_EQ(DiamondRating(kCommonPipe, shipped), 0) << "no antique look, no diamonds";
  EXPECT_EQ(DiamondRating(kWatch2, TDiamondThresholds{1, 2, 3}), 0);
}

TEST_F(AppraisalTest, ThresholdsAreReadFromTheSettingsWhenAsked) {
  StringTable().SetString("appraisal_c_amount_pipe3", "100000");
  ReadDiamondThresholds();
  EXPECT_EQ(DiamondRating(kPipe3), 1);
  SetSetting("tile_2diamond_req", "100000");
  EXPECT_EQ(DiamondRating(kPipe3), 1) << "read once, not on every rating";
  ReadDiamondThresholds();
  EXPECT_EQ(DiamondRating(kPipe3), 2);
  EXPECT_EQ(DiamondThresholds().three, 1000000);
}

#include "game/face_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(FaceCatalogue, SuitClassesFollowTheSuitRanges) {
  EXPECT_TRUE(IsKennySuit(0));
  EXPECT_FALSE(IsKennySuit(1));
  EXPECT_FALSE(IsTreasureSuit(77));
  EXPECT_TRUE(IsTreasureSuit(78));
  EXPECT_TRUE(IsTreasureSuit(126));
  // The antique-look commons look like treasures but play as common suits.
  for (int suit : {127, 128, 129}) {
    EXPECT_FALSE(IsTreasureSuit(suit)) << suit;
    EXPECT_TRUE(HasAntiqueLook(suit)) << suit;
  }
  EXPECT_FALSE(HasAntiqueLook(77));
  EXPECT_FALSE(IsKnownSuit(130));
  EXPECT_FALSE(IsKnownSuit(-1));
}

TEST(FaceCatalogue, HoldsEveryFaceInSuitAndVariantOrder) {
  const auto faces = CatalogueFaces();
  ASSERT_EQ(faces.size(), 347u);
  int common = 0, treasure = 0, antiqueCommon = 0;
  for (size_t i = 0; i < faces.size(); ++i) {
    const TFaceRow& row = faces[i];
    EXPECT_EQ(FindFaceRow(row.Face()), &row) << row.shortName;
    EXPECT_EQ(FindFaceByShortName(row.shortName), row.Face());
    if (IsCommonSuit(row.suit)) ++common;
    if (IsTreasureSuit(row.suit)) ++treasure;
    if (row.suit >= 127) ++antiqueCommon;
  }
  EXPECT_EQ(common, 231);
  EXPECT_EQ(treasure, 108);
  EXPECT_EQ(antiqueCommon, 7);
  std::set<std::string_view> names;
  for (const TFaceRow& row : faces) names.insert(row.shortName);
  EXPECT_EQ(names.size(), faces.size()) << "short names key the appraisal texts";
}

TEST(FaceCatalogue, NamesFacesAsTheTilePicturesAreNamed) {
  // The Kenny suit shows one picture whatever the variant number.
  EXPECT_EQ(FaceImageName({0, 0}), "unclekenny/unclekenny");
  EXPECT_EQ(FaceImageName({0, 5}), "unclekenny/unclekenny");
  EXPECT_EQ(FaceShortName({0, 3}), "unclekenny");
  EXPECT_EQ(FaceImageName({5, 2}), "common/camera/projector2");
  EXPECT_EQ(FaceShortName({5, 2}), "projector2");
  EXPECT_EQ(FaceImageName({10, 1}), "common/coin/coin6");  // variant order is the row order
  EXPECT_EQ(FaceImageName({83, 7}), "treasure/chair/chair14");
  EXPECT_EQ(FaceImageName({106, 5}), "treasure/stamp/stamp6");
  EXPECT_EQ(FaceImageName({129, 0}), "treasure/lock/lock1");
  // Outside the catalogue: empty names.
  EXPECT_EQ(FaceImageName({1, 1}), "");
  EXPECT_EQ(FaceImageName({1, -1}), "");
  EXPECT_EQ(FaceImageName({130, 0}), "");
  EXPECT_EQ(FaceShortName({-1, -1}), "");
  EXPECT_FALSE(IsCataloguedFace({1, 1}));
  EXPECT_FALSE(IsCataloguedFace(kNoFace));
  EXPECT_TRUE(IsCataloguedFace({126, 0}));
  EXPECT_EQ(FindFaceByShortName("nosuchface"), kNoFace);
}

TEST(FaceCatalogue, CountsVariantsAndKeysSuitNames) {
  EXPECT_EQ(VariantCount(0), 1);
  EXPECT_EQ(VariantCount(14), 12);
  EXPECT_EQ(VariantCount(46), 12);
  EXPECT_EQ(VariantCount(83), 8);
  EXPECT_EQ(VariantCount(130), 0);
  EXPECT_EQ(VariantCount(-3), 0);
  int total = 0;
  for (int suit = 0; suit < kSuitCount; ++suit) {
    EXPECT_GE(VariantCount(suit), 1) << suit;
    total += VariantCount(suit);
  }
  EXPECT_EQ(total, 347);
  EXPECT_EQ(SuitDisplayKey(0), "suit_unclehenry");
  // A treasure suit may share its common twin's display key and still be its own suit.
  EXPECT_EQ(SuitDisplayKey(83), "suit_chair");
  EXPECT_EQ(SuitDisplayKey(8), "suit_chair");
  EXPECT_EQ(SuitDisplayKey(130), "");
}

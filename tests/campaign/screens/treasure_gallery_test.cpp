// The treasure gallery's answers: every location's treasures with the ones won, their
// pictures, appraisals and values, the totals, and the closing step of the campaign.
#include "campaign/screens/treasure_gallery.h"

#include <algorithm>
#include <vector>

#include "campaign/record/location_info.h"
#include "campaign/record/treasure_table.h"
#include "data/prefs.h"
#include "data/string_table.h"
#include "game/appraisal.h"
#include "tests/campaign/screens/screen_test.h"

namespace {

class GalleryTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    StringTable().SetString("localizer_currency_tens_format", "$%%d");
    StringTable().SetString("localizer_currency_thousands_format", "$%%d,%%03d");
    StringTable().SetString("gallery_set", "Set: %1%");
    StringTable().SetString("gallery_set_complete", "Set: %1% (complete)");
  }
  void TearDown() override {
    StringTable().Clear();
    ScreenTest::TearDown();
  }
};

TEST_F(GalleryTest, EveryLocationsTreasuresAreListedAndTheWonOnesKnown) {
  std::vector<TFace> distinct;
  for (int location = 0; location < kCampaignLocationCount; ++location) {
    EXPECT_EQ(GalleryTreasureCount(location), static_cast<int>(TreasureTable(location).size()));
    for (const TFace face : TreasureTable(location))
      if (std::find(distinct.begin(), distinct.end(), face) == distinct.end())
        distinct.push_back(face);
  }
  // A treasure sold at two locations counts once in the totals.
  EXPECT_EQ(GalleryTotalCount(), static_cast<int>(distinct.size()));
  EXPECT_EQ(GalleryTreasureCount(kEndAuction), 0);
  EXPECT_EQ(GalleryTreasureCount(-1), 0);
  EXPECT_EQ(GalleryPicture(0, 999, true), "");
  EXPECT_FALSE(GalleryOwned(7, 0));

  EXPECT_EQ(GalleryOwnedCount(), 0);
  const TFace first = TreasureTable(kYardSale)[2];
  ASSERT_TRUE(game->State().AddToDisplayCase(first));
  EXPECT_TRUE(GalleryOwned(kYardSale, 2));
  EXPECT_FALSE(GalleryOwned(kYardSale, 1));
  EXPECT_EQ(GalleryOwnedCount(), 1);
  const std::string picture = GalleryPicture(kYardSale, 2, true);
  EXPECT_EQ(picture.rfind("tiles/", 0), 0u) << picture;
  EXPECT_EQ(picture.substr(picture.size() - 3), "_lg");
  EXPECT_EQ(GalleryPicture(kYardSale, 2, false).substr(picture.size() - 3), "_md");
  EXPECT_EQ(GalleryValue(kYardSale, 2), FormatCurrency(AppraisalAmount(first)));
  EXPECT_EQ(GalleryDiamonds(kYardSale, 2), DiamondRating(first));
  EXPECT_EQ(GallerySet(kYardSale, 2), "Set: " + SuitDisplayName(first.suit));
}

TEST_F(GalleryTest, ATreasureOfTwoLocationsIsShownWonAtBothAndCountedOnce) {
  const auto shop = TreasureTable(kAntiqueShop);
  const auto texas = TreasureTable(kTexasAuction);
  size_t inShop = shop.size(), inTexas = texas.size();
  for (size_t i = 0; i < shop.size() && inTexas == texas.size(); ++i)
    for (size_t j = 0; j < texas.size(); ++j)
      if (shop[i] == texas[j]) {
        inShop = i;
        inTexas = j;
        break;
      }
  ASSERT_LT(inShop, shop.size()) << "the tables share a treasure";
  ASSERT_TRUE(game->State().AddToDisplayCase(shop[inShop]));
  EXPECT_TRUE(GalleryOwned(kAntiqueShop, static_cast<int>(inShop)));
  EXPECT_TRUE(GalleryOwned(kTexasAuction, static_cast<int>(inTexas)));
  EXPECT_EQ(GalleryOwnedCount(), 1);
}

TEST_F(GalleryTest, TheCampaignsEndMarksTheGameOverAndTheGallerySeen) {
  EXPECT_FALSE(IsCampaignWon());
  EXPECT_FALSE(HasGameEnded());
  game->State().Progress().bankroll = 1234;
  EXPECT_EQ(BankrollText(), "$1,234");
  EXPECT_EQ(FinalScoreText(), "$1,234");
  Run("EndTheGame()");
  EXPECT_TRUE(HasGameEnded());
  TPrefs stored(false);
  EXPECT_EQ(stored.GetPrefInt(record_key::kGameEnded, 0, 0), 1);
  EXPECT_EQ(stored.GetPrefInt(record_key::kGallerySeen, 0, 0), 1);
}

}  // namespace

// The progress record over a real preferences store: what it keeps, where it keeps it, and
// how damaged or missing values read back.
#include "campaign/record/game_state.h"

#include <gtest/gtest.h>

#include <cstring>

#include "campaign/record/record_block.h"
#include "campaign/record/treasure_table.h"
#include "tests/campaign/record/record_test_fixture.h"

namespace {

using GameState = RecordTest;

// The block of a key as stored, decoded.
std::vector<int32_t> StoredBlock(const TPrefs& store, const char* key, size_t size,
                                 int player = 0) {
  std::vector<int32_t> values(size, 12345);
  ReadRecordBlock(store, key, player, values);
  return values;
}

TWonLevel Won(const char* level, TFace treasure = kNoFace, int total = 0) {
  return TWonLevel{level, treasure, total};
}

}  // namespace

TEST_F(GameState, WithoutAPlayerTheRecordKeepsItsDefaultsAndWritesNothing) {
  TGameState state(*store);
  EXPECT_EQ(state.Player(), -1);
  state.Progress().bankroll = 500;
  state.SaveAll();
  state.Reset();
  state.Save(record_key::kBankroll);
  EXPECT_FALSE(std::filesystem::exists(PrefsPath()));
  EXPECT_EQ(store->GetUserCount(), 0);
  EXPECT_EQ(state.Progress().slotsPurchased, kDefaultSlotsPurchased);
  EXPECT_EQ(state.Progress().levelsBeaten[0], -1);
}

TEST_F(GameState, TheFirstWinIsTheTutorialLevelAndLaterWinsCountAsDays) {
  AddPlayer();
  TGameState state(*store);
  state.RecordWonLevel(Won("levels/tutorial/tutorial.xml", kNoFace, 120));
  EXPECT_EQ(store->GetPrefInt(record_key::kTutorialLevelDone, 0, 0), 1);
  EXPECT_EQ(store->GetPrefInt(record_key::kLevelsBeatenCount, -1, 0), 0);
  EXPECT_EQ(store->GetPrefInt(record_key::kBankroll, 0, 0), 120);
  EXPECT_EQ(StoredBlock(*store, record_key::kLocationWins, kLocationCount)[kGrammasAttic], 0);

  state.RecordWonLevel(Won("levels/level_001.xml", kNoFace, 480));
  EXPECT_EQ(store->GetPrefInt(record_key::kLevelsBeatenCount, 0, 0), 1);
  EXPECT_EQ(StoredBlock(*store, record_key::kLevelsBeaten, kLevelsBeatenSlots)[0], 0);
  EXPECT_EQ(StoredBlock(*store, record_key::kLevelsBeaten, kLevelsBeatenSlots)[1], -1);
  EXPECT_EQ(StoredBlock(*store, record_key::kLocationWins, kLocationCount)[kGrammasAttic], 1);

  // What was saved is what the next start reads.
  store = OpenStore();
  TGameState again(*store);
  EXPECT_TRUE(again.Progress().tutorialLevelDone);
  EXPECT_EQ(again.Progress().levelsBeatenCount, 1);
  EXPECT_EQ(again.Progress().levelsBeaten[0], 0);
  EXPECT_EQ(again.Progress().bankroll, 480);
  EXPECT_EQ(again.DaysLeftAtCurrentLocation(), 6);
}

TEST_F(GameState, AWonTreasureGoesToTheNextCollectionSlotAndCountsIntoTheCollectionSize) {
  AddPlayer();
  TGameState state(*store);
  state.Progress().tutorialLevelDone = true;
  const TFace chair = TreasureTable(kGrammasAttic)[0];
  const TFace purse = TreasureTable(kGrammasAttic)[2];
  state.RecordWonLevel(Won("levels/level_001.xml", chair, 10));
  state.RecordWonLevel(Won("levels/level_002.xml", purse, 20));
  EXPECT_EQ(state.Progress().collection[0], chair);
  EXPECT_EQ(state.Progress().collection[1], purse);
  EXPECT_EQ(state.DisplayCase().FilledCount(), 0u);
  EXPECT_EQ(store->GetPrefInt(record_key::kCollectionSize, 0, 0), 2);
  // A treasure already owned is not won twice.
  state.RecordWonLevel(Won("levels/level_003.xml", chair, 30));
  EXPECT_EQ(state.FilledCollectionCount(), 2u);
  EXPECT_EQ(state.DisplayCase().CollectionSize(), 2);
}

TEST_F(GameState, WithEveryUsableSlotFilledAWonTreasureStaysInTheDisplayCase) {
  AddPlayer();
  TGameState state(*store);
  state.Progress().tutorialLevelDone = true;
  state.Progress().slotsPurchased = 2;
  const std::span<const TFace> table = TreasureTable(kYardSale);
  state.Progress().collection.Set(0, table[0]);
  state.Progress().collection.Set(1, table[1]);
  state.RecordWonLevel(Won("levels/level_008.xml", table[2], 0));
  EXPECT_TRUE(state.DisplayCase().Contains(table[2]));
  EXPECT_TRUE(state.IsOwned(table[2]));
  EXPECT_EQ(state.Progress().collection[2], kNoFace) << "slot 2 is no usable slot";
}

TEST_F(GameState, LocationsFollowTheirDaysAndUnlockTheNext) {
  AddPlayer();
  TGameState state(*store);
  EXPECT_EQ(state.CurrentLocation(), kGrammasAttic);
  EXPECT_EQ(state.DaysLeftAtCurrentLocation(), 7);
  EXPECT_FALSE(state.IsLocationUnlocked(kYardSale));
  for (int day = 0; day < 7; ++day) state.RecordLocationWin(kGrammasAttic);
  EXPECT_EQ(state.CurrentLocation(), kYardSale);
  EXPECT_EQ(state.DaysLeftAtCurrentLocation(), 7);
  EXPECT_TRUE(state.IsLocationUnlocked(kYardSale));
  EXPECT_FALSE(state.IsLocationUnlocked(kFleaMarket));
  StringTable().SetString("citymap_yardsale_friendly", "the Yard Sale");
  EXPECT_EQ(state.CurrentLocationFriendlyName(), "the Yard Sale");

  for (const TLocationInfo& location : LocationTable())
    for (int day = 0; day < location.days; ++day) state.RecordLocationWin(location.id);
  EXPECT_EQ(state.CurrentLocation(), kNoLocation);
  EXPECT_EQ(state.DaysLeftAtCurrentLocation(), 0);
  EXPECT_EQ(state.CurrentLocationFriendlyName(), "");
  EXPECT_TRUE(state.IsLocationUnlocked(kEndAuction));
  state.RecordLocationWin(kLocationCount);  // no such location: nothing happens
  state.RecordLocationWin(-1);
}

TEST_F(GameState, TheLevelListHoldsFiftyLevelsAndNoMore) {
  AddPlayer();
  TGameState state(*store);
  EXPECT_FALSE(state.RecordLevelBeaten("levels/tutorial/tutorial.xml"));
  EXPECT_FALSE(state.RecordLevelBeaten("levels/level_051.xml"));
  for (int level = 1; level <= kCampaignLevelCount; ++level) {
    char name[32];
    std::snprintf(name, sizeof name, "levels/level_%03d.xml", level);
    EXPECT_TRUE(state.RecordLevelBeaten(name));
  }
  EXPECT_FALSE(state.RecordLevelBeaten("levels/level_041.xml")) << "a replay after the last";
  EXPECT_EQ(state.Progress().levelsBeatenCount, kCampaignLevelCount);
  EXPECT_EQ(state.Progress().levelsBeaten[49], 49);
}

TEST_F(GameState, DamagedValuesReadBackWithinTheirBounds) {
  AddPlayer();
  store->SetPref(record_key::kLevelsBeatenCount, "9999", 0);
  store->SetPref(record_key::kSlotsPurchased, "-3", 0);
  store->SetPref(record_key::kBankroll, "lots", 0);
  store->SetPref(record_key::kGameStarted, "2", 0);  // a flag is set only by exactly 1
  const int32_t shortBlock[] = {7, 3};
  store->SetPrefData(record_key::kLevelsBeaten, shortBlock, sizeof shortBlock, 0);
  std::string longBlock(kLocationCount * 4 + 6, '\x01');
  store->SetPrefData(record_key::kLocationWins, longBlock.data(),
                     static_cast<int>(longBlock.size()), 0);
  TGameState state(*store);
  const TProgress& progress = state.Progress();
  EXPECT_EQ(progress.levelsBeatenCount, kCampaignLevelCount);
  EXPECT_EQ(progress.slotsPurchased, 0);
  EXPECT_EQ(progress.bankroll, 0);
  EXPECT_FALSE(progress.gameStarted);
  EXPECT_EQ(progress.levelsBeaten[0], 7);
  EXPECT_EQ(progress.levelsBeaten[1], 3);
  EXPECT_EQ(progress.levelsBeaten[2], -1) << "a short block fills only the front";
  EXPECT_EQ(progress.locationWins[7], 0x01010101);
  EXPECT_FALSE(state.RecordLevelBeaten("levels/level_010.xml"));
}

TEST_F(GameState, BlocksAreLittleEndianAndAlwaysWhole) {
  AddPlayer();
  TGameState state(*store);
  state.Progress().locationWins[0] = 0x01020304;
  state.Progress().locationWins[1] = -2;
  state.Save(record_key::kLocationWins);
  std::string bytes;
  ASSERT_TRUE(store->GetPrefBytes(record_key::kLocationWins, &bytes, 0));
  ASSERT_EQ(bytes.size(), kLocationCount * 4);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x04\x03\x02\x01\xfe\xff\xff\xff", 8));
  EXPECT_TRUE(std::filesystem::exists(PrefsPath())) << "a single key is saved at once";
}

TEST_F(GameState, ResetSavesAFreshRecordButKeepsTheStoredTutorialList) {
  AddPlayer();
  TGameState state(*store);
  state.Progress().bankroll = 900;
  state.MarkTutorialSeen(3);
  state.Save(record_key::kTutorials);
  state.DisplayCase().Add(TreasureTable(kFleaMarket)[0]);
  state.SaveAll();
  state.Reset();
  EXPECT_EQ(state.Progress().tutorials[0], -1);
  EXPECT_EQ(state.DisplayCase().FilledCount(), 0u);
  EXPECT_EQ(state.DisplayCase().CollectionSize(), 1) << "the size counts every treasure won";
  EXPECT_EQ(store->GetPrefInt(record_key::kBankroll, -1, 0), 0);
  EXPECT_EQ(StoredBlock(*store, record_key::kTutorials, kTutorialSlots)[0], 3);
  state.LoadAll();
  EXPECT_TRUE(state.IsTutorialSeen("tutorial_fourofafamily"));
}

TEST_F(GameState, TutorialPromptsAreEnteredOnceInTheOrderShown) {
  AddPlayer();
  TGameState state(*store);
  EXPECT_EQ(state.MarkTutorialSeen(8), 0u);
  EXPECT_EQ(state.MarkTutorialSeen(2), 1u);
  EXPECT_EQ(state.MarkTutorialSeen(8), 0u);
  EXPECT_TRUE(state.IsTutorialSeen("tutorial_discover_appraisal"));
  EXPECT_FALSE(state.IsTutorialSeen("tutorial_end"));
  EXPECT_FALSE(state.IsTutorialSeen("no_such_prompt"));
  EXPECT_EQ(state.NextTutorialEntry(8), nullptr);
  ASSERT_NE(state.NextTutorialEntry(6), nullptr);
  EXPECT_EQ(state.NextTutorialEntry(6)->bodyKey, "tutorial_end");
  EXPECT_EQ(state.NextTutorialEntry(22), nullptr);
  EXPECT_EQ(state.MarkTutorialSeen(22), kTutorialSlots) << "no such prompt";
  for (int id = 0; id < kTutorialPromptCount; ++id) state.MarkTutorialSeen(id);
  EXPECT_EQ(state.MarkTutorialSeen(21), 21u);
  EXPECT_EQ(std::count(state.Progress().tutorials.begin(), state.Progress().tutorials.end(), -1),
            0);
}

TEST_F(GameState, TheDisplayCaseFillsItsHolesWhenLoadedAndRemovalKeepsTheSize) {
  AddPlayer();
  const std::span<const TFace> table = TreasureTable(kTexasAuction);
  {
    TGameState state(*store);
    for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(state.AddToDisplayCase(table[i]));
    EXPECT_FALSE(state.AddToDisplayCase(table[0])) << "once only";
    state.RemoveFromDisplayCase(table[1]);
    EXPECT_EQ(state.DisplayCase().Slot(1), kNoFace);
    state.DisplayCase().Save();
  }
  EXPECT_EQ(store->GetPrefInt(record_key::kCollectionSize, 0, 0), 4);
  TGameState state(*store);
  EXPECT_EQ(state.DisplayCase().Slot(0), table[0]);
  EXPECT_EQ(state.DisplayCase().Slot(1), table[2]);
  EXPECT_EQ(state.DisplayCase().Slot(2), table[3]);
  EXPECT_EQ(state.DisplayCase().Slot(3), kNoFace);
  EXPECT_EQ(state.DisplayCase().CollectionSize(), 4);
}

TEST_F(GameState, AFullDisplayCaseRefusesMore) {
  AddPlayer();
  TGameState state(*store);
  int added = 0;
  for (const TFaceRow& row : CatalogueFaces()) added += state.AddToDisplayCase(row.Face());
  EXPECT_EQ(added, static_cast<int>(TDisplayCase::kSlots));
  EXPECT_EQ(state.DisplayCase().FilledCount(), TDisplayCase::kSlots);
}

TEST_F(GameState, GivingUpSlotsMovesTheirTreasuresIntoTheDisplayCase) {
  AddPlayer();
  TGameState state(*store);
  const std::span<const TFace> table = TreasureTable(kSothebys);
  for (size_t slot = 0; slot < 10; ++slot) state.Progress().collection.Set(slot, table[slot]);
  state.GiveUpCollectionSlots(2);
  EXPECT_EQ(state.Progress().slotsPurchased, 8);
  EXPECT_EQ(store->GetPrefInt(record_key::kSlotsPurchased, 0, 0), 8);
  EXPECT_TRUE(state.DisplayCase().Contains(table[9]));
  EXPECT_TRUE(state.DisplayCase().Contains(table[8]));
  EXPECT_FALSE(state.DisplayCase().Contains(table[7]));
  EXPECT_TRUE(state.IsOwned(table[9]));
  EXPECT_FALSE(state.CollectionContains(table[9]));
  state.GiveUpCollectionSlots(0);
  EXPECT_EQ(state.Progress().slotsPurchased, 8);
}

TEST_F(GameState, GivingUpASlotKeepsItsTreasureWhenTheDisplayCaseIsFull) {
  AddPlayer();
  TGameState state(*store);
  const TFace kept = TreasureTable(kSothebys)[0];
  for (const TFaceRow& row : CatalogueFaces())
    if (!(row.Face() == kept)) state.AddToDisplayCase(row.Face());
  state.Progress().collection.Set(9, kept);
  state.GiveUpCollectionSlots(1);
  EXPECT_EQ(state.Progress().slotsPurchased, 10);
  EXPECT_TRUE(state.CollectionContains(kept));
}

TEST_F(GameState, PlacingExchangesWithinTheCollectionOrWithTheDisplayCase) {
  AddPlayer();
  TGameState state(*store);
  const std::span<const TFace> table = TreasureTable(kEstateSale);
  state.Progress().collection.Set(0, table[0]);
  state.Progress().collection.Set(3, table[1]);
  EXPECT_TRUE(state.PlaceInCollectionSlot(table[1], 0));
  EXPECT_EQ(state.Progress().collection[0], table[1]);
  EXPECT_EQ(state.Progress().collection[3], table[0]);

  state.AddToDisplayCase(table[2]);
  EXPECT_TRUE(state.PlaceInCollectionSlot(table[2], 3));
  EXPECT_EQ(state.Progress().collection[3], table[2]);
  EXPECT_TRUE(state.DisplayCase().Contains(table[0])) << "the slot's occupant moved out";
  EXPECT_FALSE(state.DisplayCase().Contains(table[2]));

  EXPECT_FALSE(state.PlaceInCollectionSlot(table[5], 4)) << "not owned";
  EXPECT_FALSE(state.PlaceInCollectionSlot(table[0], 10)) << "not a usable slot";
  state.RemoveFromCollection(table[1]);
  EXPECT_EQ(state.Progress().collection[0], kNoFace);
  EXPECT_EQ(state.FilledCollectionCount(), 1u);
}

TEST_F(GameState, ACompleteSetCountsItsSuitTotalOnce) {
  AddPlayer();
  TGameState state(*store);
  const TFace guitar1 = Face("guitar1"), guitar3 = Face("guitar3"), sled = Face("sled1");
  ASSERT_EQ(guitar1.suit, guitar3.suit);
  ASSERT_EQ(VariantCount(guitar1.suit), 2);
  StringTable().SetString("appraisal_c_amount_guitar1", "1000");
  StringTable().SetString("appraisal_c_amount_guitar3", "2000");
  StringTable().SetString("appraisal_c_amount_sled1", "300");
  state.Progress().collection.Set(0, guitar1);
  state.Progress().collection.Set(1, sled);
  EXPECT_FALSE(state.IsSetComplete(guitar1.suit));
  EXPECT_EQ(state.CollectionValue(), 1300);
  state.Progress().collection.Set(5, guitar3);
  EXPECT_TRUE(state.IsSetComplete(guitar1.suit));
  EXPECT_EQ(state.CollectionValue(), 3300);
  // A set whose missing variant sits beyond the usable slots is not complete.
  state.Progress().slotsPurchased = 5;
  EXPECT_FALSE(state.IsSetComplete(guitar1.suit));
  EXPECT_EQ(state.CollectionValue(), 1300);
  EXPECT_FALSE(state.IsSetComplete(-1));
}

TEST_F(GameState, UnownedTreasuresAreDrawnFromTheLocationsTable) {
  AddPlayer();
  TGameState state(*store);
  const std::span<const TFace> table = TreasureTable(kGrammasAttic);
  for (uint32_t seed = 0; seed < 50; ++seed) {
    const TFace face = state.ChooseUnownedTreasure(kGrammasAttic, kNoFace, seed);
    EXPECT_NE(std::find(table.begin(), table.end(), face), table.end());
  }
  // Everything owned but one: that one, whatever the seed; and never the excluded face.
  for (size_t i = 1; i < table.size(); ++i) state.AddToDisplayCase(table[i]);
  for (uint32_t seed = 0; seed < 20; ++seed) {
    EXPECT_EQ(state.ChooseUnownedTreasure(kGrammasAttic, kNoFace, seed), table[0]);
  }
  EXPECT_EQ(state.ChooseUnownedTreasure(kGrammasAttic, table[0], 1), kNoFace);
  state.AddToDisplayCase(table[0]);
  EXPECT_EQ(state.ChooseUnownedTreasure(kGrammasAttic, kNoFace, 1), kNoFace);
  EXPECT_EQ(state.ChooseUnownedTreasure(kEndAuction, kNoFace, 1), kNoFace);
  EXPECT_EQ(state.ChooseUnownedTreasure(-1, kNoFace, 1), kNoFace);
}

TEST_F(GameState, SavingOneKeyWritesOnlyWhatItNames) {
  AddPlayer();
  TGameState state(*store);
  state.Progress().gameStarted = true;
  state.Progress().bankroll = 77;
  state.Save(record_key::kGameStarted);
  store = OpenStore();
  EXPECT_EQ(store->GetPrefInt(record_key::kGameStarted, 0, 0), 1);
  EXPECT_EQ(store->GetPrefInt(record_key::kBankroll, -1, 0), -1);
}

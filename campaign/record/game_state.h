// TGameState: the progress record of the current player, kept in the preferences store
// under the "mj_" keys: levels beaten, days won per location, the collection of won
// treasures and the display case, seen tutorial prompts, the bankroll carried from level to
// level, and a few flags. Without a player (store "curuser" = -1) nothing is read or
// written and the record keeps its defaults.
//
// The screens read and change the record through TProgress and the operations here; a
// change reaches the store when its key is saved (Save, SaveAll).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "campaign/record/display_case.h"
#include "campaign/record/face_slots.h"
#include "campaign/record/location_info.h"
#include "game/tutorial_prompt.h"

class TPrefs;

inline constexpr size_t kLevelsBeatenSlots = kCampaignLevelCount;
inline constexpr size_t kKennyTileSlots = 20;
inline constexpr size_t kRecentBlurbSlots = 5;
inline constexpr size_t kTutorialSlots = kTutorialPromptCount;
inline constexpr size_t kCollectionSlots = 25;
inline constexpr int kDefaultSlotsPurchased = 10;

// The record's values, each with the value a fresh record has.
struct TProgress {
  TProgress();

  bool gameStarted = false;
  bool gameEnded = false;
  bool introSeen = false;
  bool gallerySeen = false;
  bool tutorialLevelDone = false;  // the first won level (the tutorial level) is behind
  int32_t levelsBeatenCount = 0;   // 0..50
  int32_t speedLevelsPlayed = 0;
  int32_t bankroll = 0;
  int32_t slotsPurchased = kDefaultSlotsPurchased;  // usable collection slots, 0..24
  int32_t currentRanking = -1;
  int32_t highestRanking = -1;
  // Level-table indices in the order beaten, -1 = empty.
  std::array<int32_t, kLevelsBeatenSlots> levelsBeaten;
  std::array<int32_t, kKennyTileSlots> kennyTiles;
  std::array<int32_t, kRecentBlurbSlots> recentBlurbs;
  // Tutorial prompt ids in the order first shown, -1 = empty.
  std::array<int32_t, kTutorialSlots> tutorials;
  // Days won per location id.
  std::array<int32_t, kLocationCount> locationWins;
  TFaceSlots<kCollectionSlots> collection;
  std::string noShow;
  std::string noDownload;
};

// What a won level leaves behind (the end-of-level screen's account of it).
struct TWonLevel {
  std::string levelName;     // the level file played ("levels/level_003.xml")
  TFace treasure = kNoFace;  // the treasure won, kNoFace for none
  int32_t finalTotal = 0;    // the bankroll after the level
};

class TGameState {
 public:
  // Loads the record of the store's current player.
  explicit TGameState(TPrefs& store);
  ~TGameState();
  TGameState(const TGameState&) = delete;
  TGameState& operator=(const TGameState&) = delete;

  // --- The record and the store
  // Back to a fresh record, then reads every key of the current player (looked up anew).
  void LoadAll();
  // Writes every key but the tutorial list (written only by Save), then the display case,
  // and saves the store's file once.
  void SaveAll();
  // A fresh record (the display case emptied, its collection size kept), saved when there
  // is a player. The store keeps its tutorial list.
  void Reset();
  // Writes one record key now (a "mj_" key of record_keys.h); unknown keys are logged.
  void Save(std::string_view key);
  // The player the record belongs to, -1 for none.
  int Player() const { return mPlayer; }

  TProgress& Progress() { return mProgress; }
  const TProgress& Progress() const { return mProgress; }
  TDisplayCase& DisplayCase() { return *mDisplayCase; }
  const TDisplayCase& DisplayCase() const { return *mDisplayCase; }

  // --- Levels and locations
  // Appends the level's index to the levels beaten; false when the name is no campaign
  // level or all 50 are recorded.
  bool RecordLevelBeaten(std::string_view levelName);
  void RecordLocationWin(int location);
  // The first location (of the seven with days) not yet won; kNoLocation when all are.
  int CurrentLocation() const;
  // Days left at the current location, 0 when every location is won.
  int DaysLeftAtCurrentLocation() const;
  // The localized "citymap_<key>_friendly" of the current location, "" when all are won.
  std::string CurrentLocationFriendlyName() const;
  // A location is unlocked when a location that unlocks it has been won.
  bool IsLocationUnlocked(int location) const;
  bool IsLocationWon(int location) const;
  // The end of a won level: the treasure into the display case and from there into the next
  // collection slot; the first win only marks the tutorial level done, later wins record the
  // level and a day at the current location; the bankroll becomes the level's total; all
  // saved.
  void RecordWonLevel(const TWonLevel& won);

  // --- Tutorial prompts
  // The prompt's position in the seen list, entered into the first free entry when new;
  // kTutorialSlots when the list is full (or the id is no prompt). The caller saves
  // "mj_tutorials".
  size_t MarkTutorialSeen(int id);
  bool IsTutorialSeen(std::string_view bodyKey) const;
  // The prompt of that id when it exists and has not been seen; null otherwise.
  const TTutorialPrompt* NextTutorialEntry(int id) const;

  // --- Collection and display case
  // In a usable collection slot (the first slotsPurchased).
  bool CollectionContains(TFace face) const;
  // In a usable collection slot or anywhere in the display case.
  bool IsOwned(TFace face) const;
  // Into the display case unless owned already; false when refused or the case is full.
  bool AddToDisplayCase(TFace face);
  // Empties the usable collection slot holding the face (logged). Callers save the display
  // case and "mj_collectionslots".
  void RemoveFromCollection(TFace face);
  // Empties the display-case slot holding the face, when owned (logged).
  void RemoveFromDisplayCase(TFace face);
  // Moves an owned face into collection slot `slot`: from another usable slot (the two
  // exchange) or from the display case (the slot's occupant goes there). False when the
  // face is not owned or the slot is no usable slot.
  bool PlaceInCollectionSlot(TFace face, size_t slot);
  // Usable slots holding a face.
  size_t FilledCollectionCount() const;
  // Every variant of the suit is in the usable slots; false for a suit without variants.
  bool IsSetComplete(int suit) const;
  // The treasure part of the final score: complete sets count their suit's total once,
  // other faces their own appraisal.
  int CollectionValue() const;
  // Gives up the last n usable slots; their faces move into the display case. Stops early
  // (logged) when the case cannot take a face, so that no treasure is lost.
  void GiveUpCollectionSlots(int n);
  // A treasure of the location's table the player does not own yet, not `excluded`, drawn
  // at random from a generator seeded with `seed`; kNoFace when there is none.
  TFace ChooseUnownedTreasure(int location, TFace excluded, uint32_t seed) const;

 private:
  void LookUpPlayer();
  bool IsUsableSlot(size_t slot) const;

  TPrefs& mStore;
  int mPlayer = -1;
  TProgress mProgress;
  std::unique_ptr<TDisplayCase> mDisplayCase;
};

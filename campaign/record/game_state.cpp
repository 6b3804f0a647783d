#include "campaign/record/game_state.h"

#include <algorithm>
#include <span>

#include "campaign/record/record_block.h"
#include "campaign/record/record_keys.h"
#include "campaign/record/treasure_table.h"
#include "data/prefs.h"
#include "data/string_table.h"
#include "frame/log.h"
#include "frame/mersenne_twister.h"
#include "game/appraisal.h"
#include "game/face_catalogue.h"
#include "game/level_list.h"

// ------------------------------------------------------------------- the record's keys

namespace {

struct TFlagField {
  const char* key;
  bool TProgress::*member;
};
struct TIntegerField {
  const char* key;
  int32_t TProgress::*member;
};
struct TTextField {
  const char* key;
  std::string TProgress::*member;
};
struct TBlockField {
  const char* key;
  std::span<int32_t> (*values)(TProgress&);
};

constexpr TFlagField kFlags[] = {
    {record_key::kGameStarted, &TProgress::gameStarted},
    {record_key::kGameEnded, &TProgress::gameEnded},
    {record_key::kIntroSeen, &TProgress::introSeen},
    {record_key::kGallerySeen, &TProgress::gallerySeen},
    {record_key::kTutorialLevelDone, &TProgress::tutorialLevelDone},
};

constexpr TIntegerField kIntegers[] = {
    {record_key::kLevelsBeatenCount, &TProgress::levelsBeatenCount},
    {record_key::kSpeedLevelsPlayed, &TProgress::speedLevelsPlayed},
    {record_key::kBankroll, &TProgress::bankroll},
    {record_key::kSlotsPurchased, &TProgress::slotsPurchased},
    {record_key::kCurrentRanking, &TProgress::currentRanking},
    {record_key::kHighestRanking, &TProgress::highestRanking},
};

constexpr TTextField kTexts[] = {
    {record_key::kNoShow, &TProgress::noShow},
    {record_key::kNoDownload, &TProgress::noDownload},
};

// The tutorial list comes last: SaveAll leaves it out.
const TBlockField kBlocks[] = {
    {record_key::kLevelsBeaten, [](TProgress& p) { return std::span<int32_t>(p.levelsBeaten); }},
    {record_key::kKennyTiles, [](TProgress& p) { return std::span<int32_t>(p.kennyTiles); }},
    {record_key::kRecentBlurbs, [](TProgress& p) { return std::span<int32_t>(p.recentBlurbs); }},
    {record_key::kLocationWins, [](TProgress& p) { return std::span<int32_t>(p.locationWins); }},
    {record_key::kCollectionSlots, [](TProgress& p) { return p.collection.Values(); }},
    {record_key::kTutorials, [](TProgress& p) { return std::span<int32_t>(p.tutorials); }},
};

bool IsTutorialBlock(const TBlockField& field) {
  return std::string_view(field.key) == record_key::kTutorials;
}

}  // namespace

TProgress::TProgress() {
  levelsBeaten.fill(-1);
  kennyTiles.fill(-1);
  recentBlurbs.fill(-1);
  tutorials.fill(-1);
  locationWins.fill(0);
}

// ------------------------------------------------------------------- load and save

TGameState::TGameState(TPrefs& store) : mStore(store) {
  LoadAll();
}

TGameState::~TGameState() = default;

void TGameState::LookUpPlayer() {
  mPlayer = mStore.GetPrefInt(record_key::kCurrentUser, -1);
  if (mPlayer < -1 || mPlayer >= mStore.GetUserCount()) {
    Log("Progress record: the current player %d does not exist; no record is kept", mPlayer);
    mPlayer = -1;
  }
}

void TGameState::LoadAll() {
  mProgress = TProgress();
  LookUpPlayer();
  if (mPlayer >= 0) {
    // A fresh record's values are the defaults of the keys a store does not hold.
    for (const TFlagField& field : kFlags) {
      mProgress.*field.member = mStore.GetPrefInt(field.key, mProgress.*field.member, mPlayer) == 1;
    }
    for (const TIntegerField& field : kIntegers) {
      mProgress.*field.member = mStore.GetPrefInt(field.key, mProgress.*field.member, mPlayer);
    }
    for (const TTextField& field : kTexts) {
      mProgress.*field.member = mStore.GetPref(field.key, "", mPlayer);
    }
    for (const TBlockField& field : kBlocks) {
      ReadRecordBlock(mStore, field.key, mPlayer, field.values(mProgress));
    }
    // Damaged numbers must not send the list operations out of their arrays.
    mProgress.levelsBeatenCount =
        std::clamp<int32_t>(mProgress.levelsBeatenCount, 0, kLevelsBeatenSlots);
    mProgress.slotsPurchased =
        std::clamp<int32_t>(mProgress.slotsPurchased, 0, kCollectionSlots - 1);
  }
  mDisplayCase = std::make_unique<TDisplayCase>(mStore, mPlayer);
}

void TGameState::SaveAll() {
  if (mPlayer < 0) LookUpPlayer();
  if (mPlayer < 0) return;
  for (const TFlagField& field : kFlags) {
    mStore.SetPrefInt(field.key, mProgress.*field.member ? 1 : 0, mPlayer);
  }
  for (const TIntegerField& field : kIntegers) {
    mStore.SetPrefInt(field.key, mProgress.*field.member, mPlayer);
  }
  for (const TBlockField& field : kBlocks) {
    if (!IsTutorialBlock(field))
      WriteRecordBlock(mStore, field.key, mPlayer, field.values(mProgress), false);
  }
  for (const TTextField& field : kTexts) {
    mStore.SetPref(field.key, mProgress.*field.member, mPlayer);
  }
  mDisplayCase->Save(false);
  mStore.Save();
}

void TGameState::Save(std::string_view key) {
  if (mPlayer < 0) return;
  for (const TFlagField& field : kFlags) {
    if (key == field.key)
      return mStore.SetPrefInt(field.key, mProgress.*field.member ? 1 : 0, mPlayer, true);
  }
  for (const TIntegerField& field : kIntegers) {
    if (key == field.key)
      return mStore.SetPrefInt(field.key, mProgress.*field.member, mPlayer, true);
  }
  for (const TTextField& field : kTexts) {
    if (key == field.key) return mStore.SetPref(field.key, mProgress.*field.member, mPlayer, true);
  }
  for (const TBlockField& field : kBlocks) {
    if (key == field.key)
      return WriteRecordBlock(mStore, field.key, mPlayer, field.values(mProgress), true);
  }
  if (key == record_key::kDisplayCase || key == record_key::kCollectionSize)
    return mDisplayCase->Save();
  Log("Progress record: no key '%.*s' to save", static_cast<int>(key.size()), key.data());
}

void TGameState::Reset() {
  mProgress = TProgress();
  mDisplayCase->Clear();
  if (mStore.GetPrefInt(record_key::kCurrentUser, -1) >= 0) SaveAll();
}

// ------------------------------------------------------------------- levels and locations

bool TGameState::RecordLevelBeaten(std::string_view levelName) {
  const int index = LevelIndexFromName(levelName);
  if (index < 0) return false;
  // The list holds every campaign level once; a full list records nothing more (a level
  // played after the fiftieth is a replay).
  if (mProgress.levelsBeatenCount >= static_cast<int32_t>(kLevelsBeatenSlots)) return false;
  mProgress.levelsBeaten[static_cast<size_t>(mProgress.levelsBeatenCount)] = index;
  ++mProgress.levelsBeatenCount;
  return true;
}

void TGameState::RecordLocationWin(int location) {
  if (location < 0 || location >= kLocationCount) return;
  ++mProgress.locationWins[static_cast<size_t>(location)];
}

bool TGameState::IsLocationWon(int location) const {
  const TLocationInfo* info = FindLocation(location);
  return info && mProgress.locationWins[static_cast<size_t>(location)] >= info->days;
}

int TGameState::CurrentLocation() const {
  for (const TLocationInfo& location : LocationTable()) {
    if (mProgress.locationWins[static_cast<size_t>(location.id)] < location.days)
      return location.id;
  }
  return kNoLocation;
}

int TGameState::DaysLeftAtCurrentLocation() const {
  const TLocationInfo* current = FindLocation(CurrentLocation());
  if (!current) return 0;
  return current->days - mProgress.locationWins[static_cast<size_t>(current->id)];
}

std::string TGameState::CurrentLocationFriendlyName() const {
  const TLocationInfo* current = FindLocation(CurrentLocation());
  if (!current) return std::string();
  return GetString("citymap_" + std::string(current->keyName) + "_friendly");
}

bool TGameState::IsLocationUnlocked(int location) const {
  for (const TLocationInfo& info : LocationTable()) {
    if (info.unlocks == location && IsLocationWon(info.id)) return true;
  }
  return false;
}

void TGameState::RecordWonLevel(const TWonLevel& won) {
  if (!won.treasure.IsNone() && AddToDisplayCase(won.treasure)) {
    // Into the next free collection slot; with every usable slot filled the treasure stays
    // in the display case.
    const size_t slot = FilledCollectionCount();
    if (IsUsableSlot(slot)) PlaceInCollectionSlot(won.treasure, slot);
  }
  if (mProgress.tutorialLevelDone) {
    RecordLevelBeaten(won.levelName);
    RecordLocationWin(CurrentLocation());
  } else {
    mProgress.tutorialLevelDone = true;  // the first won level is the tutorial level
  }
  mProgress.bankroll = won.finalTotal;
  SaveAll();
}

// ------------------------------------------------------------------- tutorial prompts

size_t TGameState::MarkTutorialSeen(int id) {
  if (id < 0 || id >= kTutorialPromptCount) return kTutorialSlots;
  std::array<int32_t, kTutorialSlots>& list = mProgress.tutorials;
  const auto seen = std::find(list.begin(), list.end(), id);
  if (seen != list.end()) return static_cast<size_t>(seen - list.begin());
  const auto free = std::find(list.begin(), list.end(), -1);
  if (free == list.end()) return kTutorialSlots;
  *free = id;
  return static_cast<size_t>(free - list.begin());
}

bool TGameState::IsTutorialSeen(std::string_view bodyKey) const {
  const TTutorialPrompt* prompt = FindTutorialPrompt(bodyKey);
  if (!prompt) return false;
  const std::array<int32_t, kTutorialSlots>& list = mProgress.tutorials;
  return std::find(list.begin(), list.end(), prompt->id) != list.end();
}

const TTutorialPrompt* TGameState::NextTutorialEntry(int id) const {
  if (id < 0 || id >= kTutorialPromptCount) return nullptr;
  const std::array<int32_t, kTutorialSlots>& list = mProgress.tutorials;
  if (std::find(list.begin(), list.end(), id) != list.end()) return nullptr;
  return &TutorialPrompts()[static_cast<size_t>(id)];
}

// ------------------------------------------------------------------- collection

bool TGameState::IsUsableSlot(size_t slot) const {
  return slot < std::min<size_t>(static_cast<size_t>(std::max(mProgress.slotsPurchased, 0)),
                                 kCollectionSlots);
}

bool TGameState::CollectionContains(TFace face) const {
  if (face.IsNone()) return false;
  const size_t slot = mProgress.collection.Find(face);
  return IsUsableSlot(slot);
}

bool TGameState::IsOwned(TFace face) const {
  return CollectionContains(face) || mDisplayCase->Contains(face);
}

bool TGameState::AddToDisplayCase(TFace face) {
  if (CollectionContains(face)) return false;
  return mDisplayCase->Add(face);
}

void TGameState::RemoveFromCollection(TFace face) {
  Log("GAMESTATE: REMOVING TILE FROM COLLECTION (%d,%d)", face.suit, face.variant);
  const size_t slot = mProgress.collection.Find(face);
  if (!face.IsNone() && IsUsableSlot(slot)) mProgress.collection.Set(slot, kNoFace);
}

void TGameState::RemoveFromDisplayCase(TFace face) {
  Log("GAMESTATE: REMOVING TILE FROM GALLERY (%d,%d)", face.suit, face.variant);
  if (IsOwned(face)) mDisplayCase->Remove(face);
}

bool TGameState::PlaceInCollectionSlot(TFace face, size_t slot) {
  if (face.IsNone() || !IsUsableSlot(slot)) return false;
  TFaceSlots<kCollectionSlots>& collection = mProgress.collection;
  const size_t from = collection.Find(face);
  if (IsUsableSlot(from)) {
    collection.Set(from, collection[slot]);
    collection.Set(slot, face);
    return true;
  }
  TFace occupant = collection[slot];
  if (!mDisplayCase->Exchange(face, occupant)) return false;
  collection.Set(slot, occupant);
  return true;
}

size_t TGameState::FilledCollectionCount() const {
  size_t count = 0;
  for (size_t slot = 0; IsUsableSlot(slot); ++slot) count += !mProgress.collection[slot].IsNone();
  return count;
}

bool TGameState::IsSetComplete(int suit) const {
  const int variants = VariantCount(suit);
  if (variants <= 0) return false;
  for (int variant = 0; variant < variants; ++variant) {
    if (!CollectionContains(TFace{suit, variant})) return false;
  }
  return true;
}

int TGameState::CollectionValue() const {
  TFaceSlots<kCollectionSlots> work = mProgress.collection;
  int value = 0;
  for (size_t slot = 0; IsUsableSlot(slot); ++slot) {
    const TFace face = work[slot];
    if (face.IsNone()) continue;
    if (IsSetComplete(face.suit)) {
      value += SuitTotalAmount(face.suit);
      for (size_t other = slot; IsUsableSlot(other); ++other) {
        if (work[other].suit == face.suit) work.Set(other, kNoFace);
      }
    } else {
      value += AppraisalAmount(face);
      work.Set(slot, kNoFace);
    }
  }
  return value;
}

void TGameState::GiveUpCollectionSlots(int n) {
  if (n < 1) return;
  for (int i = 0; i < n && mProgress.slotsPurchased > 0; ++i) {
    const size_t last = static_cast<size_t>(mProgress.slotsPurchased - 1);
    const TFace face = mProgress.collection[last];
    if (!face.IsNone()) {
      // The face leaves its slot first: the display case takes no face that still sits in
      // a usable slot.
      mProgress.collection.Set(last, kNoFace);
      if (!mDisplayCase->Add(face)) {
        mProgress.collection.Set(last, face);
        Log("Progress record: the display case cannot take (%d,%d); slot %zu is kept", face.suit,
            face.variant, last);
        break;
      }
    }
    --mProgress.slotsPurchased;
  }
  Save(record_key::kSlotsPurchased);
}

TFace TGameState::ChooseUnownedTreasure(int location, TFace excluded, uint32_t seed) const {
  const std::span<const TFace> table = TreasureTable(location);
  const auto available = [&](TFace face) {
    return !IsOwned(face) && face.variant != excluded.variant && face.suit != excluded.suit;
  };
  const auto firstAvailable = std::find_if(table.begin(), table.end(), available);
  if (firstAvailable == table.end()) return kNoFace;
  TMersenneTwister random(seed);
  // Any unowned entry but the excluded face itself may be drawn. One such entry exists (the
  // available one found above), so the draws end; they are bounded all the same.
  for (size_t draw = 0; draw < table.size() * 64; ++draw) {
    const TFace face = table[random.Next() % table.size()];
    if (!IsOwned(face) && !(face == excluded)) return face;
  }
  return *firstAvailable;
}

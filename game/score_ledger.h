// The score of a level as a ledger of entries: the bankroll carried in, what each match
// and set earns, the bonus for the tiles left at a treasure ending, purchases and the
// corrections undo makes. Undo takes an entry back by its slot; the end-of-level screen
// reads the totals by kind.
//
// Slots are never reused: undo empties a slot and the next entry takes a new one, so the
// slot an undo record names always holds that record's entry. The ledger grows as needed
// rather than stopping at a fixed number of slots, so a level in which matches are undone
// and made again many times keeps scoring every match (each slot costs a few dozen bytes).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "frame/mersenne_twister.h"
#include "game/face.h"

enum class TScoreKind : int32_t {
  kPair = 0,            // matched pair of a common suit
  kSetOf3 = 1,          // three identical tiles
  kSetOf4 = 2,          // four identical tiles
  kRunOf3 = 3,          // three tiles of one suit, not all identical
  kRunOf4 = 4,          // four tiles of one suit, not all identical
  kTreasurePair = 5,    // matched treasure pair, worth 0
  kTilesLeft = 6,       // tiles left at a treasure ending
  kKennyGift = 7,       // money given by Zozad Uravi's offer
  kBankroll = 8,        // the opening entry: money carried from earlier levels
  kPurchase = 10,       // hint, shuffle, appraisal (negative)
  kUndoCorrection = 12  // brings a total that undo made negative back to 0
};

struct TScoreEntry {
  int32_t points = 0;
  std::array<int32_t, 4> parts{};  // per-tile amounts of a set or run
  double multiplier = 1.0;
  TScoreKind kind = TScoreKind::kPair;

  // points x multiplier in double precision, truncated toward zero (and kept inside int).
  int32_t Value() const;
};

// The scoring settings, read once when a ledger is made.
struct TScoreSettings {
  int matchValueMin = 7;
  int matchValueMax = 14;  // random amounts stay below this
  int remainingTileValue = 20;
  double matchMultiplier = 1.0;
  double setOf3Multiplier = 2.0;
  double setOf4Multiplier = 3.0;
  double runOf3Multiplier = 2.0;
  double runOf4Multiplier = 3.0;
  int appraisalCost = 500;
  int hintCost = 30;
  int shuffleCost = 200;

  // "score_matchvalue_min", "score_matchvalue_max", ... with the defaults above.
  static TScoreSettings FromSettings();
};

class TScoreLedger {
 public:
  // amountSeed seeds the generator of the random match amounts.
  explicit TScoreLedger(const TScoreSettings& settings = TScoreSettings::FromSettings(),
                        uint32_t amountSeed = 5489u);

  // Appends an entry with parts 0; returns its slot.
  int Add(int32_t points, double multiplier, TScoreKind kind);
  // Scores a group of tiles by their faces: 2 identical (a pair; a treasure pair is worth
  // 0), 3 or 4 identical (a set) or 3 or 4 of one suit (a run). Returns the slot, or -1
  // when the group scores nothing.
  int AddForTiles(std::span<const TFace> faces);
  // The bonus for count tiles left when a treasure ends the level.
  int AddRemaining(int count);
  // Undo of one entry: ignored for a negative or empty slot. A total that falls below 0
  // is brought back to 0 by a correction entry.
  void Remove(int slot);
  // Redo of an entry that undo took out: the same entry in a new slot.
  int Restore(const TScoreEntry& entry) { return Append(entry); }

  int Total() const;
  int TotalOfKind(TScoreKind kind) const;
  int CountOfKind(TScoreKind kind) const;
  // The value of the entry in the last slot used (0 when undo emptied it).
  int LastValue() const;

  const TScoreEntry* Entry(int slot) const;
  int SlotsUsed() const { return static_cast<int>(mSlots.size()); }

  const TScoreSettings& Settings() const { return mSettings; }
  int HintCost() const { return mSettings.hintCost; }
  int ShuffleCost() const { return mSettings.shuffleCost; }
  int AppraisalCost() const { return mSettings.appraisalCost; }
  // A purchase is allowed only when the total covers the price; then a negative entry.
  bool CanAfford(int price) const { return Total() >= price; }
  int AddPurchase(int price) { return Add(-price, 1.0, TScoreKind::kPurchase); }

  // One random amount: min + (random modulo (max - min)). A range that is empty or
  // reversed in the settings gives min.
  int32_t RandomAmount();

 private:
  int Append(const TScoreEntry& entry);

  TScoreSettings mSettings;
  TMersenneTwister mAmounts;
  std::vector<std::optional<TScoreEntry>> mSlots;
};

#include "game/score_ledger.h"

#include <algorithm>
#include <cmath>

#include "data/settings.h"

namespace {

int32_t ClampToInt(double value) {
  if (!(value == value)) return 0;  // NaN from a damaged multiplier
  return static_cast<int32_t>(std::clamp(std::trunc(value), -2147483648.0, 2147483647.0));
}

int32_t ClampToInt(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

bool AllSameFace(std::span<const TFace> faces) {
  return std::all_of(faces.begin(), faces.end(), [&](const TFace& f) { return f == faces[0]; });
}

bool AllSameSuit(std::span<const TFace> faces) {
  return std::all_of(faces.begin(), faces.end(),
                     [&](const TFace& f) { return f.suit == faces[0].suit; });
}

}  // namespace

int32_t TScoreEntry::Value() const {
  return ClampToInt(points * multiplier);
}

TScoreSettings TScoreSettings::FromSettings() {
  const TScoreSettings d;
  TScoreSettings s;
  s.matchValueMin = GetSettingInt("score_matchvalue_min", d.matchValueMin);
  s.matchValueMax = GetSettingInt("score_matchvalue_max", d.matchValueMax);
  s.remainingTileValue = GetSettingInt("score_remainingtilevalue", d.remainingTileValue);
  s.matchMultiplier = GetSettingFloat("score_matchmultiplier", d.matchMultiplier);
  s.setOf3Multiplier = GetSettingFloat("score_setof3multiplier", d.setOf3Multiplier);
  s.setOf4Multiplier = GetSettingFloat("score_setof4multiplier", d.setOf4Multiplier);
  s.runOf3Multiplier = GetSettingFloat("score_runof3multiplier", d.runOf3Multiplier);
  s.runOf4Multiplier = GetSettingFloat("score_runof4multiplier", d.runOf4Multiplier);
  s.appraisalCost = GetSettingInt("score_appraisalcost", d.appraisalCost);
  s.hintCost = GetSettingInt("score_hintcost", d.hintCost);
  s.shuffleCost = GetSettingInt("score_shufflecost", d.shuffleCost);
  return s;
}

TScoreLedger::TScoreLedger(const TScoreSettings& settings, uint32_t amountSeed)
    : mSettings(settings), mAmounts(amountSeed) {
  mSlots.reserve(1024);
}

int32_t TScoreLedger::RandomAmount() {
  const int64_t span = int64_t{mSettings.matchValueMax} - mSettings.matchValueMin;
  if (span <= 0) return mSettings.matchValueMin;
  return ClampToInt(mSettings.matchValueMin + static_cast<int64_t>(mAmounts.Next() % span));
}

int TScoreLedger::Append(const TScoreEntry& entry) {
  mSlots.push_back(entry);
  return static_cast<int>(mSlots.size()) - 1;
}

int TScoreLedger::Add(int32_t points, double multiplier, TScoreKind kind) {
  TScoreEntry entry;
  entry.points = points;
  entry.multiplier = multiplier;
  entry.kind = kind;
  return Append(entry);
}

int TScoreLedger::AddForTiles(std::span<const TFace> faces) {
  const size_t n = faces.size();
  if (n == 2) {
    if (!AllSameFace(faces)) return -1;
    if (IsTreasureSuit(faces[0].suit)) return Add(0, 1.0, TScoreKind::kTreasurePair);
    return Add(RandomAmount(), mSettings.matchMultiplier, TScoreKind::kPair);
  }
  if (n != 3 && n != 4) return -1;
  TScoreEntry entry;
  if (AllSameFace(faces)) {
    entry.kind = n == 3 ? TScoreKind::kSetOf3 : TScoreKind::kSetOf4;
    entry.multiplier = n == 3 ? mSettings.setOf3Multiplier : mSettings.setOf4Multiplier;
  } else if (AllSameSuit(faces)) {
    entry.kind = n == 3 ? TScoreKind::kRunOf3 : TScoreKind::kRunOf4;
    entry.multiplier = n == 3 ? mSettings.runOf3Multiplier : mSettings.runOf4Multiplier;
  } else {
    return -1;
  }
  int64_t points = 0;
  for (size_t i = 0; i < n; ++i) {
    entry.parts[i] = RandomAmount();
    points += entry.parts[i];
  }
  entry.points = ClampToInt(points);
  return Append(entry);
}

int TScoreLedger::AddRemaining(int count) {
  return Add(mSettings.remainingTileValue, count, TScoreKind::kTilesLeft);
}

void TScoreLedger::Remove(int slot) {
  if (slot < 0 || slot >= SlotsUsed() || !mSlots[slot]) return;
  mSlots[slot].reset();
  const int total = Total();
  if (total < 0) Add(ClampToInt(-int64_t{total}), 1.0, TScoreKind::kUndoCorrection);
}

int TScoreLedger::Total() const {
  int64_t total = 0;
  for (const auto& entry : mSlots)
    if (entry) total += entry->Value();
  return ClampToInt(total);
}

int TScoreLedger::TotalOfKind(TScoreKind kind) const {
  int64_t total = 0;
  for (const auto& entry : mSlots)
    if (entry && entry->kind == kind) total += entry->Value();
  return ClampToInt(total);
}

int TScoreLedger::CountOfKind(TScoreKind kind) const {
  return static_cast<int>(std::count_if(mSlots.begin(), mSlots.end(), [kind](const auto& entry) {
    return entry && entry->kind == kind;
  }));
}

int TScoreLedger::LastValue() const {
  return mSlots.empty() || !mSlots.back() ? 0 : mSlots.back()->Value();
}

const TScoreEntry* TScoreLedger::Entry(int slot) const {
  if (slot < 0 || slot >= SlotsUsed() || !mSlots[slot]) return nullptr;
  return &*mSlots[slot];
}

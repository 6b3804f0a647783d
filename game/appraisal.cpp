#include "game/appraisal.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "data/settings.h"
#include "data/string_table.h"
#include "game/face_catalogue.h"

namespace {

TDiamondThresholds gThresholds;
bool gThresholdsRead = false;

std::string AppraisalLabel(const char* part, TFace face, TAppraisalSet set) {
  std::string label = "appraisal_";
  label += set == TAppraisalSet::kValued ? "c" : "b";
  label += part;
  label += FaceShortName(face);
  return label;
}

// The C atoi reading (leading blanks, a sign, digits, the rest ignored), clamped to int so
// that a damaged amount cannot overflow.
int AmountFromText(const std::string& text) {
  const long long parsed = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long long>(parsed, INT32_MIN, INT32_MAX));
}

}  // namespace

std::string SuitDisplayName(int suit) {
  const std::string_view key = SuitDisplayKey(suit);
  return key.empty() ? std::string() : GetString(std::string(key));
}

std::string AppraisalTitle(TFace face, TAppraisalSet set) {
  return GetString(AppraisalLabel("_title_", face, set));
}

std::string AppraisalBody(TFace face, TAppraisalSet set) {
  return GetString(AppraisalLabel("_body_", face, set));
}

int AppraisalAmount(TFace face) {
  const std::string* text =
      StringTable().Find(AppraisalLabel("_amount_", face, TAppraisalSet::kValued));
  return text ? AmountFromText(*text) : 0;
}

int SuitTotalAmount(int suit) {
  if (!HasAntiqueLook(suit) || !IsKnownSuit(suit)) return 0;
  int64_t total = 0;
  for (int variant = 0; variant < VariantCount(suit); ++variant)
    total += AppraisalAmount({suit, variant});
  return static_cast<int>(std::clamp<int64_t>(total, INT32_MIN, INT32_MAX));
}

TDiamondThresholds TDiamondThresholds::FromSettings() {
  const TDiamondThresholds defaults;
  return {GetSettingInt("tile_1diamond_req", defaults.one),
          GetSettingInt("tile_2diamond_req", defaults.two),
          GetSettingInt("tile_3diamond_req", defaults.three)};
}

void ReadDiamondThresholds() {
  gThresholds = TDiamondThresholds::FromSettings();
  gThresholdsRead = true;
}

const TDiamondThresholds& DiamondThresholds() {
  if (!gThresholdsRead) ReadDiamondThresholds();
  return gThresholds;
}

int DiamondRating(TFace face, const TDiamondThresholds& thresholds) {
  if (!HasAntiqueLook(face.suit)) return 0;
  const int amount = AppraisalAmount(face);
  if (amount >= thresholds.three) return 3;
  if (amount >= thresholds.two) return 2;
  if (amount >= thresholds.one) return 1;
  return 0;
}

int DiamondRating(TFace face) {
  return DiamondRating(face, DiamondThresholds());
}

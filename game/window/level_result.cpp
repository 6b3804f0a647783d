#include "game/window/level_result.h"

#include "data/string_table.h"
#include "game/appraisal.h"
#include "game/window/appraised_face.h"

namespace {

TLevelResult& Stored() {
  static TLevelResult result;
  return result;
}

TFace& Appraised() {
  static TFace face = kNoFace;
  return face;
}

}  // namespace

const TLevelResult& LastLevelResult() {
  return Stored();
}

void SetLastLevelResult(TLevelResult result) {
  Stored() = std::move(result);
}

TFace AppraisedFace() {
  return Appraised();
}

void SetAppraisedFace(TFace face) {
  Appraised() = face;
}

std::string DescribeLevelResult(const TLevelResult& result) {
  if (!result.ledger) return "";
  const TScoreLedger& ledger = *result.ledger;
  std::string text =
      result.won.IsNone()
          ? GetString("gameresult_cleared")
          : GetString("gameresult_treasure", AppraisalTitle(result.won, TAppraisalSet::kHover));
  auto line = [&](const char* label, int amount) {
    text += "<br>" + GetString(label, FormatCurrency(amount));
  };
  line("gameresult_previous", ledger.TotalOfKind(TScoreKind::kBankroll));
  line("gameresult_matches", ledger.TotalOfKind(TScoreKind::kPair));
  line("gameresult_sets",
       ledger.TotalOfKind(TScoreKind::kSetOf3) + ledger.TotalOfKind(TScoreKind::kSetOf4) +
           ledger.TotalOfKind(TScoreKind::kRunOf3) + ledger.TotalOfKind(TScoreKind::kRunOf4));
  line("gameresult_remaining", ledger.TotalOfKind(TScoreKind::kTilesLeft));
  line("gameresult_total", ledger.Total());
  return text;
}

#include "game/kenny_offer.h"

#include <algorithm>

#include "data/settings.h"

TKennySettings TKennySettings::FromSettings() {
  TKennySettings settings;
  settings.giftCost = std::max(0, GetSettingInt("kenny_giftcost", settings.giftCost));
  settings.badIdeaChance =
      GetSettingFloat("kenny_badideapercentage", static_cast<float>(settings.badIdeaChance));
  settings.treasureChance =
      GetSettingFloat("kenny_treasurepercentage", static_cast<float>(settings.treasureChance));
  return settings;
}

namespace {

double Chance(double value) {
  return value > 0 ? std::min(value, 1.0) : 0.0;  // NaN and negatives count as 0
}

}  // namespace

TKennyGift ChooseKennyGift(TKennyChoice choice, const TKennySettings& settings, double roll,
                           TFace treasure) {
  TKennyGift gift;
  const int money = std::max(0, settings.giftCost);
  if (choice == TKennyChoice::kSureGift) {
    gift.outcome = TKennyOutcome::kSureGift;
    gift.money = money;
    return gift;
  }
  const double treasureChance = Chance(settings.treasureChance);
  const double badIdeaChance = Chance(settings.badIdeaChance);
  if (roll < treasureChance && !treasure.IsNone()) {
    gift.outcome = TKennyOutcome::kTreasure;
    gift.treasure = treasure;
  } else if (roll >= treasureChance && roll < treasureChance + badIdeaChance) {
    gift.outcome = TKennyOutcome::kBadIdea;
  } else {
    gift.outcome = TKennyOutcome::kDoubleMoney;
    gift.money = money > 0x3fffffff ? 0x7fffffff : money * 2;
  }
  return gift;
}

// Zozad Uravi's offer, made when two Kenny tiles leave the board: a sure gift of money, or
// a gamble on the crate he brought. The gamble may hold a treasure of the current location
// (the collection gains it), may be a bad idea (nothing at all), or else brings twice the
// sure gift. The chances come from the settings, so the offer can be tuned without a new
// program.
#pragma once

#include "game/face.h"

struct TKennySettings {
  int giftCost = 10;            // "kenny_giftcost": the sure gift in dollars
  double badIdeaChance = 0.4;   // "kenny_badideapercentage": the gamble brings nothing
  double treasureChance = 0.1;  // "kenny_treasurepercentage": the gamble brings a treasure

  static TKennySettings FromSettings();
};

enum class TKennyChoice { kSureGift, kGamble };

enum class TKennyOutcome {
  kSureGift,     // the gift cost in money
  kTreasure,     // a treasure for the collection
  kBadIdea,      // nothing
  kDoubleMoney,  // twice the gift cost
};

struct TKennyGift {
  TKennyOutcome outcome = TKennyOutcome::kBadIdea;
  int money = 0;
  TFace treasure = kNoFace;
};

// What the choice brings. roll is uniform in [0, 1): below the treasure chance the gamble
// brings the treasure (when there is one to give; otherwise it counts as the money), then
// the bad idea, and the rest is twice the money. Chances outside 0..1 are clamped.
TKennyGift ChooseKennyGift(TKennyChoice choice, const TKennySettings& settings, double roll,
                           TFace treasure);

// The deal of a level: the bag is built for the layout's positions and shuffled, and every
// position receives a face in a fixed grid order — treasures on the treasure candidates
// (as many of them as the bag holds treasures, dropped at random), ordinary faces on the
// rest. The tutorial level gets its fixed faces in its own order.
//
// The plain deal does not look for a clearable arrangement: a level can be dealt without
// a way to clear it, which the hint, the shuffle and the loss screen are there for. With
// the setting "solvable_deals" on, the faces go where a clearing order exists (see
// clearing_order.h); the bag, and so the faces of the level, are the same.
#pragma once

#include <cstdint>
#include <functional>

#include "game/board.h"
#include "game/level_layout.h"
#include "game/tile_bag.h"

struct TDealRequest {
  TBagRequest bag;
  bool solvable = false;

  // The tutorial's faces are dealt while the tutorial has not been won, in the campaign.
  bool TutorialLevel() const { return bag.gameMode == 1 && !bag.tutorialWon; }
};

// The setting "solvable_deals" (default "0").
bool SolvableDealsSetting();

// Deals the layout onto an empty board and restacks it; returns the tiles placed. All
// random choices come from one generator seeded with seed (the game passes the clock). A
// layout with more positions than the bag holds is refused with a log line: nothing is
// dealt.
int Deal(TBoard& board, const TLevelLayout& layout, const TDealRequest& request, uint32_t seed);

// A treasure pick for tools and tests that have no player's record: any treasure face of
// the catalogue other than the one excluded, at random from seed.
std::function<TFace(TFace excluded)> CatalogueTreasurePicker(uint32_t seed);

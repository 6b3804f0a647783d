// Measures how playable a layout is: deals it many times the way the game fills and deals
// a level for a player who has beaten a given number of levels, and lets a simple greedy
// player clear each deal. The greedy player sees only free tiles; of the moves open to it
// (a free pair, a pair that blocks itself and is cleared through the sets box, and all
// copies of a treasure dealt more than twice) it takes the one that frees the most tiles,
// preferring higher layers on a tie, and takes a treasure pair as soon as one is open.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "game/face.h"
#include "game/level_layout.h"

// The variant count of every suit 0..129, from the tile catalogue.
using TVariantCounts = std::array<int, 130>;

// The game's deal for a campaign player past the tutorial: returns, in visiting order of
// layout.Positions(), the face dealt to each position ((-1, -1) where the bag ran short).
// The two treasures are stand-in faces of suits 100 and 101.
std::vector<TFace> SimulateDeal(const TLevelLayout& layout, const TVariantCounts& variants,
                                int levelsBeaten, uint32_t seed);

struct TSolverResult {
  int deals = 0;
  int levelEnded = 0;    // deals in which a treasure pair was matched or the board cleared
  int boardCleared = 0;  // deals in which every tile was cleared
  long tilesLeft = 0;    // summed over the deals that got stuck
  long emptyPositions = 0;
};

TSolverResult RunGreedySolver(const TLevelLayout& layout, const TVariantCounts& variants,
                              int levelsBeaten, int deals, uint32_t seed);

// Plays one dealt board (faces in the order of layout.Positions()); returns the tiles left.
// ended is set when a treasure pair was matched or the board was cleared.
int PlayGreedy(const TLevelLayout& layout, const std::vector<TFace>& faces, bool& ended);

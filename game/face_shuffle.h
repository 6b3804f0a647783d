// The shuffle of a board in play: the faces of the tiles on the board are mixed and dealt
// back to the same tiles. Treasure tiles keep their faces and places; Kenny tiles are
// shuffled with the others. The plain shuffle does not look for a clearable result; the
// solvable one (setting "solvable_deals") deals the faces back in a clearing order when
// one can be found, and falls back to the plain shuffle otherwise.
#pragma once

#include "frame/mersenne_twister.h"
#include "game/board.h"

// Returns false when a solvable shuffle was asked for and none was found (the plain
// shuffle was done instead).
bool ShuffleFaces(TBoard& board, TMersenneTwister& random, bool solvable);

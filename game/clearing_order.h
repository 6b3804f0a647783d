// Faces placed so that the board can be cleared: the placer plays the board forward on
// empty cells — it takes the free cells of the moment, gives them a group of faces and
// takes them off, and again — so the order in which it filled the cells is an order in
// which a player can clear them. Pairs go on two cells free at the same time (a plain
// match); when only one cell is free, and for groups of three or four, the cells are
// taken one after the other, the way the sets box clears tiles that block each other.
// Treasure groups go only on treasure cells (the kept treasure candidates of a deal), and
// ordinary groups only on the other cells; a treasure group is placed as soon as enough
// treasure cells can be taken one after the other, as the sets box takes a treasure.
// Cells with a fixed face (the treasures during a shuffle) stay as they are; each fixed
// face is taken off as one group as soon as all its cells can go.
#pragma once

#include <span>
#include <vector>

#include "frame/mersenne_twister.h"
#include "game/face.h"

struct TPlacementCell {
  int layer = 0;
  int x = 0;
  int y = 0;
  TFace fixed = kNoFace;  // a face the cell keeps; kNoFace for a cell to fill
  bool treasure = false;  // a cell to fill only with a treasure group
};

struct TPlacementRequest {
  std::vector<TPlacementCell> cells;
  // Faces for the open cells, each group cleared together (2 to 4 faces): ordinary groups
  // for the ordinary cells, treasure groups for the treasure cells.
  std::vector<std::vector<TFace>> groups;
  std::vector<std::vector<TFace>> treasureGroups;
  // Faces that belong to no group and can never be cleared: they get the ordinary cells
  // left open at the end, where they block nothing that is cleared before them.
  std::vector<TFace> singles;
};

// Fills faces (one per cell, fixed cells keep theirs). Tries a few random orders; false
// when none clears the board. The groups must fill the open cells of their kind exactly.
bool PlaceInClearingOrder(const TPlacementRequest& request, TMersenneTwister& random,
                          std::vector<TFace>& faces);

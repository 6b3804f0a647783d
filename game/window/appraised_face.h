// The face the appraisal screen shows: the game window sets it when the player buys an
// appraisal of a tile, just before it opens "scripts/appraisal.lua".
#pragma once

#include "game/face.h"

TFace AppraisedFace();
void SetAppraisedFace(TFace face);

// What the string table and the settings say about faces: the suits' localized names,
// the appraisal texts, what an antique is worth and its diamond rating.
//
// Appraisal texts come in two sets, keyed by the face's short name:
//   hover set ("b"):  "appraisal_b_title_<short>", "appraisal_b_body_<short>" for every face
//   valued set ("c"): "appraisal_c_title_<short>", "appraisal_c_body_<short>" and
//                     "appraisal_c_amount_<short>" (whole dollars) for antique-look faces
// The game window's hover preview uses the hover set; the appraisal and end-of-level
// screens choose per use.
#pragma once

#include <string>

#include "game/face.h"

enum class TAppraisalSet { kHover, kValued };

// The localized name of a suit; empty outside 0..129.
std::string SuitDisplayName(int suit);

std::string AppraisalTitle(TFace face, TAppraisalSet set);
std::string AppraisalBody(TFace face, TAppraisalSet set);
// The face's value in whole dollars, read from its "appraisal_c_amount_" text with the C
// atoi rule; 0 when the text is missing.
int AppraisalAmount(TFace face);
// The sum of AppraisalAmount over every variant of a suit; 0 outside 78..129.
int SuitTotalAmount(int suit);

// The amounts an antique must reach for one, two and three diamonds. Built-in defaults
// apply where the settings carry no "tile_1diamond_req", "tile_2diamond_req",
// "tile_3diamond_req".
struct TDiamondThresholds {
  int one = 0;
  int two = 500000;
  int three = 1000000;

  static TDiamondThresholds FromSettings();
};

// Reads the thresholds from the settings into the program-wide copy. The game calls it
// once at start; before that, the first rating reads them.
void ReadDiamondThresholds();
const TDiamondThresholds& DiamondThresholds();

// 0..3 diamonds: 0 for a face without the antique look, else by AppraisalAmount.
int DiamondRating(TFace face, const TDiamondThresholds& thresholds);
int DiamondRating(TFace face);

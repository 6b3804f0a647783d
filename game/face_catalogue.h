// The face catalogue compiled into the program: for every suit its display key and its
// variants in order, for every face its picture base name and short name. The table is
// generated at build time from content/catalogue/faces.csv, the one source that the
// content generators read as well; the flags the catalogue carries are checked against
// the suit classes of face.h when the table compiles.
//
// Picture base names are group/folder/name ("common/camera/projector2"); the board picture
// is "tiles/" + base + "_md", the large one "tiles/" + base + "_lg". The short name is the
// part after the last "/" and keys the appraisal texts.
#pragma once

#include <span>
#include <string_view>

#include "game/face.h"

struct TFaceRow {
  int suit;
  int variant;
  std::string_view displayKey;  // string-table key naming the suit ("suit_chair")
  std::string_view imageBase;
  std::string_view shortName;
  bool antiqueLook;
  bool treasure;
  bool kenny;

  constexpr TFace Face() const { return {suit, variant}; }
};

inline constexpr int kCatalogueFaceCount = 347;

// Every face, in suit order and then variant order.
std::span<const TFaceRow> CatalogueFaces();

// The number of variants of a suit; 0 outside 0..129. The Kenny suit has one.
int VariantCount(int suit);
// A face the catalogue holds. Any variant number of the Kenny suit shows the Kenny face.
bool IsCataloguedFace(TFace face);
// The catalogue row of a face (the Kenny row for any Kenny variant); null when the
// catalogue has no such face.
const TFaceRow* FindFaceRow(TFace face);
// The face's row number in CatalogueFaces() (every Kenny variant answers the Kenny row);
// -1 when the catalogue has no such face. Dense keys for per-face tables.
int FaceIndex(TFace face);
// The face of a short name ("projector2"), kNoFace when none has it.
TFace FindFaceByShortName(std::string_view shortName);

// Empty for a suit outside 0..129 or a variant outside 0..count-1 (the Kenny suit answers
// for every variant).
std::string_view FaceImageName(TFace face);
std::string_view FaceShortName(TFace face);
// The string-table key of a suit's display name; empty outside 0..129.
std::string_view SuitDisplayKey(int suit);

// REndLevel: the end-of-level screen ("EndLevel"). Opening it is the moment the campaign
// moves on: the won level goes into the player's record (bankroll, day, treasure) and is
// saved. It shows the treasure won on a large tile with its appraisal, its diamonds and
// its value, and a plaque whose five lines (money carried in, matches, sets, tiles left,
// total) count up one after another once the screen has faded in. A click while the
// plaque counts finishes the counting line.
#pragma once

#include <memory>

#include "campaign/screens/r_window.h"
#include "campaign/screens/score_plaque.h"
#include "game/face.h"

class TAnimatedSprite;
class TSprite;
class TSpriteLayer;
struct TLevelResult;

class REndLevel : public RWindow {
 public:
  static constexpr int kUpdateMs = 30;
  static constexpr int kDiamondSlots = 3;
  static constexpr float kDiamondGrowth = 0.04f;  // scale added per update while popping in
  static constexpr float kTileTilt = -0.12f;      // radians
  static constexpr float kValueTilt = -7.5f;      // degrees
  static constexpr char kStartScript[] = "StartScoreAnim();";

  REndLevel();
  ~REndLevel() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "REndLevel"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &REndLevel::Create || RWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;
  bool Animate() override;
  bool OnMouseDown(TPoint2 point) override;

  // Script function: the fade-in has ended, the counting starts.
  void StartScoreAnim();

  // State for tests.
  const TScorePlaque& Plaque() const { return mPlaque; }
  bool Counting() const { return mCounting; }
  int DiamondCount() const;
  float DiamondScale(int slot) const;

 private:
  void RecordTheLevel(const TLevelResult& result);
  void ShowEarnedItem(TFace face);
  void SetUpScoreLines(const TLevelResult& result);
  void ShowLine(int line);
  // One step of the diamonds popping in; false once every slot is done.
  bool PopDiamonds();

  TSpriteLayer* mLayer = nullptr;
  std::shared_ptr<TAnimatedSprite> mSparkle;
  std::shared_ptr<TSprite> mDiamonds[kDiamondSlots];
  bool mSparkleStarted[kDiamondSlots] = {};
  bool mPoppedIn[kDiamondSlots] = {};
  float mDiamondScale[kDiamondSlots] = {};
  TScorePlaque mPlaque;
  bool mCounting = false;
};

// Places of the diamonds over the tile for a rating of 1, 2 or 3 (layer coordinates).
struct TDiamondPlace {
  float x, y;
};
const TDiamondPlace* DiamondPlaces(int rating);

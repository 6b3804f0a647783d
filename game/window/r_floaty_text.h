// RFloatyText: a money popup (or a word of praise in the tutorial) that rises 75 pixels
// from where a tile was, growing in as it rises faster and faster, holds as long as the
// rise took, then fades over the same time. Laid out once; each frame only its place, scale
// and opacity change.
#pragma once

#include <memory>
#include <string>

#include "game/window/k_anim.h"

class TTextLayout;

struct TFloatyTextStyle {
  float red = 0.81f, green = 0.81f, blue = 0.08f, alpha = 1.0f;
  float size = 25;
};

class RFloatyText : public KAnim {
 public:
  static constexpr char kFont[] = "fonts/rosewood_fill.mvec";
  static constexpr int kBoxWidth = 100;
  static constexpr int kBoxHeight = 40;
  static constexpr int kRise = 75;

  // (x, y): the top-left corner of the text's box before it rises.
  RFloatyText(const std::string& text, int x, int y, const TFloatyTextStyle& style);
  ~RFloatyText() override;

  bool Update(int elapsedMs) override;
  void Draw(TRenderer& renderer) override;

  // "<outline color=\"RRGGBB\" size=\"1\">text</outline>" from three integers, each clamped
  // to 0..255.
  static std::string OutlineMarkup(const std::string& text, int red, int green, int blue);

  int Rise() const { return mRise; }
  float Scale() const { return mScale; }
  float Opacity() const { return mOpacity; }
  const std::string& Text() const { return mText; }
  int X() const { return mX; }
  int Y() const { return mY; }

 private:
  std::string mText;
  std::unique_ptr<TTextLayout> mOutlined;
  std::unique_ptr<TTextLayout> mPlain;
  int mX, mY;
  float mBaseAlpha;
  int mRise = 0;
  float mScale = 0;
  float mOpacity = 0;
  int mFrame = 0;
  int mRiseEnd = 0;  // the frame at which the rise ended, 0 while rising
};

#include "game/window/r_floaty_text.h"

#include <algorithm>
#include <cstdio>

#include "gfx/text_layout.h"

namespace {

uint32_t Argb(float r, float g, float b, float a) {
  auto byte = [](float v) {
    return static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f);
  };
  return byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}

}  // namespace

std::string RFloatyText::OutlineMarkup(const std::string& text, int red, int green, int blue) {
  char colour[8];
  std::snprintf(colour, sizeof colour, "%02X%02X%02X", std::clamp(red, 0, 255),
                std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
  return std::string("<outline color=\"") + colour + "\" size=\"1\">" + text + "</outline>";
}

RFloatyText::RFloatyText(const std::string& text, int x, int y, const TFloatyTextStyle& style)
    : mText(text), mX(x), mY(y), mBaseAlpha(std::clamp(style.alpha, 0.0f, 1.0f)) {
  const uint32_t colour = Argb(style.red, style.green, style.blue, 1.0f);
  const unsigned flags = kTextHCenter | kTextVCenter;
  mPlain = std::make_unique<TTextLayout>(kFont, style.size, colour, flags, kBoxWidth, kBoxHeight);
  mPlain->SetText(text);
  mOutlined =
      std::make_unique<TTextLayout>(kFont, style.size, colour, flags, kBoxWidth, kBoxHeight);
  // The layer's outline: a near-black rim that reads on light and dark backgrounds.
  mOutlined->SetText(OutlineMarkup(text, 1, 1, 1));
}

RFloatyText::~RFloatyText() = default;

bool RFloatyText::Update(int) {
  const int frame = mFrame++;
  if (mRise <= kRise - 1) {
    mScale = static_cast<float>(mRise) / kRise;
    mOpacity = mScale;
    mRise += frame / 15 + 2;
    if (mRise > kRise - 1) {
      mRise = kRise;
      mRiseEnd = std::max(frame, 1);
    }
    return true;
  }
  mScale = 1.0f;
  if (frame > 3 * mRiseEnd) return false;
  mOpacity = frame > 2 * mRiseEnd
                 ? 1.0f - static_cast<float>(frame - 2 * mRiseEnd) / static_cast<float>(mRiseEnd)
                 : 1.0f;
  return true;
}

// The text grows about the middle of its box; the plain layer one pixel down and right of
// the outlined one gives it a soft drop.
void RFloatyText::Draw(TRenderer& renderer) {
  const float opacity = mOpacity * mBaseAlpha;
  if (opacity <= 0 || mScale <= 0) return;
  const float dx = kBoxWidth * (1 - mScale) / 2, dy = kBoxHeight * (1 - mScale) / 2;
  const float x = static_cast<float>(mX) + dx;
  const float y = static_cast<float>(mY - mRise) + dy;
  mPlain->Draw(renderer, x + 1, y + 1, mScale, opacity);
  mOutlined->Draw(renderer, x, y, mScale, opacity);
}

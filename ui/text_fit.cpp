#include "ui/text_fit.h"

#include <algorithm>
#include <vector>

#include "gfx/text_layout.h"
#include "ui/text.h"

namespace {

// Wide and high enough for any text of the screen on one line.
constexpr float kUnwrapped = 4000.0f;
constexpr char kEllipsis[] = "\xE2\x80\xA6";

float WidestLine(const TTextLayout& layout) {
  float widest = 0;
  for (const TTextLine& line : layout.Lines()) widest = std::max(widest, line.width);
  return widest;
}

// The byte offsets where the UTF-8 characters of text start.
std::vector<size_t> CharacterStarts(const std::string& text) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
  return starts;
}

}  // namespace

void FitOnOneLine(TText& text) {
  TTextLayout* layout = text.Layout();
  if (!layout || text.Width() <= 0) return;
  layout->SetBox(kUnwrapped, layout->Height());
  const float widest = WidestLine(*layout);
  const float width = static_cast<float>(text.Width());
  text.SetScale(widest > width ? width / widest : 1.0f);
}

std::string ElideMiddle(const std::string& name, size_t cut) {
  if (cut == 0) return name;
  const size_t dot = name.rfind('.');
  const size_t stemEnd = dot == std::string::npos || dot == 0 ? name.size() : dot;
  const std::string stem = name.substr(0, stemEnd);
  const std::vector<size_t> starts = CharacterStarts(stem);
  const size_t count = starts.size();
  if (count == 0) return name;
  if (cut >= count) return kEllipsis + name.substr(stemEnd);
  // The head keeps the odd character: "abcdef" less 2 is "ab…ef", less 3 "ab…f".
  const size_t keep = count - cut;
  const size_t head = (keep + 1) / 2;
  const size_t tail = keep - head;
  const size_t tailStart = tail == 0 ? stem.size() : starts[count - tail];
  return stem.substr(0, starts[head]) + kEllipsis + stem.substr(tailStart) + name.substr(stemEnd);
}

void ShowNameFitted(TText& text, const std::string& name,
                    const std::function<std::string(const std::string&)>& format, float minSize) {
  TTextLayout* layout = text.Layout();
  const float width = static_cast<float>(text.Width());
  const float height = static_cast<float>(text.Height());
  if (!layout || width <= 0 || height <= 0) {
    text.SetText(format(name));
    return;
  }
  // The layout measures the candidates; the window's text is set once at the end.
  const std::string shown = layout->GetText();
  std::string fitted = format(name);
  float scale = 1.0f;
  for (size_t cut = 0;; ++cut) {
    const std::string candidate = ElideMiddle(name, cut);
    const std::string whole = format(candidate);
    layout->SetBox(kUnwrapped, kUnwrapped);
    layout->SetText(whole);
    const float size = layout->Lines().empty() ? 0.0f : layout->Lines().front().height;
    const float smallest = size > minSize ? minSize / size : 1.0f;
    layout->SetText(candidate);
    // Line widths are rounded to whole pixels: a pixel more keeps the name off the edge where
    // the layout would break it.
    const float nameWidth = WidestLine(*layout) + 1.0f;
    float tryScale = nameWidth > width ? width / nameWidth : 1.0f;
    bool fits = tryScale >= smallest;
    if (fits) {
      // The whole text wrapped at that size must fit the height too; else smaller still.
      layout->SetText(whole);
      for (;; tryScale *= 0.95f) {
        tryScale = std::max(tryScale, smallest);
        layout->SetBox(width / tryScale, kUnwrapped);
        if (layout->ContentHeight() * tryScale <= height || tryScale <= smallest) break;
      }
      fits = layout->ContentHeight() * tryScale <= height;
    }
    const bool lastChance = candidate == ElideMiddle(name, cut + 1);
    if (fits || lastChance) {
      fitted = whole;
      scale = fits ? tryScale : smallest;
      break;
    }
  }
  layout->SetBox(width / scale, height / scale);
  layout->SetText(shown);
  text.SetText(fitted);
  text.SetScale(scale);
}

#include "gfx/mvec_font.h"

#include <algorithm>
#include <functional>

#include "frame/log.h"
#include "gfx/outline_winding.h"

namespace {

uint16_t U16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
int16_t S16(const uint8_t* p) {
  return static_cast<int16_t>(U16(p));
}
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

std::shared_ptr<TMvecFont> TMvecFont::Parse(std::vector<uint8_t> image, const std::string& name) {
  std::shared_ptr<TMvecFont> font(new TMvecFont());
  font->mName = name;
  font->mImage = std::move(image);
  const std::vector<uint8_t>& data = font->mImage;
  if (data.size() < kMvecHeaderSize || data[0] != 'M' || data[1] != 'V' || data[2] != 'C' ||
      data[3] != '4') {
    Log("Font %s is not a vector font (no MVC4 header)", name.c_str());
    font->mImage.clear();
    return font;
  }
  size_t count = U16(&data[4]);
  size_t tableEnd = kMvecHeaderSize + kMvecEntrySize * count;
  if (tableEnd > data.size()) {
    Log("Font %s: glyph table cut short (%zu of %zu entries)", name.c_str(),
        (data.size() - kMvecHeaderSize) / kMvecEntrySize, count);
    count = (data.size() - kMvecHeaderSize) / kMvecEntrySize;
    tableEnd = kMvecHeaderSize + kMvecEntrySize * count;
  }
  size_t dropped = 0;
  font->mGlyphs.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = &data[kMvecHeaderSize + kMvecEntrySize * i];
    TMvecGlyph g;
    g.code = U32(e);
    g.xmin = S16(e + 4);
    g.xmax = S16(e + 6);
    g.ymin = S16(e + 8);
    g.ymax = S16(e + 10);
    g.advance = S16(e + 12);
    g.offset = U32(e + 14);
    if (g.offset < tableEnd || g.offset >= data.size()) {
      ++dropped;
      continue;
    }
    font->mGlyphs.push_back(g);
  }
  if (dropped)
    Log("Font %s: %zu glyphs with outlines outside the file dropped", name.c_str(), dropped);
  // The table should already be sorted; a damaged one is sorted here so that the halving
  // search stays correct, and the first of duplicate codes wins.
  auto byCode = [](const TMvecGlyph& a, const TMvecGlyph& b) { return a.code < b.code; };
  if (!std::is_sorted(font->mGlyphs.begin(), font->mGlyphs.end(), byCode)) {
    std::stable_sort(font->mGlyphs.begin(), font->mGlyphs.end(), byCode);
  }
  font->mGlyphs.erase(
      std::unique(font->mGlyphs.begin(), font->mGlyphs.end(),
                  [](const TMvecGlyph& a, const TMvecGlyph& b) { return a.code == b.code; }),
      font->mGlyphs.end());
  font->DeriveMetrics();
  font->mSimpleWinding.assign(font->mGlyphs.size(), 0);
  return font;
}

void TMvecFont::DeriveMetrics() {
  float ascent = 0;
  if (const TMvecGlyph* w = FindGlyph('W')) {
    ascent = -w->ymin * kMvecUnitScale;
  } else {
    for (const TMvecGlyph& g : mGlyphs) {
      if (g.code < 128) ascent = std::max(ascent, -g.ymin * kMvecUnitScale);
    }
  }
  float descent = 0;
  for (const TMvecGlyph& g : mGlyphs) {
    if (g.code >= 128) break;
    if (g.code != '_') descent = std::max(descent, g.ymax * kMvecUnitScale);
  }
  // A font without usable metrics still needs a positive body: every size is divided by it.
  if (ascent + descent <= 0.001f) {
    ascent = 0.8f;
    descent = 0.2f;
  }
  mAscent = ascent;
  mDescent = descent;
  const float above = mAscent + TopMargin();
  const float below = mDescent + BottomMargin();
  for (TMvecGlyph& g : mGlyphs) {
    const float u = -g.ymin * kMvecUnitScale / above;
    const float w = g.ymax * kMvecUnitScale / below;
    const float worst = std::max(u, w);
    g.fit = worst > 1.0f ? 1.0f / worst : 1.0f;
  }
}

const TMvecGlyph* TMvecFont::FindGlyph(uint32_t code) const {
  size_t lo = 0, hi = mGlyphs.size();
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (mGlyphs[mid].code < code) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo < mGlyphs.size() && mGlyphs[lo].code == code ? &mGlyphs[lo] : nullptr;
}

bool TMvecFont::HasSimpleWinding(const TMvecGlyph& glyph) const {
  const TMvecGlyph* const begin = mGlyphs.data();
  const TMvecGlyph* const end = begin + mGlyphs.size();
  if (std::less<>()(&glyph, begin) || !std::less<>()(&glyph, end)) {
    return OutlineHasSimpleWinding(*this, glyph);  // a glyph of another font: not cached
  }
  const size_t index = static_cast<size_t>(&glyph - begin);
  if (mSimpleWinding[index] == 0)
    mSimpleWinding[index] = OutlineHasSimpleWinding(*this, glyph) ? 2 : 1;
  return mSimpleWinding[index] == 2;
}

bool TMvecFont::DecodeOutline(const TMvecGlyph& glyph, TOutlineSink& sink) const {
  const size_t size = mImage.size();
  size_t pos = glyph.offset;
  auto need = [&](size_t n) { return pos + n <= size; };
  auto coord = [&]() {
    const float v = static_cast<float>(S16(&mImage[pos]));
    pos += 2;
    return v;
  };
  while (need(1)) {
    const uint8_t op = mImage[pos++];
    switch (op) {
      case kMvecLayer:
        break;
      case kMvecFillLeft:
      case kMvecFillRight:
        if (!need(1)) return false;
        // Command 2 decides whether the edges that follow are filled; command 3 names the
        // fill of the other side, which only multi-colour glyphs use.
        if (op == kMvecFillLeft) sink.SetFill(mImage[pos] != 0);
        ++pos;
        break;
      case kMvecMoveTo:
      case kMvecLineTo: {
        if (!need(4)) return false;
        const float x = coord();
        const float y = coord();
        if (op == kMvecMoveTo) {
          sink.MoveTo(x, y);
        } else {
          sink.LineTo(x, y);
        }
        break;
      }
      case kMvecQuadTo: {
        if (!need(8)) return false;
        const float cx = coord();
        const float cy = coord();
        const float x = coord();
        const float y = coord();
        sink.QuadTo(cx, cy, x, y);
        break;
      }
      case kMvecColor:
        if (!need(3)) return false;
        pos += 3;
        break;
      case kMvecEnd:
        return true;
      default:
        return false;
    }
  }
  return false;
}

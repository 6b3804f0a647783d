#include "gfx/text_layout.h"

#include <algorithm>
#include <cmath>

#include "data/settings.h"
#include "frame/log.h"
#include "gfx/font_cache.h"
#include "gfx/renderer.h"
#include "gfx/text_markup.h"

namespace {

struct TFontState {
  std::shared_ptr<TMvecFont> font;
  float size;
  uint32_t color;
};

// Pen positions are kept on quarter pixels.
float Quarter(float v) {
  return std::round(v * 4) / 4;
}

uint32_t WithOpacity(uint32_t color, float opacity) {
  const float a = std::clamp((color >> 24) * opacity, 0.0f, 255.0f);
  return (static_cast<uint32_t>(a + 0.5f) << 24) | (color & 0xFFFFFFu);
}

float BoldWidth(float size) {
  return std::max(0.5f, size / 20);
}

int AlignFromFlags(unsigned flags) {
  if (flags & kTextHCenter) return kAlignCenter;
  if (flags & kTextHRight) return kAlignRight;
  return kAlignLeft;
}

}  // namespace

TTextLayout::TTextLayout(const std::string& fontName, float size, uint32_t color, unsigned flags,
                         float width, float height)
    : mFontName(fontName),
      mSize(size > 0 ? size : 12),
      mColor(color),
      mFlags(flags),
      mWidth(width),
      mHeight(height) {}

void TTextLayout::SetText(const std::string& text) {
  mText = text;
  Layout();
}

void TTextLayout::SetBox(float width, float height) {
  mWidth = width;
  mHeight = height;
  Layout();
}

void TTextLayout::SetFlags(unsigned flags) {
  mFlags = flags;
  Layout();
}

void TTextLayout::SetPadding(float padding) {
  mPadding = padding;
  Layout();
}

void TTextLayout::SetLegacyWrap(bool on) {
  mLegacyWrap = on;
  mLegacyWrapSet = true;
  Layout();
}

void TTextLayout::SetRotation(float degrees, float originX, float originY) {
  mRotation = degrees * 3.14159265f / 180.0f;
  mOriginX = originX;
  mOriginY = originY;
}

float TTextLayout::ContentHeight() const {
  float total = 0;
  for (const TTextLine& line : mLines) total += line.height + line.padAfter + mPadding;
  return total;
}

void TTextLayout::Layout() {
  mLines.clear();
  mLinks.clear();
  const bool legacy = mLegacyWrapSet ? mLegacyWrap : LegacyLineWrap();
  const float limit = std::max(0.0f, mWidth - 2 * mPadding);

  std::vector<TFontState> fonts{{GetFont(mFontName), mSize, mColor}};
  std::vector<int> aligns{AlignFromFlags(mFlags)};
  bool bold = false, italic = false, underline = false;
  uint32_t outlineColor = 0;
  float outlineWidth = 0;
  int link = -1;
  bool missingLogged = false;

  TTextLine line;
  bool lineAligned = false;
  float pen = 0;
  size_t breakIndex = 0;  // first glyph after the last space of the line (0: none)
  float breakPen = 0;
  // The sheared top of the last glyph of italic text, which the glyph after it must clear:
  // its right edge at the baseline and its height above it (pixels).
  bool leanPending = false;
  float leanRight = 0, leanTop = 0;

  auto finishLine = [&](float pad) {
    const TFontState& state = fonts.back();
    line.height = 0;
    line.baseline = 0;
    float width = 0;
    float descent = 0;
    for (const TLaidGlyph& g : line.glyphs) {
      line.height = std::max(line.height, g.size);
      line.baseline = std::max(line.baseline, g.font->BaselineOffset(g.size));
      descent = std::max(descent, g.font->Descent() * g.font->PixelsPerUnit(g.size));
      if (g.glyph->code != ' ') width = std::max(width, g.x + g.advance);
    }
    if (line.glyphs.empty()) {
      line.height = state.size;
      line.baseline = state.font->BaselineOffset(state.size);
      descent = state.font->Descent() * state.font->PixelsPerUnit(state.size);
    }
    line.inkBottom = line.baseline + descent;
    if (line.hasCursor) width = std::max(width, line.cursorX);
    line.width = std::round(width);
    line.padAfter = pad;
    if (!lineAligned) line.align = aligns.back();
    mLines.push_back(std::move(line));
    line = TTextLine();
    lineAligned = false;
    pen = 0;
    breakIndex = 0;
    breakPen = 0;
    leanPending = false;
  };

  // Moves the glyphs after the last break opportunity onto a new line.
  auto breakAtOpportunity = [&]() {
    std::vector<TLaidGlyph> rest(line.glyphs.begin() + static_cast<long>(breakIndex),
                                 line.glyphs.end());
    line.glyphs.resize(breakIndex);
    const bool cursorMoves = line.hasCursor && line.cursorX >= breakPen;
    TTextLine moved;
    if (cursorMoves) {
      moved.hasCursor = true;
      moved.cursorX = line.cursorX - breakPen;
      moved.cursorSize = line.cursorSize;
      moved.cursorColor = line.cursorColor;
      line.hasCursor = false;
    }
    const float shift = breakPen;
    const float newPen = pen - shift;
    finishLine(0);
    line = std::move(moved);
    for (TLaidGlyph& g : rest) g.x -= shift;
    line.glyphs = std::move(rest);
    if (!line.glyphs.empty()) {
      line.align = aligns.back();
      lineAligned = true;
    }
    pen = newPen;
  };

  auto addChar = [&](uint32_t code) {
    const TFontState& state = fonts.back();
    std::shared_ptr<TMvecFont> used;
    const TMvecGlyph* glyph = FindGlyphWithFallback(state.font, code, &used);
    if (!glyph) {
      if (state.font->Empty() && !missingLogged) {
        Log("ERROR: FONT missing in text when attempting to render string %s.", mText.c_str());
        missingLogged = true;
      }
      return;
    }
    const float k = used->PixelsPerUnit(state.size);
    const float boldWidth = bold ? BoldWidth(state.size) : 0;
    if (leanPending) {
      // Room for the lean only as high as this glyph reaches: a period after italic text
      // sits close, a capital clears the sheared top.
      leanPending = false;
      const float top = std::max(0.0f, -glyph->ymin * kMvecUnitScale * k);
      const float reach = leanRight + std::min(leanTop, top) / 3;
      const float left = pen + std::max(0.0f, glyph->xmin * kMvecUnitScale * k);
      if (reach > left) pen = Quarter(pen + reach - left);
    }
    float shiftIn = 0;
    // A glyph reaching left of its pen would overlap the previous one.
    if (glyph->xmin < 0 && !line.glyphs.empty()) shiftIn = -glyph->xmin * kMvecUnitScale * k;
    const float advance = Quarter(glyph->advance * kMvecUnitScale * k + shiftIn + boldWidth);

    uint32_t color = state.color;
    if (link >= 0 && mLinks[link].hasColor) {
      color = (mLinks[link].color & 0xFFFFFFu) | (state.color & 0xFF000000u);
    }
    const TLaidGlyph laid{used,         glyph,        0,    advance, state.size, color,
                          outlineColor, outlineWidth, bold, italic,  underline,  link};
    auto place = [&]() {
      if (!lineAligned) {
        line.align = aligns.back();
        lineAligned = true;
      }
      line.glyphs.push_back(laid);
      line.glyphs.back().x = pen + shiftIn + boldWidth / 2;
    };

    if (pen + advance > limit && !line.glyphs.empty()) {
      if (code == ' ') {
        finishLine(0);  // the space itself ends the line
        return;
      }
      if (breakIndex > 0 && breakIndex <= line.glyphs.size()) breakAtOpportunity();
      if (pen + advance > limit && !line.glyphs.empty() && breakIndex == 0) {
        if (legacy) {
          // The overflowing character still goes on this line.
          place();
          finishLine(0);
          return;
        }
        finishLine(0);
      }
    }
    place();
    pen += advance;
    if (code == ' ') {
      breakIndex = line.glyphs.size();
      breakPen = pen;
    }
  };

  auto applyTag = [&](const TMarkupTag& tag) {
    const std::string& name = tag.name;
    if (name == "br") {
      finishLine(std::max(0.0f, tag.GetNumber("pad", 0)));
    } else if (name == "/p") {
      finishLine(0);
    } else if (name == "a") {
      TTextLink entry;
      entry.id = tag.Get("id");
      uint32_t argb = 0;
      if (tag.Has("color") && ParseMarkupColor(tag.Get("color"), &argb)) {
        entry.hasColor = true;
        entry.color = argb | 0xFF000000u;
      }
      mLinks.push_back(entry);
      link = static_cast<int>(mLinks.size()) - 1;
    } else if (name == "/a") {
      link = -1;
    } else if (name == "b" || name == "/b") {
      bold = name == "b";
    } else if (name == "i") {
      italic = true;
    } else if (name == "/i") {
      // The sheared top of the last italic glyph may reach over what follows.
      if (italic && !line.glyphs.empty() && line.glyphs.back().italic) {
        const TLaidGlyph& last = line.glyphs.back();
        const float k = last.font->PixelsPerUnit(last.size) * kMvecUnitScale;
        const float bold = last.bold ? BoldWidth(last.size) / 2 : 0;
        leanRight = last.x + last.glyph->xmax * k + bold;
        leanTop = std::max(0.0f, -last.glyph->ymin * k);
        leanPending = true;
      }
      italic = false;
    } else if (name == "u" || name == "/u") {
      underline = name == "u";
    } else if (name == "cursor") {
      line.hasCursor = true;
      line.cursorX = pen;
      line.cursorSize = fonts.back().size;
      line.cursorColor = fonts.back().color;
    } else if (name == "left" || name == "center" || name == "right") {
      aligns.push_back(name == "left" ? kAlignLeft : name == "center" ? kAlignCenter : kAlignRight);
    } else if (name == "/left" || name == "/center" || name == "/right") {
      if (aligns.size() > 1) aligns.pop_back();
    } else if (name == "font") {
      if (fonts.size() >= static_cast<size_t>(kMaxFontStates)) return;
      TFontState state = fonts.back();
      if (tag.Has("face")) state.font = GetFont(tag.Get("face"));
      const float size = tag.GetNumber("size", state.size);
      if (size > 0 && size < 10000) state.size = size;
      uint32_t argb = 0;
      if (tag.Has("color") && ParseMarkupColor(tag.Get("color"), &argb)) state.color = argb;
      fonts.push_back(state);
    } else if (name == "/font") {
      if (fonts.size() > 1) fonts.pop_back();
    } else if (name == "outline") {
      uint32_t argb = 0xFF000000u;
      if (tag.Has("color")) ParseMarkupColor(tag.Get("color"), &argb);
      outlineColor = argb;
      outlineWidth = std::clamp(tag.GetNumber("size", 2), 0.0f, 64.0f);
    } else if (name == "/outline") {
      outlineWidth = 0;
    } else if (name == "tab") {
      pen = Quarter(std::clamp(tag.GetNumber("pos", pen), 0.0f, 100000.0f));
    }
    // Tags not in the table are ignored.
  };

  size_t pos = 0;
  while (pos < mText.size()) {
    const char c = mText[pos];
    if (c == '<') {
      TMarkupTag tag;
      if (ParseMarkupTag(mText, &pos, &tag)) {
        applyTag(tag);
        continue;
      }
    } else if (c == '\\' && pos + 1 < mText.size()) {
      ++pos;
      addChar(DecodeUtf8(mText, &pos));
      continue;
    } else if (c == '\n') {
      ++pos;
      finishLine(0);
      continue;
    }
    addChar(DecodeUtf8(mText, &pos));
  }
  if (!line.glyphs.empty() || line.hasCursor || mLines.empty()) finishLine(0);
}

void TTextLayout::ForEachLine(
    float scale, const std::function<void(const TTextLine&, float x, float y)>& visit) const {
  const size_t first =
      static_cast<size_t>(std::clamp(mScroll, 0.0f, static_cast<float>(mLines.size())));
  const float innerWidth = mWidth - 2 * mPadding;
  float content = 0;
  for (size_t i = first; i < mLines.size(); ++i) {
    content += (mLines[i].height + mPadding + mLines[i].padAfter) * scale;
  }
  float y = mPadding;
  const float innerHeight = mHeight - 2 * mPadding;
  if (mFlags & kTextVCenter) {
    y += std::trunc((innerHeight - content) / 2);
  } else if (mFlags & kTextVBottom) {
    y += innerHeight - content;
  }
  for (size_t i = first; i < mLines.size(); ++i) {
    const TTextLine& line = mLines[i];
    if (y > mHeight) break;
    // Half a pixel of slack for the rounding of line positions.
    if (mWholeLines && i > first && y + line.inkBottom * scale > mHeight + 0.5f) break;
    float x = mPadding;
    if (line.align == kAlignCenter) {
      x += std::trunc((innerWidth - line.width * scale) / 2);
    } else if (line.align == kAlignRight) {
      x += innerWidth - line.width * scale;
    }
    visit(line, x, y);
    y += (line.height + mPadding + line.padAfter) * scale;
  }
}

void TTextLayout::ForEachGlyph(float scale,
                               const std::function<void(const TPlacedGlyph&)>& visit) const {
  ForEachLine(scale, [&](const TTextLine& line, float x, float y) {
    const float baseline = y + line.baseline * scale;
    for (const TLaidGlyph& g : line.glyphs) {
      visit(TPlacedGlyph{&g, x + g.x * scale, baseline, scale, y, y + line.height * scale});
    }
  });
}

std::string TTextLayout::LinkAt(float px, float py) const {
  if (mLinks.empty()) return std::string();
  if (mRotation != 0) {
    // Undo the rotation around the origin.
    const float c = std::cos(-mRotation), s = std::sin(-mRotation);
    const float dx = px - mOriginX, dy = py - mOriginY;
    px = mOriginX + dx * c - dy * s;
    py = mOriginY + dx * s + dy * c;
  }
  std::string found;
  ForEachGlyph(mLastScale, [&](const TPlacedGlyph& p) {
    if (p.glyph->link < 0 || !found.empty()) return;
    if (px >= p.penX && px < p.penX + p.glyph->advance * p.scale && py >= p.lineTop &&
        py < p.lineBottom) {
      found = mLinks[p.glyph->link].id;
    }
  });
  return found;
}

bool TTextLayout::SetHoverLink(const std::string& id) {
  if (id == mHover) return false;
  mHover = id;
  return true;
}

void TTextLayout::Draw(TRenderer& renderer, float x, float y, float scale, float opacity) {
  mLastScale = scale;
  TTvMiniVecDraw& draw = GetVecDraw();
  const float c = std::cos(mRotation), s = std::sin(mRotation);
  // Glyphs are placed and rasterised in the target's pixels, so that text on an enlarged
  // screen is drawn at the size it is shown at.
  const TPixelSpace pixels = renderer.PixelSpace();
  auto place = [&](float px, float py, float* ox, float* oy) {
    const float dx = px - mOriginX, dy = py - mOriginY;
    *ox = pixels.ToPixelX(x + mOriginX + dx * c - dy * s);
    *oy = pixels.ToPixelY(y + mOriginY + dx * s + dy * c);
  };
  renderer.SetBlendMode(kBlendNormal);
  ForEachGlyph(scale, [&](const TPlacedGlyph& p) {
    const TLaidGlyph& g = *p.glyph;
    float penX, penY;
    place(p.penX, p.penY, &penX, &penY);
    TGlyphParams params;
    params.scale = g.font->PixelsPerUnit(g.size) * scale * pixels.scale;
    params.italic = g.italic;
    params.rotation = mRotation;
    const uint32_t color = WithOpacity(g.color, opacity);
    const float boldWidth = g.bold ? BoldWidth(g.size) * scale : 0;
    int px = 0, py = 0;
    if (g.outline > 0) {
      params.outline = (g.outline * scale + boldWidth) * pixels.scale;
      const TGlyphRuns& runs = draw.GlyphRuns(*g.font, *g.glyph, penX, penY, params, &px, &py);
      draw.QueueRuns(runs, true, px, py, WithOpacity(g.outlineColor, opacity));
    }
    params.outline = boldWidth * pixels.scale;
    const TGlyphRuns& runs = draw.GlyphRuns(*g.font, *g.glyph, penX, penY, params, &px, &py);
    if (g.bold) draw.QueueRuns(runs, true, px, py, color);
    draw.QueueRuns(runs, false, px, py, color);
    const bool hovered = g.link >= 0 && !mHover.empty() && mLinks[g.link].id == mHover;
    if ((g.underline || hovered) && g.glyph->code != ' ') {
      const float k = g.font->PixelsPerUnit(g.size) * scale;
      const float top = p.penY + g.font->Descent() * k * 0.35f;
      const float thickness = std::max(1.0f, g.size * scale / 16);
      const float left = p.penX;
      draw.DrawRect(renderer, pixels.ToPixelX(x + left), pixels.ToPixelY(y + top),
                    pixels.ToPixelX(x + left + g.advance * scale),
                    pixels.ToPixelY(y + top + thickness), color, mRotation,
                    pixels.ToPixelX(x + mOriginX), pixels.ToPixelY(y + mOriginY));
    }
  });
  draw.DrawQueued(renderer);
  // The text cursor: a thin bar over the body of the line.
  ForEachLine(scale, [&](const TTextLine& line, float lineX, float lineY) {
    if (!line.hasCursor) return;
    const float cx = x + lineX + line.cursorX * scale;
    const float top = y + lineY + line.height * scale * 0.15f;
    const float bottom = y + lineY + line.height * scale * 0.95f;
    draw.DrawRect(renderer, pixels.ToPixelX(cx), pixels.ToPixelY(top),
                  pixels.ToPixelX(cx + std::max(1.0f, scale)), pixels.ToPixelY(bottom),
                  WithOpacity(line.cursorColor, opacity), mRotation, pixels.ToPixelX(x + mOriginX),
                  pixels.ToPixelY(y + mOriginY));
  });
}

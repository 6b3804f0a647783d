// TTextLayout: a block of marked-up text laid out into lines for a box, drawn with vector
// fonts. The text is UTF-8 with tags in angle brackets (fonts, colours, bold, italic,
// underline, outlines, alignment, links, tabs, line breaks, the cursor); a backslash makes
// the next character literal. Lines are broken after spaces when the pen would pass the
// box's width. Positions are kept in pixels at quarter-pixel precision.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/mvec_font.h"
#include "gfx/render_types.h"
#include "gfx/tv_mini_vec_draw.h"

class TRenderer;

// Layout flags: the window alignment constants (kHAlign..., kVAlign...).
enum : unsigned {
  kTextHCenter = 0x1,
  kTextHRight = 0x2,
  kTextVCenter = 0x4,
  kTextVBottom = 0x8,
};

enum : int { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

constexpr int kMaxFontStates = 32;

struct TLaidGlyph {
  std::shared_ptr<TMvecFont> font;
  const TMvecGlyph* glyph = nullptr;
  float x = 0;        // pen position from the line's start, pixels
  float advance = 0;  // pixels
  float size = 16;    // the text size S
  uint32_t color = 0xFF000000u;
  uint32_t outlineColor = 0;
  float outline = 0;  // pixels
  bool bold = false, italic = false, underline = false;
  int link = -1;  // index into Links(), -1 outside links
};

struct TTextLine {
  std::vector<TLaidGlyph> glyphs;
  float width = 0;      // rounded to whole pixels, for alignment
  float height = 0;     // line box: the largest text size on the line
  float baseline = 0;   // from the top of the line box
  float inkBottom = 0;  // lowest reach of the line's glyphs (baseline plus descent), from the top
  float padAfter = 0;   // extra space from "br pad"
  int align = kAlignLeft;
  bool hasCursor = false;
  float cursorX = 0;
  float cursorSize = 0;
  uint32_t cursorColor = 0;
};

struct TTextLink {
  std::string id;
  bool hasColor = false;
  uint32_t color = 0;
};

// A glyph at its final place, in the layout's local coordinates (pixels, box at 0, 0).
struct TPlacedGlyph {
  const TLaidGlyph* glyph;
  float penX, penY;  // baseline pen, after scale, alignment, scroll and rotation
  float scale;       // drawing scale
  float lineTop, lineBottom;
};

class TTextLayout {
 public:
  TTextLayout(const std::string& fontName, float size, uint32_t color, unsigned flags, float width,
              float height);

  // Lays the text out again when it changed.
  void SetText(const std::string& text);
  const std::string& GetText() const { return mText; }
  // The base colour of the text (before markup changes it).
  uint32_t GetColor() const { return mColor; }
  void SetBox(float width, float height);
  void SetFlags(unsigned flags);
  // Extra space around the box and after every line; negative values pull lines together.
  void SetPadding(float padding);
  // Breaking a word that does not fit after the character that overflows (the setting
  // "legacylinewrap") instead of before it.
  void SetLegacyWrap(bool on);

  // The scroll position is a line index; drawing and hit tests skip that many lines.
  void SetScroll(float lines) { mScroll = lines; }
  // Only lines that fit the box whole are shown (the first one always is); off by default,
  // and for boxes that scroll, where a cut line says that there is more.
  void SetWholeLines(bool on) { mWholeLines = on; }
  float Scroll() const { return mScroll; }
  // Rotates the drawn text by `degrees` (clockwise) around (originX, originY) of the box.
  void SetRotation(float degrees, float originX, float originY);

  const std::vector<TTextLine>& Lines() const { return mLines; }
  const std::vector<TTextLink>& Links() const { return mLinks; }
  float Width() const { return mWidth; }
  float Height() const { return mHeight; }
  // Height of all lines with their padding, unscaled.
  float ContentHeight() const;

  // The id of the link under a point of the box ("" when none), for the last drawing scale.
  std::string LinkAt(float x, float y) const;
  // The hovered link is drawn underlined. Answers whether it changed.
  bool SetHoverLink(const std::string& id);
  const std::string& HoverLink() const { return mHover; }

  // Draws into the box at (x, y) of the current 2D viewport.
  void Draw(TRenderer& renderer, float x, float y, float scale, float opacity);
  // Every visible line with the top-left corner of its box (after scroll and alignment, before
  // rotation) for a drawing scale.
  void ForEachLine(float scale,
                   const std::function<void(const TTextLine&, float x, float y)>& visit) const;
  // Every glyph at its final place for a drawing scale (also used by hit tests).
  void ForEachGlyph(float scale, const std::function<void(const TPlacedGlyph&)>& visit) const;

 private:
  void Layout();
  float Rotation() const { return mRotation; }

  std::string mText;
  std::string mFontName;
  float mSize;
  uint32_t mColor;
  unsigned mFlags;
  float mWidth, mHeight;
  float mPadding = 0;
  bool mLegacyWrap = false;
  bool mLegacyWrapSet = false;
  float mScroll = 0;
  bool mWholeLines = false;
  float mRotation = 0;  // radians
  float mOriginX = 0, mOriginY = 0;
  float mLastScale = 1;
  std::string mHover;
  std::vector<TTextLine> mLines;
  std::vector<TTextLink> mLinks;
};

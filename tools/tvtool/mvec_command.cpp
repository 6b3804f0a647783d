// tvtool mvec: converts a TrueType or OpenType font into the engine's ".mvec" vector font.
// Outlines are read with FreeType unscaled and unhinted; quadratic curves are kept, cubic
// ones are replaced by quadratic pieces within a tenth of a font unit. A font unit is a
// hundredth of the em, lengths are stored in 1/128 units, y grows downward from the
// baseline, and glyphs are written sorted by character code.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/tool_io.h"

namespace {

constexpr double kUnitsPerEm = 100.0;   // font units per em in the written font
constexpr double kStoredPerUnit = 128;  // stored values per font unit
constexpr double kCubicTolerance = 0.1 * kStoredPerUnit;

// Printable ASCII, Latin-1 and the common typographic punctuation.
const char* kDefaultRanges =
    "32-126,160-255,0x152-0x153,0x160-0x161,0x178,0x17D-0x17E,0x192,"
    "0x2013-0x2014,0x2018-0x201E,0x2020-0x2022,0x2026,0x2030,0x2039-0x203A,"
    "0x20AC,0x2122";

bool ParseNumber(const std::string& text, uint32_t* value) {
  if (text.empty()) return false;
  size_t used = 0;
  unsigned long v = 0;
  try {
    v = std::stoul(text, &used, 0);
  } catch (...) {
    return false;
  }
  if (used != text.size() || v > 0x10FFFF) return false;
  *value = static_cast<uint32_t>(v);
  return true;
}

// "32-126,0x20AC,160-255" -> the set of codes. False on a malformed list.
bool ParseRanges(const std::string& text, std::set<uint32_t>* codes) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(start, end - start);
    const size_t dash = item.find('-');
    uint32_t lo = 0, hi = 0;
    if (dash == std::string::npos) {
      if (!ParseNumber(item, &lo)) return false;
      hi = lo;
    } else if (!ParseNumber(item.substr(0, dash), &lo) ||
               !ParseNumber(item.substr(dash + 1), &hi) || hi < lo) {
      return false;
    }
    for (uint32_t c = lo; c <= hi; ++c) codes->insert(c);
    start = end + 1;
  }
  return !codes->empty();
}

struct TPoint {
  double x, y;
};

// Collects one glyph's program in stored units.
class TGlyphWriter {
 public:
  explicit TGlyphWriter(double scale) : mScale(scale) {}

  TPoint Map(const FT_Vector* v) const { return {v->x * mScale, -v->y * mScale}; }

  void MoveTo(TPoint p) {
    CloseContour();
    Op(4);
    Coord(p);
    if (!mFillSet) {
      Op(2);
      mBytes.push_back(1);
      mFillSet = true;
    }
    mStart = mCurrent = p;
    mOpen = true;
  }
  void LineTo(TPoint p) {
    Op(5);
    Coord(p);
    mCurrent = p;
  }
  void QuadTo(TPoint c, TPoint p) {
    Op(6);
    Coord(c);
    Coord(p);
    mCurrent = p;
  }
  void CubicTo(TPoint c1, TPoint c2, TPoint p, int depth = 0) {
    const TPoint p0 = mCurrent;
    // Distance between the cubic and its best single quadratic is bounded by
    // sqrt(3)/36 * |p3 - 3 c2 + 3 c1 - p0|.
    const double dx = p.x - 3 * c2.x + 3 * c1.x - p0.x;
    const double dy = p.y - 3 * c2.y + 3 * c1.y - p0.y;
    const double error = std::sqrt(3.0) / 36.0 * std::hypot(dx, dy);
    if (error <= kCubicTolerance || depth >= 12) {
      const TPoint q{(3 * (c1.x + c2.x) - p0.x - p.x) / 4, (3 * (c1.y + c2.y) - p0.y - p.y) / 4};
      QuadTo(q, p);
      return;
    }
    auto mid = [](TPoint a, TPoint b) { return TPoint{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
    const TPoint a = mid(p0, c1), b = mid(c1, c2), c = mid(c2, p);
    const TPoint ab = mid(a, b), bc = mid(b, c), m = mid(ab, bc);
    CubicTo(a, ab, m, depth + 1);
    CubicTo(bc, c, p, depth + 1);
  }
  void CloseContour() {
    if (mOpen && (Round(mCurrent.x) != Round(mStart.x) || Round(mCurrent.y) != Round(mStart.y))) {
      LineTo(mStart);
    }
    mOpen = false;
  }
  std::vector<uint8_t> Finish() {
    CloseContour();
    Op(8);
    return mBytes;
  }
  bool InRange() const { return mInRange; }
  int16_t MinX() const { return mAny ? mMinX : 0; }
  int16_t MaxX() const { return mAny ? mMaxX : 0; }
  int16_t MinY() const { return mAny ? mMinY : 0; }
  int16_t MaxY() const { return mAny ? mMaxY : 0; }

  static long Round(double v) { return std::lround(v); }

 private:
  void Op(uint8_t op) { mBytes.push_back(op); }
  void Coord(TPoint p) {
    const long x = Round(p.x), y = Round(p.y);
    if (x < INT16_MIN || x > INT16_MAX || y < INT16_MIN || y > INT16_MAX) mInRange = false;
    const int16_t sx = static_cast<int16_t>(std::clamp<long>(x, INT16_MIN, INT16_MAX));
    const int16_t sy = static_cast<int16_t>(std::clamp<long>(y, INT16_MIN, INT16_MAX));
    if (!mAny) {
      mMinX = mMaxX = sx;
      mMinY = mMaxY = sy;
      mAny = true;
    }
    mMinX = std::min(mMinX, sx);
    mMaxX = std::max(mMaxX, sx);
    mMinY = std::min(mMinY, sy);
    mMaxY = std::max(mMaxY, sy);
    for (int16_t v : {sx, sy}) {
      mBytes.push_back(static_cast<uint8_t>(v & 0xFF));
      mBytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
  }

  double mScale;
  std::vector<uint8_t> mBytes;
  TPoint mStart{0, 0}, mCurrent{0, 0};
  bool mOpen = false;
  bool mFillSet = false;
  bool mInRange = true;
  bool mAny = false;
  int16_t mMinX = 0, mMaxX = 0, mMinY = 0, mMaxY = 0;
};

int MoveCb(const FT_Vector* to, void* user) {
  auto* w = static_cast<TGlyphWriter*>(user);
  w->MoveTo(w->Map(to));
  return 0;
}
int LineCb(const FT_Vector* to, void* user) {
  auto* w = static_cast<TGlyphWriter*>(user);
  w->LineTo(w->Map(to));
  return 0;
}
int ConicCb(const FT_Vector* control, const FT_Vector* to, void* user) {
  auto* w = static_cast<TGlyphWriter*>(user);
  w->QuadTo(w->Map(control), w->Map(to));
  return 0;
}
int CubicCb(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  auto* w = static_cast<TGlyphWriter*>(user);
  w->CubicTo(w->Map(c1), w->Map(c2), w->Map(to));
  return 0;
}

void Put16(std::vector<uint8_t>& out, size_t at, int v) {
  out[at] = static_cast<uint8_t>(v & 0xFF);
  out[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>((v >> (8 * i)) & 0xFF);
}

struct TConvertedGlyph {
  uint32_t code;
  int16_t xmin, xmax, ymin, ymax, advance;
  std::vector<uint8_t> program;
};

int RunMvec(const TToolArguments& args) {
  // "--chars" takes the argument after it as its value; the rest are the two file names.
  std::vector<std::string> positional;
  std::string ranges = kDefaultRanges;
  for (size_t i = 0; i < args.all.size(); ++i) {
    if (args.all[i] == "--chars") {
      if (i + 1 >= args.all.size()) return ToolUsage("mvec");
      ranges = args.all[++i];
    } else {
      positional.push_back(args.all[i]);
    }
  }
  if (positional.size() != 2) return ToolUsage("mvec");
  std::set<uint32_t> codes;
  if (!ParseRanges(ranges, &codes))
    return ToolError("mvec", "bad character ranges '" + ranges + "'");

  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return ToolError("mvec", "FreeType did not start");
  FT_Face face = nullptr;
  if (FT_New_Face(library, positional[0].c_str(), 0, &face) != 0) {
    FT_Done_FreeType(library);
    return ToolError("mvec", "cannot read font '" + positional[0] + "'");
  }
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ToolError("mvec", "'" + positional[0] + "' has no outlines");
  }
  const double scale = kUnitsPerEm / face->units_per_EM * kStoredPerUnit;
  FT_Outline_Funcs funcs{};
  funcs.move_to = MoveCb;
  funcs.line_to = LineCb;
  funcs.conic_to = ConicCb;
  funcs.cubic_to = CubicCb;

  std::vector<TConvertedGlyph> glyphs;
  for (uint32_t code : codes) {
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0) continue;
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) !=
            0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
      continue;
    }
    TGlyphWriter writer(scale);
    if (FT_Outline_Decompose(&face->glyph->outline, &funcs, &writer) != 0) continue;
    TConvertedGlyph g;
    g.code = code;
    g.program = writer.Finish();
    const long advance = TGlyphWriter::Round(face->glyph->advance.x * scale);
    if (!writer.InRange() || advance > INT16_MAX) {
      fprintf(stderr, "tvtool mvec: glyph U+%04X is too large for the format; left out\n", code);
      continue;
    }
    g.xmin = writer.MinX();
    g.xmax = writer.MaxX();
    g.ymin = writer.MinY();
    g.ymax = writer.MaxY();
    g.advance = static_cast<int16_t>(advance);
    glyphs.push_back(std::move(g));
    if (glyphs.size() == 0xFFFF) break;
  }
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  if (glyphs.empty()) return ToolError("mvec", "none of the requested characters is in the font");

  std::vector<uint8_t> out(12 + 18 * glyphs.size(), 0);
  out[0] = 'M';
  out[1] = 'V';
  out[2] = 'C';
  out[3] = '4';
  Put16(out, 4, static_cast<int>(glyphs.size()));
  Put16(out, 6, static_cast<int>(kUnitsPerEm));  // informational only
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const TConvertedGlyph& g = glyphs[i];
    const size_t e = 12 + 18 * i;
    Put32(out, e, g.code);
    Put16(out, e + 4, g.xmin);
    Put16(out, e + 6, g.xmax);
    Put16(out, e + 8, g.ymin);
    Put16(out, e + 10, g.ymax);
    Put16(out, e + 12, g.advance);
    Put32(out, e + 14, static_cast<uint32_t>(out.size()));
    out.insert(out.end(), g.program.begin(), g.program.end());
  }
  std::string error;
  if (!WriteDiskFile(positional[1], out, error)) return ToolError("mvec", error);
  return 0;
}

const TCommandRegistration kMvec{"mvec",
                                 "IN.ttf|IN.otf OUT.mvec [--chars RANGES]",
                                 "convert a TrueType/OpenType font into a vector font",
                                 &RunMvec,
                                 {"--chars"}};

}  // namespace

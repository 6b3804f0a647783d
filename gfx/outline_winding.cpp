#include "gfx/outline_winding.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gfx/coverage_raster.h"

namespace {

// Beyond this many straight edges an outline is not checked (real glyphs have hundreds).
constexpr size_t kMaxSegments = 4096;

struct TPoint {
  double x, y;
  bool operator==(const TPoint& o) const { return x == o.x && y == o.y; }
};

struct TSegment {
  TPoint a, b;
  size_t contour;
  size_t index;  // within its contour
};

// Collects the filled contours as polygons, curves cut into thirds as the raster does.
class TPolygonSink : public TOutlineSink {
 public:
  void MoveTo(float x, float y) override {
    mContours.emplace_back();
    mCurrent = {x, y};
  }
  void LineTo(float x, float y) override {
    Edge(mCurrent, {x, y});
    mCurrent = {x, y};
  }
  void QuadTo(float cx, float cy, float x, float y) override {
    const TCurveThirds cut = CurveThirds(mCurrent.x, mCurrent.y, cx, cy, x, y);
    const TPointF third{cut.ax, cut.ay}, twoThirds{cut.bx, cut.by};
    Edge(mCurrent, third);
    Edge(third, twoThirds);
    Edge(twoThirds, {x, y});
    mCurrent = {x, y};
  }
  void SetFill(bool on) override {
    // Edges left out of a contour leave it open to the raster: not simple.
    if (!on) mBroken = true;
    mFill = on;
  }

  bool Broken() const { return mBroken; }
  const std::vector<std::vector<TPoint>>& Contours() const { return mContours; }

 private:
  struct TPointF {
    float x, y;
  };
  void Edge(TPointF from, TPointF to) {
    if (!mFill) return;
    if (mContours.empty()) {
      mBroken = true;  // edges before any move
      return;
    }
    std::vector<TPoint>& contour = mContours.back();
    const TPoint a{from.x, from.y}, b{to.x, to.y};
    if (contour.empty()) contour.push_back(a);
    if (!(contour.back() == a)) mBroken = true;
    if (!(b == contour.back())) contour.push_back(b);  // zero-length edges add nothing
  }

  std::vector<std::vector<TPoint>> mContours;
  TPointF mCurrent{0, 0};
  bool mFill = true;
  bool mBroken = false;
};

// Sign of the turn a -> b -> c: +1, -1 or 0 when the three lie on one line.
int Orientation(const TPoint& a, const TPoint& b, const TPoint& c) {
  const double v = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  return (v > 0) - (v < 0);
}

bool OnSegment(const TPoint& p, const TPoint& a, const TPoint& b) {
  return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
         p.y <= std::max(a.y, b.y);
}

// True when the closed segments share any point (crossing, touching or overlapping).
bool SegmentsMeet(const TSegment& s, const TSegment& t) {
  if (std::max(s.a.x, s.b.x) < std::min(t.a.x, t.b.x) ||
      std::max(t.a.x, t.b.x) < std::min(s.a.x, s.b.x) ||
      std::max(s.a.y, s.b.y) < std::min(t.a.y, t.b.y) ||
      std::max(t.a.y, t.b.y) < std::min(s.a.y, s.b.y)) {
    return false;
  }
  const int o1 = Orientation(s.a, s.b, t.a), o2 = Orientation(s.a, s.b, t.b);
  const int o3 = Orientation(t.a, t.b, s.a), o4 = Orientation(t.a, t.b, s.b);
  if (o1 != o2 && o3 != o4) return true;
  return (o1 == 0 && OnSegment(t.a, s.a, s.b)) || (o2 == 0 && OnSegment(t.b, s.a, s.b)) ||
         (o3 == 0 && OnSegment(s.a, t.a, t.b)) || (o4 == 0 && OnSegment(s.b, t.a, t.b));
}

// Neighbours along a closed contour of n segments share an end point by construction.
bool Neighbours(const TSegment& s, const TSegment& t, size_t n) {
  if (s.contour != t.contour) return false;
  const size_t d = s.index > t.index ? s.index - t.index : t.index - s.index;
  return d == 1 || d == n - 1;
}

// Winding number of p from all segments but `skip`: each segment crossing the ray from p to
// the right counts +1 going up (towards smaller y) and -1 going down, with half-open y
// ranges so a ray through a vertex counts it once.
int WindingAt(const TPoint& p, const std::vector<TSegment>& segments, size_t skip) {
  int winding = 0;
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i == skip) continue;
    const TSegment& s = segments[i];
    const bool down = s.a.y < s.b.y;
    const TPoint& top = down ? s.a : s.b;
    const TPoint& bottom = down ? s.b : s.a;
    if (!(top.y <= p.y && p.y < bottom.y)) continue;
    const double x = top.x + (p.y - top.y) * (bottom.x - top.x) / (bottom.y - top.y);
    if (x > p.x) winding += down ? -1 : 1;
  }
  return winding;
}

}  // namespace

bool OutlineHasSimpleWinding(const TMvecFont& font, const TMvecGlyph& glyph) {
  TPolygonSink sink;
  if (!font.DecodeOutline(glyph, sink) || sink.Broken()) return false;
  std::vector<TSegment> segments;
  std::vector<size_t> contourSizes;
  for (const std::vector<TPoint>& points : sink.Contours()) {
    if (points.size() < 2) continue;                       // a move alone draws nothing
    if (!(points.front() == points.back())) return false;  // open contour
    const size_t n = points.size() - 1;
    if (n < 3) return false;  // closed but without area: a degenerate back-and-forth
    for (size_t i = 0; i < n; ++i) {
      segments.push_back({points[i], points[i + 1], contourSizes.size(), i});
    }
    contourSizes.push_back(n);
  }
  if (segments.empty()) return true;

  // No two segments meet except neighbours at their shared end point. (Neighbours that fold
  // back onto each other enclose no area and change no winding number.) Segments sorted by
  // their top are only compared with those starting above their bottom. Outlines too large
  // to check in reasonable time are simply not counted as simple.
  if (segments.size() > kMaxSegments) return false;
  std::vector<size_t> byTop(segments.size());
  for (size_t i = 0; i < byTop.size(); ++i) byTop[i] = i;
  auto top = [&segments](size_t i) { return std::min(segments[i].a.y, segments[i].b.y); };
  std::sort(byTop.begin(), byTop.end(), [&top](size_t i, size_t j) { return top(i) < top(j); });
  for (size_t i = 0; i < byTop.size(); ++i) {
    const TSegment& s = segments[byTop[i]];
    const double bottom = std::max(s.a.y, s.b.y);
    for (size_t j = i + 1; j < byTop.size() && top(byTop[j]) <= bottom; ++j) {
      const TSegment& t = segments[byTop[j]];
      if (Neighbours(s, t, contourSizes[s.contour])) continue;
      if (SegmentsMeet(s, t)) return false;
    }
  }

  // The contours are now disjoint closed curves, so every region of the plane borders one of
  // them. Beside a segment that is not horizontal the winding number is w on one side and
  // w + 1 or w - 1 on the other, with w counted from all other segments at its middle; both
  // must be 0 or the glyph's one inside value.
  int inside = 0;
  size_t first = 0;
  for (size_t c = 0; c < contourSizes.size(); ++c) {
    size_t pick = first;
    while (pick < first + contourSizes[c] && segments[pick].a.y == segments[pick].b.y) ++pick;
    first += contourSizes[c];
    if (pick == first) return false;  // a flat contour
    const TSegment& s = segments[pick];
    const TPoint middle{(s.a.x + s.b.x) / 2, (s.a.y + s.b.y) / 2};
    const int w = WindingAt(middle, segments, pick);
    const int other = w + (s.a.y < s.b.y ? -1 : 1);
    for (const int value : {w, other}) {
      if (value == 0) continue;
      if (value != 1 && value != -1) return false;
      if (inside == 0) inside = value;
      if (value != inside) return false;
    }
  }
  return true;
}

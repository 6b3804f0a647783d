// The encoded layout values of window descriptions. Positions above 40000 are relative to
// the parent (kCenter + n centres with offset n, kMax - n is n pixels from the far edge);
// negative positions count from the far edge; sizes above 80000 stretch to the parent
// (kMax - n stops n pixels before the far edge) and negative sizes extend back from pos.
#pragma once

constexpr int kLayoutCenter = 80000;
constexpr int kLayoutMax = 160000;
constexpr int kRelativeLimit = 40000;
constexpr int kCenterLimit = 106666;

// Alignment bits of the "align" key.
constexpr int kAlignHCenter = 1;
constexpr int kAlignRight = 2;
constexpr int kAlignVCenter = 4;
constexpr int kAlignBottom = 8;

struct TAxis {
  int pos = 0;
  int size = 0;
};

// Resolves one axis against the parent's size (hasParent false: no parent). Answers false
// when the axis cannot be resolved yet (a centred or far-aligned position without a size);
// the axis is then left as far as it got.
bool ResolveAxis(TAxis& axis, bool hasParent, int parentSize, bool centre, bool far,
                 bool alignGiven);

// pos against the parent size P for a window of size s (the relative-position codes).
int ResolvePosition(int pos, int parentSize, int size, bool alignGiven);

// Whether a position or size needs a sized parent to be resolved.
inline bool IsRelativePosition(int pos) {
  return pos > kRelativeLimit || pos < 0;
}
inline bool IsRelativeSize(int size) {
  return size < 0 || size > 2 * kRelativeLimit;
}

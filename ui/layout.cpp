#include "ui/layout.h"

int ResolvePosition(int pos, int parentSize, int size, bool alignGiven) {
  if (pos > kCenterLimit) return pos + parentSize - kLayoutMax;
  if (pos > kRelativeLimit) return parentSize / 2 - size / 2 + pos - kLayoutCenter;
  if (pos < 0 && !alignGiven) return parentSize + pos;
  return pos;
}

namespace {

// A stretched size centred on the parent: the position code gives the margin on both sides.
void CentredSize(TAxis& axis, int parentSize) {
  int b = axis.pos <= kCenterLimit ? axis.pos - kLayoutCenter : axis.pos + parentSize - kLayoutMax;
  if (b >= 0) {
    axis.size = axis.size + parentSize - 2 * b - kLayoutMax;
    axis.pos = 2 * b;
  } else {
    axis.size = axis.size + parentSize + 2 * b - kLayoutMax;
    axis.pos = 0;
  }
}

}  // namespace

bool ResolveAxis(TAxis& axis, bool hasParent, int parentSize, bool centre, bool far,
                 bool alignGiven) {
  if (axis.pos < kRelativeLimit || axis.pos > kCenterLimit) {
    if (centre) {
      if (axis.size == 0) return false;
      axis.pos -= axis.size / 2;
    } else if (far) {
      if (axis.size == 0) return false;
      axis.pos -= axis.size;
    }
  }
  if (!hasParent) return true;
  const int P = parentSize;
  if (axis.size > 2 * kRelativeLimit) {
    if (axis.pos > kRelativeLimit) {
      CentredSize(axis, P);
    } else {
      axis.pos = ResolvePosition(axis.pos, P, axis.size, alignGiven);
      axis.size = axis.size + P - axis.pos - kLayoutMax;
    }
    return true;
  }
  if (axis.size < 0) {
    axis.size = -axis.size;
    if (axis.size > 2 * kRelativeLimit) {
      if (axis.pos > kRelativeLimit) {
        CentredSize(axis, P);
      } else {
        axis.pos = ResolvePosition(axis.pos, P, axis.size, alignGiven);
        axis.size = axis.pos;
        axis.pos = kLayoutMax - axis.pos;
      }
    } else {
      axis.pos = ResolvePosition(axis.pos, P, axis.size, alignGiven);
      axis.pos -= axis.size;
    }
    return true;
  }
  axis.pos = ResolvePosition(axis.pos, P, axis.size, alignGiven);
  return true;
}

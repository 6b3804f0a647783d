#include "ui/text_origin.h"

#include "ui/layout.h"

int ResolveTextOrigin(int pos, int boxSize, bool centre, bool far) {
  TAxis axis{pos, boxSize};
  ResolveAxis(axis, true, boxSize, centre, far, false);
  return axis.pos;
}

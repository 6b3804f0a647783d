// Whether a glyph's outline is "simple": its contours are closed, neither cross nor touch
// themselves or each other, and are wound so that the winding number is 0 outside and one
// and the same value, +1 or -1, everywhere inside. For such an outline the coverage raster
// may sum every edge's crossings without sorting them (TWinding::kZeroOrOne).
#pragma once

#include "gfx/mvec_font.h"

// Looks at the outline as the raster fills it: the filled edges, quadratic curves replaced by
// three straight edges ending at t = 1/3, 2/3 and 1. Affine maps (scale, shear, rotation)
// keep the answer, so one check serves every size and style. A damaged outline is not simple.
bool OutlineHasSimpleWinding(const TMvecFont& font, const TMvecGlyph& glyph);

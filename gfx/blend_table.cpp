#include "gfx/blend_table.h"

#include "gfx/render_types.h"

TBlendFunc BlendFuncFor(int mode, bool targetKeepsAlpha, bool subtractiveAddsInTargets) {
  using F = TBlendFactor;
  const TBlendFunc normal{true, F::kSrcAlpha, F::kInvSrcAlpha};
  const TBlendFunc addAlpha{true, F::kSrcAlpha, F::kOne};
  switch (mode) {
    case kBlendOpaque:
      return TBlendFunc{false, F::kOne, F::kZero};
    case kBlendAdditive:
      return addAlpha;
    case kBlendSubtractive:
      if (!targetKeepsAlpha) return TBlendFunc{true, F::kZero, F::kInvSrcColor};
      return subtractiveAddsInTargets ? TBlendFunc{true, F::kOne, F::kOne} : normal;
    case kBlendMultiply:
      return TBlendFunc{true, F::kZero, F::kSrcColor};
    case kBlendNormal:
    default:
      return targetKeepsAlpha ? addAlpha : normal;
  }
}

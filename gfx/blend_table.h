// The blend modes as blend equations the device can apply: result = source * src factor +
// destination * dst factor, the same factors for colour and alpha.
#pragma once

enum class TBlendFactor { kZero, kOne, kSrcAlpha, kInvSrcAlpha, kSrcColor, kInvSrcColor };

struct TBlendFunc {
  bool enabled = true;
  TBlendFactor src = TBlendFactor::kSrcAlpha;
  TBlendFactor dst = TBlendFactor::kInvSrcAlpha;
  bool operator==(const TBlendFunc&) const = default;
};

// targetKeepsAlpha: drawing goes into a render target whose alpha channel is kept.
// subtractiveAddsInTargets: the device capability that picks source + destination (true)
// or normal blending (false) for subtractive drawing into such a target.
// Modes outside 0..4 are drawn as normal.
TBlendFunc BlendFuncFor(int mode, bool targetKeepsAlpha, bool subtractiveAddsInTargets);

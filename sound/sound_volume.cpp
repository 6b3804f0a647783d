#include "sound/sound_volume.h"

#include <algorithm>
#include <cmath>

int VolumeToHundredths(float v) {
  // Written so that a NaN volume counts as silence.
  if (!(v > 0.0f)) return kSilentHundredths;
  v = std::min(v, 1.0f);
  return static_cast<int>(-(1.0f - v) * 5000.0f);
}

double HundredthsToGain(int hundredths) {
  if (hundredths <= kSilentHundredths) return 0.0;
  if (hundredths >= 0) return 1.0;
  return std::pow(10.0, hundredths / 2000.0);
}

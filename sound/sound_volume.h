// Volumes: the game speaks of linear volumes 0..1, buffers of attenuation in hundredths of
// a decibel (0 full volume, -10000 silent), and the mixer multiplies samples by a gain.
#pragma once

constexpr int kSilentHundredths = -10000;

// 0 (and below, and NaN) gives -10000, silent; otherwise a linear ramp from -5000 just
// above 0 up to 0 at full volume, truncated toward zero. Values above 1 count as 1.
int VolumeToHundredths(float v);

// The amplitude factor of an attenuation: 10^(hundredths / 2000); 0 at -10000 and below,
// 1 at 0 and above.
double HundredthsToGain(int hundredths);

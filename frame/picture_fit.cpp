#include "frame/picture_fit.h"

#include <algorithm>
#include <cmath>

TPictureFit FitPicture(int pictureWidth, int pictureHeight, int outputWidth, int outputHeight) {
  TPictureFit fit;
  if (pictureWidth <= 0 || pictureHeight <= 0) return fit;
  fit.width = pictureWidth;
  fit.height = pictureHeight;
  if (outputWidth <= 0 || outputHeight <= 0) return fit;
  fit.scale = std::min(static_cast<float>(outputWidth) / static_cast<float>(pictureWidth),
                       static_cast<float>(outputHeight) / static_cast<float>(pictureHeight));
  // Rounded so that an exact fit (1280 / 800 * 600 = 960) is not one pixel short, and never
  // wider than the output.
  fit.width = std::clamp(static_cast<int>(std::lround(pictureWidth * fit.scale)), 1, outputWidth);
  fit.height =
      std::clamp(static_cast<int>(std::lround(pictureHeight * fit.scale)), 1, outputHeight);
  fit.offsetX = (outputWidth - fit.width) / 2;
  fit.offsetY = (outputHeight - fit.height) / 2;
  return fit;
}

namespace {

int ToPictureAxis(int output, int offset, float scale) {
  const float s = scale > 0 ? scale : 1.0f;
  return static_cast<int>(std::floor(static_cast<float>(output - offset) / s));
}

// The first output pixel showing picture pixel v, nudged so that it maps back to v despite
// float rounding of the scale.
int ToOutputAxis(int v, int offset, float scale) {
  int output = offset + static_cast<int>(std::ceil(static_cast<float>(v) * scale - 0.001f));
  return ToPictureAxis(output, offset, scale) < v ? output + 1 : output;
}

}  // namespace

void TPictureFit::ToPicture(int outputX, int outputY, int& x, int& y) const {
  x = ToPictureAxis(outputX, offsetX, scale);
  y = ToPictureAxis(outputY, offsetY, scale);
}

void TPictureFit::ToOutput(int x, int y, int& outputX, int& outputY) const {
  outputX = ToOutputAxis(x, offsetX, scale);
  outputY = ToOutputAxis(y, offsetY, scale);
}

// Where the logical picture (800 x 600) sits in a larger or smaller output: scaled by one
// factor so it fits with its aspect kept, centred, the rest of the output black bars. The
// window's pointer translation and the GL presentation both use this, so a click lands on
// the pixel that is shown under it.
#pragma once

struct TPictureFit {
  float scale = 1.0f;
  int offsetX = 0;  // left edge of the picture in the output
  int offsetY = 0;  // top edge of the picture in the output
  int width = 0;    // picture size in the output
  int height = 0;

  // Output pixel -> picture pixel (may lie outside the picture when the point is in a bar).
  void ToPicture(int outputX, int outputY, int& x, int& y) const;
  // Picture pixel -> the output pixel showing its top-left corner.
  void ToOutput(int x, int y, int& outputX, int& outputY) const;
};

// The fit of a picture of pictureWidth x pictureHeight into outputWidth x outputHeight.
// Sizes that are not positive give scale 1 at offset 0 (the picture unscaled).
TPictureFit FitPicture(int pictureWidth, int pictureHeight, int outputWidth, int outputHeight);

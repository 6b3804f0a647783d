// TShelfPacker: places rectangles left to right on shelves as high as their tallest
// rectangle; when a shelf is full the next one starts below it. Nothing placed ever moves
// and nothing is freed: Reset starts again from the top-left corner.
#pragma once

#include <algorithm>

class TShelfPacker {
 public:
  // Finds room for a width x height rectangle inside maxWidth x maxHeight; false when there
  // is none left (the packer is then unchanged but for a shelf it may have closed).
  bool Place(int width, int height, int maxWidth, int maxHeight, int* x, int* y) {
    if (mX + width > maxWidth) {
      mY += mHeight;
      mX = 0;
      mHeight = 0;
    }
    if (mY + height > maxHeight) return false;
    *x = mX;
    *y = mY;
    mX += width;
    mHeight = std::max(mHeight, height);
    return true;
  }
  void Reset() { mX = mY = mHeight = 0; }

 private:
  int mX = 0, mY = 0;  // where the next rectangle goes on the open shelf
  int mHeight = 0;     // the open shelf's height so far
};

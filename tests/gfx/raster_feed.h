// Feeds a glyph outline into a coverage raster (the current one or the frozen previous one),
// placed the way the glyph drawing code places it: scaled to quarter pixels, optionally
// sheared for italics, rotated and offset, or stroked as an outline.
#pragma once

#include <cmath>

#include "gfx/mvec_font.h"

struct TPlacement {
  float scale = 1;
  float subX = 0, subY = 0;
  bool italic = false;
  float rotation = 0;
  float stroke = 0;  // outline width in quarter pixels (0: fill the glyph)
};

// Sends a glyph outline to a raster, placed like the glyph drawing code places it.
template <typename TRaster>
class TFeedSink : public TOutlineSink {
 public:
  TFeedSink(TRaster& raster, const TPlacement& p, float fit)
      : mRaster(raster),
        mP(p),
        mScaleX(4 * p.scale * kMvecUnitScale),
        mScaleY(4 * p.scale * fit * kMvecUnitScale),
        mCos(std::cos(p.rotation)),
        mSin(std::sin(p.rotation)) {}
  void MoveTo(float x, float y) override { Map(x, y, &mX, &mY); }
  void LineTo(float x, float y) override {
    float nx, ny;
    Map(x, y, &nx, &ny);
    Edge(mX, mY, nx, ny);
    mX = nx;
    mY = ny;
  }
  void QuadTo(float cx, float cy, float x, float y) override {
    float qx, qy, nx, ny;
    Map(cx, cy, &qx, &qy);
    Map(x, y, &nx, &ny);
    if (mP.stroke > 0) {
      Edge(mX, mY, qx, qy);
      Edge(qx, qy, nx, ny);
    } else {
      mRaster.AddQuad(mX, mY, qx, qy, nx, ny);
    }
    mX = nx;
    mY = ny;
  }

 private:
  void Map(float x, float y, float* ox, float* oy) const {
    if (mP.italic) x -= y / 3;
    const float sx = x * mScaleX, sy = y * mScaleY;
    *ox = sx * mCos - sy * mSin + mP.subX;
    *oy = sx * mSin + sy * mCos + mP.subY;
  }
  void Edge(float x0, float y0, float x1, float y1) {
    if (mP.stroke > 0) {
      mRaster.AddWideLine(x0, y0, x1, y1, mP.stroke);
    } else {
      mRaster.AddLine(x0, y0, x1, y1);
    }
  }
  TRaster& mRaster;
  TPlacement mP;
  float mScaleX, mScaleY, mCos, mSin;
  float mX = 0, mY = 0;
};

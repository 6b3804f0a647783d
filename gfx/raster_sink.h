// TRasterSink: feeds a decoded glyph outline into a coverage raster, mapping font units to
// the raster's quarter pixels the way glyphs are drawn: scaled (heights also by the glyph's
// fit factor), sheared for italics, rotated, offset by the sub-pixel position; filled, or
// stroked as wide lines for the outline effect (curves cut in the same three pieces the fill
// uses). A template over the raster so that tests and benchmarks feed the previous raster,
// kept as a reference, exactly as the drawing code feeds the current one.
#pragma once

#include <cmath>

#include "gfx/coverage_raster.h"
#include "gfx/mvec_font.h"
#include "gfx/tv_mini_vec_draw.h"

template <typename TRaster>
class TRasterSink : public TOutlineSink {
 public:
  TRasterSink(TRaster& raster, const TGlyphParams& params, float fit, float subX, float subY,
              bool stroke)
      : mRaster(raster),
        mScaleX(4 * params.scale * kMvecUnitScale),
        mScaleY(4 * params.scale * fit * kMvecUnitScale),
        mItalic(params.italic),
        mCos(params.rotation != 0 ? std::cos(params.rotation) : 1.0f),
        mSin(params.rotation != 0 ? std::sin(params.rotation) : 0.0f),
        mSubX(subX),
        mSubY(subY),
        mStroke(stroke),
        mWidth(params.outline * 4) {}

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
    if (mFill) {
      if (mStroke) {
        // The stroke follows the same three straight pieces the fill uses.
        const TCurveThirds cut = CurveThirds(mX, mY, qx, qy, nx, ny);
        mRaster.AddWideLine(mX, mY, cut.ax, cut.ay, mWidth);
        mRaster.AddWideLine(cut.ax, cut.ay, cut.bx, cut.by, mWidth);
        mRaster.AddWideLine(cut.bx, cut.by, nx, ny, mWidth);
      } else {
        mRaster.AddQuad(mX, mY, qx, qy, nx, ny);
      }
    }
    mX = nx;
    mY = ny;
  }
  void SetFill(bool on) override { mFill = on; }

 private:
  void Map(float x, float y, float* ox, float* oy) const {
    if (mItalic) x -= y / 3;
    const float sx = x * mScaleX, sy = y * mScaleY;
    *ox = sx * mCos - sy * mSin + mSubX;
    *oy = sx * mSin + sy * mCos + mSubY;
  }
  void Edge(float x0, float y0, float x1, float y1) {
    if (!mFill) return;
    if (mStroke) {
      mRaster.AddWideLine(x0, y0, x1, y1, mWidth);
    } else {
      mRaster.AddLine(x0, y0, x1, y1);
    }
  }

  TRaster& mRaster;
  float mScaleX, mScaleY;
  bool mItalic;
  float mCos, mSin, mSubX, mSubY;
  bool mStroke;
  float mWidth;
  bool mFill = true;
  float mX = 0, mY = 0;
};

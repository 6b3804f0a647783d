// The OpenGL 3.3 core backend of the renderer. Works in any current GL context: an SDL
// window or an offscreen EGL context. The back buffer is an internal framebuffer object of
// the size the logical picture (800 x 600) takes in the output: on a larger output (full
// screen, a large host window, a high-density display) the picture is drawn at that
// resolution rather than enlarged afterwards, so edges and text stay sharp; without an
// output it is the picture's own size. A window is given the frame at presentation: centred
// between black bars (scaled with linear filtering only while the output changed size since
// the frame began), then swapped.
//
// Orientation: textures and the back buffer keep row 0 at the top, so pixel rows read back
// in screen order; the vertex shader flips y for them. The window's default framebuffer has
// row 0 at the bottom as usual in GL; the presentation copy turns the picture over.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "gfx/render_device.h"

class TGlDevice : public TRenderDevice {
 public:
  // Needs a current GL 3.3 core context. The logical screen is width x height. `swap`
  // presents the window (null: offscreen, the frame stays in the back buffer);
  // `outputSize` answers the output's size in device pixels (a window's drawable) at the
  // start of each frame and at each presentation (null: the logical size). Null on failure
  // (logged).
  static std::unique_ptr<TGlDevice> Create(int width, int height,
                                           std::function<void(bool vsync)> swap,
                                           std::function<void(int*, int*)> outputSize = {});
  ~TGlDevice() override;

  const TDeviceCaps& Caps() const override { return mCaps; }
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int FrameWidth() const override { return mBackBuffer.width; }
  int FrameHeight() const override { return mBackBuffer.height; }
  float FrameScale() const override { return mFrameScale; }
  // Resizes the back buffer when the output's fitted picture changed size.
  bool BeginFrame() override;
  TDeviceResult Present(bool vsync) override;
  TDeviceResult CreateSurface(int width, int height, unsigned flags, TSurfaceId* out) override;
  void DestroySurface(TSurfaceId id) override;
  bool Upload(TSurfaceId id, const uint32_t* argb, int width, int height, int stride) override;
  bool UploadRect(TSurfaceId id, const TRect& rect, const uint32_t* argb, int stride) override;
  bool SurfaceHasAlpha(TSurfaceId id) const override;
  bool SetRenderTarget(TSurfaceId id) override;
  bool SetViewport(const TRect& rect) override;
  void ClearDepth(float depth) override;
  void ClearColor(uint32_t argb) override;
  TDeviceResult Draw(const TDrawState& state, int primitive, int kind, const void* vertices,
                     int vertexCount, const uint16_t* indices, int indexCount) override;
  bool CopyRect(TSurfaceId source, const TRect& from, TSurfaceId target, const TRect& to) override;
  bool ReadPixels(TSurfaceId id, const TRect& rect, uint32_t* argb) override;

  // The window's cursor: the renderer's cursor image (32 x 32 ARGB) and visibility go to
  // these (an offscreen device has none and ignores both).
  void SetCursorHandlers(std::function<void(const uint32_t*, int, int)> image,
                         std::function<void(bool)> show) {
    mCursorImage = std::move(image);
    mCursorShow = std::move(show);
  }
  void SetCursorImage(const uint32_t* argb32x32, int hotX, int hotY) override {
    if (mCursorImage) mCursorImage(argb32x32, hotX, hotY);
  }
  void ShowCursor(bool visible) override {
    if (mCursorShow) mCursorShow(visible);
  }

  // The last frame as a window of outputWidth x outputHeight would show it (scaled, centred,
  // black bars), ARGB top row first; the same copy as Present into a window.
  bool ReadPresented(int outputWidth, int outputHeight, std::vector<uint32_t>* argb);
  // A window's own read-back: presents the last frame into the window's framebuffer (no
  // swap) and reads that, ARGB top row first, at the drawable's current size.
  bool ReadWindow(std::vector<uint32_t>* argb, int* width, int* height);

  // Replaces the output size query (offscreen screens drawing for a given display size).
  void SetOutputSize(std::function<void(int*, int*)> outputSize) {
    mOutputSize = std::move(outputSize);
  }

  // Lets tests make surface creation and drawing report exhausted video memory.
  void SimulateOutOfMemory(bool on) { mSimulateOutOfMemory = on; }
  // Lets tests act as a device that only takes square textures.
  void RequireSquareTextures(bool on) { mCaps.squareTextures = on; }

 private:
  struct Surface {
    unsigned texture = 0;
    unsigned framebuffer = 0;
    unsigned depth = 0;
    int width = 0;
    int height = 0;
    bool alpha = false;
    bool mipmap = false;
  };
  struct Program {
    unsigned id = 0;
    int world = -1, view = -1, projection = -1, kind = -1, viewport = -1, flip = -1;
    int textured = -1, lightColor = -1, lighting = -1, sampler = -1, pixelScale = -1;
  };

  TGlDevice(int width, int height, std::function<void(bool)> swap,
            std::function<void(int*, int*)> outputSize);
  // Copies the back buffer, scaled to fit, into `framebuffer` of the given size; `rowsUp`
  // for a window's framebuffer (row 0 at the bottom).
  void PresentScaled(unsigned framebuffer, int outputWidth, int outputHeight, bool rowsUp);
  bool Init();
  // A back buffer (render target without alpha) of width x height, cleared to black.
  bool MakeBackBuffer(int width, int height);
  // The output's size, or the logical size when there is no output (or it is empty).
  void OutputSize(int* width, int* height) const;
  bool BuildProgram(bool flat, Program* out);
  unsigned Sampler(int filter, int addressU, int addressV, bool mipmap);
  // Size and orientation of the current target.
  int TargetWidth() const;
  int TargetHeight() const;
  bool TargetFlipped() const;
  void ApplyTarget();
  const Surface* Find(TSurfaceId id) const;
  void ReleaseSurface(Surface& surface);

  TDeviceCaps mCaps;
  int mWidth;
  int mHeight;
  std::function<void(bool)> mSwap;
  std::function<void(int*, int*)> mOutputSize;
  Surface mBackBuffer;
  float mFrameScale = 1.0f;
  std::map<TSurfaceId, Surface> mSurfaces;
  TSurfaceId mNextId = 1;
  TSurfaceId mTarget = kBackBuffer;
  TRect mViewport;
  Program mSmooth;
  Program mFlat;
  unsigned mVertexArray = 0;
  unsigned mVertexBuffer = 0;
  unsigned mIndexBuffer = 0;
  unsigned mCopyRead = 0;
  unsigned mCopyDraw = 0;
  std::map<std::tuple<int, int, int, bool>, unsigned> mSamplers;
  bool mSimulateOutOfMemory = false;
  std::function<void(const uint32_t*, int, int)> mCursorImage;
  std::function<void(bool)> mCursorShow;
};

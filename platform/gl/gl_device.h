// The OpenGL 3.3 core backend of the renderer. Works in any current GL context: an SDL
// window (the default framebuffer, presented by a swap callback) or an offscreen EGL
// context (an internal framebuffer object stands in for the back buffer).
//
// Orientation: textures and the offscreen back buffer keep row 0 at the top, so pixel rows
// read back in screen order; the vertex shader flips y for them. The window's default
// framebuffer has row 0 at the bottom as usual in GL.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <tuple>

#include "gfx/render_device.h"

class TGlDevice : public TRenderDevice {
 public:
  // Needs a current GL 3.3 core context. `swap` presents the window (null: offscreen, the
  // frame stays in an internal framebuffer of width x height). Null on failure (logged).
  static std::unique_ptr<TGlDevice> Create(int width, int height,
                                           std::function<void(bool vsync)> swap);
  ~TGlDevice() override;

  const TDeviceCaps& Caps() const override { return mCaps; }
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  bool BeginFrame() override { return true; }
  TDeviceResult Present(bool vsync) override;
  TDeviceResult CreateSurface(int width, int height, unsigned flags, TSurfaceId* out) override;
  void DestroySurface(TSurfaceId id) override;
  bool Upload(TSurfaceId id, const uint32_t* argb, int width, int height, int stride) override;
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
    int textured = -1, lightColor = -1, lighting = -1, sampler = -1;
  };

  TGlDevice(int width, int height, std::function<void(bool)> swap);
  bool Init();
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
  Surface mBackBuffer;  // offscreen only
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

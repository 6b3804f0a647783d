// The interface between the renderer and a graphics backend. The renderer keeps all the
// logic (state machine, projection, blend table, batching); a device only creates
// surfaces and executes fully resolved draw calls. Backends live in platform/.
#pragma once

#include <cstdint>

#include "gfx/blend_table.h"
#include "gfx/render_types.h"

using TSurfaceId = uint32_t;  // 0 means the back buffer / no texture
constexpr TSurfaceId kBackBuffer = 0;

enum class TDeviceResult { kOk, kFailed, kOutOfVideoMemory };

struct TDeviceCaps {
  bool squareTextures = false;   // textures must be square powers of two
  bool textures1024 = true;      // 1024 x 1024 textures are possible
  bool targetsKeepAlpha = true;  // render targets may have an alpha channel
  bool subtractiveAddsInTargets = true;
  int maxTextureSize = 1024;  // largest side the device accepts
  // Where the rasteriser puts pixel centres relative to integer coordinates, as seen by the
  // 2D projection (-0.5 for Direct3D-style rasterisers, 0 for OpenGL).
  float pixelOffset = 0.0f;
};

enum : unsigned {
  kSurfaceAlpha = 0x1,
  kSurfaceRenderTarget = 0x2,
  kSurfaceMipmap = 0x4,
};

// Everything one draw call needs, resolved by the renderer.
struct TDrawState {
  TSurfaceId texture = 0;
  TBlendFunc blend;
  int filter = kFilterBilinear;
  int addressU = kAddressClamp;
  int addressV = kAddressClamp;
  int cull = kCullNone;
  bool depthTest = false;
  bool depthWrite = false;
  bool depthClip = false;  // off in 2D: nothing is clipped against near and far planes
  bool lighting = false;
  bool flatShading = false;
  TMatrix4 world = TMatrix4::Identity();
  TMatrix4 view = TMatrix4::Identity();
  TMatrix4 projection = TMatrix4::Identity();
  uint32_t ambient = 0;
  TMaterial material;
  bool operator==(const TDrawState&) const = default;
};

class TRenderDevice {
 public:
  virtual ~TRenderDevice() = default;

  virtual const TDeviceCaps& Caps() const = 0;
  // Size of the screen in logical pixels: what viewports and 2D drawing on the back buffer
  // are counted in.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // The back buffer in device pixels: the logical screen drawn FrameScale() times larger
  // (on a large or high-density display), so that edges and text are rasterised at the
  // resolution they are shown at. Fixed from one BeginFrame to the next.
  virtual int FrameWidth() const { return Width(); }
  virtual int FrameHeight() const { return Height(); }
  virtual float FrameScale() const { return 1.0f; }

  // Starts a frame (and may resize the back buffer to follow the output); false when the
  // device cannot draw now (the frame is skipped).
  virtual bool BeginFrame() = 0;
  virtual TDeviceResult Present(bool vsync) = 0;

  virtual TDeviceResult CreateSurface(int width, int height, unsigned flags, TSurfaceId* out) = 0;
  virtual void DestroySurface(TSurfaceId id) = 0;
  // Replaces the top-left width x height pixels of a surface with ARGB pixels; stride in
  // pixels.
  virtual bool Upload(TSurfaceId id, const uint32_t* argb, int width, int height, int stride) = 0;
  // Replaces the pixels of `rect` (inside the surface) with ARGB pixels; stride in pixels.
  // Devices that cannot answer false, and the caller uploads from the top-left corner.
  virtual bool UploadRect(TSurfaceId /*id*/, const TRect& /*rect*/, const uint32_t* /*argb*/,
                          int /*stride*/) {
    return false;
  }
  // Whether the surface has an alpha channel (false for unknown ids and the back buffer).
  virtual bool SurfaceHasAlpha(TSurfaceId id) const = 0;

  // Draws into the surface from now on (kBackBuffer: the screen).
  virtual bool SetRenderTarget(TSurfaceId id) = 0;
  // Viewport in device pixels of the current target (the back buffer counts
  // FrameWidth() x FrameHeight()), top-left origin; false when outside it.
  virtual bool SetViewport(const TRect& rect) = 0;
  virtual void ClearDepth(float depth) = 0;
  virtual void ClearColor(uint32_t argb) = 0;

  // vertices use the layout of `kind`; indices may be null (then vertices are used in
  // order). Pre-transformed vertices on the back buffer are in logical screen pixels.
  virtual TDeviceResult Draw(const TDrawState& state, int primitive, int kind, const void* vertices,
                             int vertexCount, const uint16_t* indices, int indexCount) = 0;

  // Copies (stretching when sizes differ) between surfaces; kBackBuffer allowed as source
  // (its rectangle in device pixels).
  virtual bool CopyRect(TSurfaceId source, const TRect& from, TSurfaceId target,
                        const TRect& to) = 0;
  // Reads pixels of a surface (kBackBuffer: the last drawn frame, in device pixels) as
  // ARGB, top row first.
  virtual bool ReadPixels(TSurfaceId id, const TRect& rect, uint32_t* argb) = 0;

  // The mouse cursor as a colour image (32 x 32 ARGB) with its hotspot; devices without a
  // cursor of their own ignore it.
  virtual void SetCursorImage(const uint32_t* /*argb32x32*/, int /*hotX*/, int /*hotY*/) {}
  virtual void ShowCursor(bool /*visible*/) {}
};

// TRenderer: the one object all drawing goes through. A small immediate-mode interface: a
// frame is opened and closed (BeginDraw/EndDraw), 2D or 3D drawing is bracketed inside it,
// and vertex arrays are submitted with the current blend mode, filter and address modes.
// Consecutive triangle draws with the same state are batched before they reach the device;
// 2D geometry that lies inside its viewport and clip is batched in screen coordinates, so
// consecutive windows drawing from one texture share a batch (see HoldBatches). Misuse of the state
// machine is logged and ignored; no failure here ends the program.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "frame/frame_rate.h"
#include "gfx/render_batch.h"
#include "gfx/render_device.h"

class TTextureData;

class TRenderer {
 public:
  static constexpr float kNearPlane = 0.1f;
  static constexpr float kFarPlane = 1000.0f;

  // `device` may be null (no device yet); it is not owned.
  explicit TRenderer(TRenderDevice* device = nullptr);
  ~TRenderer();
  TRenderer(const TRenderer&) = delete;
  TRenderer& operator=(const TRenderer&) = delete;

  // Replaces the device (after a change of display mode) and resets the rectangles to the
  // new screen. Textures must be restored afterwards (RestoreAssets).
  void SetDevice(TRenderDevice* device);
  TRenderDevice* Device() const { return mDevice; }

  // --- drawing state machine
  bool Begin2d();
  bool End2d();
  bool Begin3d();
  bool End3d();
  bool In2d() const { return mIn2d; }
  bool In3d() const { return mIn3d; }
  bool DrawVertices(int primitive, const TVertexArray& vertices);
  bool DrawIndexedVertices(int primitive, const TVertexArray& vertices, const uint16_t* indices,
                           int indexCount);
  // Hands pending batched triangles to the device.
  void Flush();
  // While held, ending a 2D bracket leaves the pending batch open, so that the brackets of
  // a window walk (every window opens its own) can share batches. Holds nest; releasing
  // the last one flushes. Anything that touches the device otherwise (targets, clears,
  // read-back, texture uploads) flushes first, held or not.
  void HoldBatches() { ++mBatchHolds; }
  void ReleaseBatches();

  // --- render states
  void SetBlendMode(int mode) { mBlendMode = mode; }
  int BlendMode() const { return mBlendMode; }
  void SetTextureFilter(int filter) { mFilter = filter; }
  int TextureFilter() const { return mFilter; }
  // 1 wrap, 2 mirror, anything else clamp.
  void SetTextureAddress(int u, int v);
  void SetCulling(int mode) { mCull = mode; }
  void SetShading(int mode) { mFlatShading = mode == 1; }
  void SetDepthTest(bool on) { mDepthTest = on; }
  void SetDepthWrite(bool on) { mDepthWrite = on; }
  void SetAmbientLight(uint32_t argb) { mAmbient = argb; }
  void SetMaterial(const TMaterial& material) { mMaterial = material; }
  void SetWorldMatrix(const TMatrix4& m) { mWorld = m; }
  void SetViewMatrix(const TMatrix4& m) { mView = m; }
  void SetProjectionMatrix(const TMatrix4& m) { mProjection = m; }
  const TMatrix4& WorldMatrix() const { return mWorld; }
  const TMatrix4& ViewMatrix() const { return mView; }
  const TMatrix4& ProjectionMatrix() const { return mProjection; }
  // aspect 0 means the viewport's own aspect ratio; fov in radians.
  void SetPerspective(float zNear, float zFar, float fov, float aspect);
  void SetTexture(TSurfaceId surface) { mTexture = surface; }
  TSurfaceId Texture() const { return mTexture; }

  // --- viewport and scissor, in logical pixels of the current target (the back buffer
  // counts the logical screen, whatever its frame's pixel size; a texture its own pixels)
  TRect Viewport() const { return mViewport; }
  bool SetViewport(const TRect& rect);
  void SetScissor(const TRect& rect);
  void ResetScissor();
  TRect FullScreen() const { return mFullScreen; }
  // Whether pictures should come from their larger versions: the frame is drawn at least
  // kLargeSourceScale times the logical size.
  static constexpr float kLargeSourceScale = 1.25f;
  bool WantsLargeSources() const { return mWantsLargeSources; }
  // Target pixels per logical pixel: the frame's scale on the back buffer, 1 in textures.
  float PixelScale() const { return mPixelScale; }
  // The current viewport's drawing coordinates in target pixels.
  TPixelSpace PixelSpace() const;
  // A logical rectangle of the current target in its pixels (edges rounded).
  TRect ToTargetPixels(const TRect& rect) const;

  // --- frames
  bool BeginDraw(bool clear);
  bool EndDraw(bool present);
  bool InFrame() const { return mInFrame; }
  uint32_t FrameCount() const { return mFrameCount; }
  void SetVsync(bool on) { mVsync = on; }
  // Asked at presentation time; presenting is skipped while it answers true.
  void SetDrawingSuspendedQuery(std::function<bool()> query) { mSuspended = std::move(query); }

  // --- render targets: null draws into the back buffer again
  bool SetRenderTarget(TTextureData* target);
  TTextureData* RenderTarget() const { return mTarget; }
  void SetWindowScale(float scale) { mScale = scale > 0 ? scale : 1.0f; }
  bool RenderToTextureSupported() const { return mRenderToTexture; }

  // --- device loss, restore and video memory
  bool IsBroken() const { return mBroken; }
  uint32_t BrokenSince() const { return mBrokenTime; }
  void MarkBroken();
  // Clears the broken state (when the device is usable) and rebuilds video memory.
  bool Restore();
  // Rebuilds video memory (through the texture restorer when it answers that it did, else
  // every live texture) and tells the listeners (window manager state, full redraw). Does
  // nothing but log while the device is broken.
  void RestoreAssets();
  void AddRestoreListener(std::function<void()> listener);
  // Restores the textures after a change of display (the program hands in the asset
  // manager's RestoreAll); answers false when it could not, and the renderer then restores
  // every live texture itself.
  void SetTextureRestorer(std::function<bool()> restorer) {
    mTextureRestorer = std::move(restorer);
  }
  // Rises whenever textures may have been rebuilt (a new device, restored assets): whatever
  // copied pixels out of them copies again.
  uint32_t AssetGeneration() const { return mAssetGeneration; }
  void RegisterTexture(TTextureData* texture);
  void UnregisterTexture(TTextureData* texture);
  // Runs once per run on video-memory exhaustion: device broken, low-memory mode on, and
  // the persisted display setting written through the writer (by default
  // WriteLowMemoryDisplaySetting).
  void OnOutOfVideoMemory();
  bool LowVideoMemory() const { return mLowVideoMemory; }
  // Start-up: takes the low-video-memory mode from "common:display.xml" unless the program
  // runs in container mode.
  void LoadDisplaySettings(bool containerMode);
  void SetLowVideoMemory(bool on) { mLowVideoMemory = on; }
  void SetLowMemoryWriter(std::function<void()> writer) { mLowMemoryWriter = std::move(writer); }
  // Whether surfaces may be touched now (false without a device or while broken).
  bool SurfacesUsable() const { return mDevice && !mBroken; }

  // --- mouse cursor (shared with the heartbeat thread; guarded by a mutex)
  // The top-left 32 x 32 pixels of `argb` (row stride in pixels) with the hotspot.
  void SetCursorImage(const uint32_t* argb, int stride, int hotX, int hotY);
  // The cursor from the top-left 32 x 32 pixels of a texture's surface.
  bool SetCursorTexture(const TTextureData& texture, int hotX, int hotY);
  void ShowCursor(bool visible);
  bool CursorVisible() const;

  // --- display properties
  int ScreenWidth() const { return mDevice ? mDevice->Width() : 0; }
  int ScreenHeight() const { return mDevice ? mDevice->Height() : 0; }
  int ColorBits() const { return mLowVideoMemory ? 16 : 32; }
  TDeviceCaps Caps() const { return mDevice ? mDevice->Caps() : TDeviceCaps{}; }

  // --- diagnostic overlay and frame rate
  void ToggleOverlay() { mMeter.ToggleOverlay(); }
  const TFrameRate& FrameRate() const { return mMeter; }
  // Called at the end of every frame, outside any 2D or 3D batch and before presentation:
  // what is drawn above everything else (the diagnostic overlay).
  void AddFrameEndListener(std::function<void(TRenderer&)> listener);

  // Reads back the last drawn frame of the back buffer (ARGB, top row first) at its pixel
  // size.
  bool ReadFrame(std::vector<uint32_t>* pixels, int* width, int* height);

  // Device calls made by batches so far (for tests and benchmarks).
  int DrawCalls() const { return mBatch.DrawCalls(); }
  int64_t BatchedTriangles() const { return mBatch.Triangles(); }

 private:
  bool Submit(const char* caller, int primitive, const TVertexArray& vertices,
              const uint16_t* indices, int indexCount);
  TDrawState CurrentState(int kind);
  // Whether 2D vertices can be drawn in screen coordinates: plain 2D geometry (no world or
  // view matrix) lying inside the current device viewport, which then need not clip it.
  bool FitsDeviceViewport(const TVertexArray& vertices) const;
  // The projection of screen coordinates onto the whole target, and that target's pixels.
  const TMatrix4& ScreenProjection();
  TRect TargetRect() const;
  // Gives the device this viewport unless it has it already; false when it refuses it.
  bool UseDeviceRect(const TRect& rect);
  void ApplyViewport();
  // The device rectangle the viewport and scissor give.
  TRect DeviceViewport() const;
  // Follows the target's pixel scale (after a new frame or a change of target).
  void UsePixelScale(float scale);
  void HandleDrawResult(TDeviceResult result);

  TRenderDevice* mDevice = nullptr;
  TRenderBatch mBatch;
  int mBatchHolds = 0;
  uint32_t mAssetGeneration = 0;
  // The viewport the device was last given (unknown after it may have changed it itself).
  TRect mDeviceRect;
  bool mDeviceRectKnown = false;
  TMatrix4 mScreenProjection = TMatrix4::Identity();
  bool mScreenProjectionDirty = true;

  bool mIn2d = false;
  bool mIn3d = false;
  bool mInFrame = false;
  uint32_t mFrameCount = 0;
  bool mBroken = false;
  uint32_t mBrokenTime = 0;
  bool mLowVideoMemory = false;
  bool mOutOfVideoMemoryHandled = false;
  bool mRenderToTexture = true;
  bool mTargetAlphaFailureLogged = false;
  bool mVsync = true;
  float mScale = 1.0f;
  float mPixelScale = 1.0f;
  bool mWantsLargeSources = false;

  TRect mFullScreen;
  TRect mViewport;
  TRect mScissor;
  bool mHasScissor = false;
  bool mProjectionDirty = true;

  int mBlendMode = kBlendNormal;
  int mFilter = kFilterBilinear;
  int mAddressU = kAddressClamp;
  int mAddressV = kAddressClamp;
  int mCull = kCullNone;
  bool mFlatShading = false;
  bool mDepthTest = false;
  bool mDepthWrite = false;
  bool mDepthClip = false;
  uint32_t mAmbient = 0;
  TMaterial mMaterial;
  TMatrix4 mWorld = TMatrix4::Identity();
  TMatrix4 mView = TMatrix4::Identity();
  TMatrix4 mProjection = TMatrix4::Identity();
  TSurfaceId mTexture = 0;
  TTextureData* mTarget = nullptr;

  std::unordered_set<TTextureData*> mTextures;
  std::vector<std::function<void()>> mRestoreListeners;
  std::vector<std::function<void(TRenderer&)>> mFrameEndListeners;
  std::function<bool()> mTextureRestorer;
  std::function<void()> mLowMemoryWriter;
  std::function<bool()> mSuspended;
  TFrameRate mMeter;

  mutable std::mutex mCursorMutex;
  bool mCursorVisible = true;
};

// Holds the renderer's batches open for a scope (a window walk).
class TBatchHold {
 public:
  explicit TBatchHold(TRenderer* renderer) : mRenderer(renderer) {
    if (mRenderer) mRenderer->HoldBatches();
  }
  ~TBatchHold() {
    if (mRenderer) mRenderer->ReleaseBatches();
  }
  TBatchHold(const TBatchHold&) = delete;
  TBatchHold& operator=(const TBatchHold&) = delete;

 private:
  TRenderer* mRenderer;
};

// The renderer of the running program (null when none exists).
TRenderer* GetRenderer();
void SetRenderer(TRenderer* renderer);

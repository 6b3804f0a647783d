#include "gfx/renderer.h"

#include <cmath>
#include <cstring>

#include "frame/application_time.h"
#include "frame/log.h"
#include "gfx/display_settings.h"
#include "gfx/texture_data.h"

namespace {
TRenderer* gRenderer = nullptr;
constexpr int kCursorSize = 32;

// Begin2d and Begin3d nest in neither state; a refused call is logged.
bool MayBegin(const char* call, bool in2d, bool in3d) {
  if (!in2d && !in3d) return true;
  Log("%s called when already in %s state", call, in2d ? "Begin2d" : "Begin3d");
  return false;
}
}  // namespace

TRenderer* GetRenderer() {
  return gRenderer;
}
void SetRenderer(TRenderer* renderer) {
  gRenderer = renderer;
}

TRenderer::TRenderer(TRenderDevice* device)
    : mLowMemoryWriter([] { WriteLowMemoryDisplaySetting(); }) {
  SetDevice(device);
}

TRenderer::~TRenderer() {
  // Textures outliving the renderer must not call back into it.
  for (TTextureData* texture : mTextures) texture->DetachRenderer();
  if (gRenderer == this) gRenderer = nullptr;
}

void TRenderer::SetDevice(TRenderDevice* device) {
  mBatch.Clear();
  if (device != mDevice)
    for (TTextureData* texture : mTextures) texture->ForgetSurface();
  mDevice = device;
  mTarget = nullptr;
  mInFrame = false;
  mIn2d = mIn3d = false;
  mFullScreen = device ? TRect{0, 0, device->Width(), device->Height()} : TRect{};
  mViewport = mFullScreen;
  mHasScissor = false;
  mPixelScale = device ? device->FrameScale() : 1.0f;
  mWantsLargeSources = mPixelScale >= kLargeSourceScale;
  mProjectionDirty = true;
  mScreenProjectionDirty = true;
  ++mAssetGeneration;
  mDeviceRectKnown = false;
  if (mDevice) UseDeviceRect(DeviceViewport());
}

// ---------------------------------------------------------------- state machine

bool TRenderer::Begin2d() {
  if (!MayBegin("Begin2d", mIn2d, mIn3d)) return false;
  mIn2d = true;
  mDepthClip = false;
  mAddressU = mAddressV = kAddressClamp;
  mBlendMode = kBlendNormal;
  mFilter = kFilterBilinear;
  mDepthTest = mDepthWrite = false;
  mCull = kCullNone;
  mWorld = mView = TMatrix4::Identity();
  mProjectionDirty = true;
  return true;
}

bool TRenderer::End2d() {
  if (!mIn2d) {
    Log("End2d called when not in Begin2d state");
    return false;
  }
  if (mBatchHolds == 0) Flush();
  mIn2d = false;
  mWorld = mView = TMatrix4::Identity();
  return true;
}

bool TRenderer::Begin3d() {
  if (!MayBegin("Begin3d", mIn2d, mIn3d)) return false;
  mIn3d = true;
  mDepthClip = true;
  mDepthTest = mDepthWrite = true;
  mBlendMode = kBlendNormal;
  mFilter = kFilterBilinear;
  mAddressU = mAddressV = kAddressWrap;
  mCull = kCullCounterClockwise;
  return true;
}

bool TRenderer::End3d() {
  if (!mIn3d) {
    Log("End3d called when not in Begin3d state");
    return false;
  }
  Flush();
  mIn3d = false;
  return true;
}

void TRenderer::SetTextureAddress(int u, int v) {
  auto normalise = [](int mode) {
    return mode == kAddressWrap || mode == kAddressMirror ? mode : kAddressClamp;
  };
  mAddressU = normalise(u);
  mAddressV = normalise(v);
}

void TRenderer::SetPerspective(float zNear, float zFar, float fov, float aspect) {
  if (aspect == 0 && mViewport.Height() > 0)
    aspect = static_cast<float>(mViewport.Width()) / static_cast<float>(mViewport.Height());
  if (!(zFar > zNear) || !(fov > 0) || !(fov < 3.14159f)) return;
  mProjection = PerspectiveFovLH(fov, aspect, zNear, zFar);
}

TDrawState TRenderer::CurrentState(int kind) {
  TDrawState state;
  TDeviceCaps caps = mDevice->Caps();
  bool keepsAlpha =
      mTarget && caps.targetsKeepAlpha && mDevice->SurfaceHasAlpha(mTarget->Surface());
  state.texture = mTexture;
  state.blend = BlendFuncFor(mBlendMode, keepsAlpha, caps.subtractiveAddsInTargets);
  state.filter = mFilter;
  state.addressU = mAddressU;
  state.addressV = mAddressV;
  state.cull = mCull;
  state.depthTest = mDepthTest;
  state.depthWrite = mDepthWrite;
  state.depthClip = mDepthClip;
  state.lighting = kind == kVertexLit;
  state.flatShading = mFlatShading;
  state.ambient = mAmbient;
  state.material = mMaterial;
  if ((kind == kVertexColored || kind == kVertex2d) && mProjectionDirty) {
    // Logical coordinates relative to the viewport's top-left corner, mapped onto the device
    // viewport (the viewport clipped by the scissor, in target pixels): x lands on target
    // pixel (x + viewport left) * scale.
    const TRect device = DeviceViewport();
    const float scale = mPixelScale;
    float left = (static_cast<float>(device.left) + caps.pixelOffset) / scale -
                 static_cast<float>(mViewport.left);
    float top = (static_cast<float>(device.top) + caps.pixelOffset) / scale -
                static_cast<float>(mViewport.top);
    float right = left + static_cast<float>(std::max(device.Width(), 1)) / scale;
    float bottom = top + static_cast<float>(std::max(device.Height(), 1)) / scale;
    mProjection = OrthoOffCenterLH(left, right, bottom, top, kNearPlane, kFarPlane);
    mProjectionDirty = false;
  }
  state.world = mWorld;
  state.view = mView;
  state.projection = mProjection;
  return state;
}

bool TRenderer::DrawVertices(int primitive, const TVertexArray& vertices) {
  return Submit("DrawVertices", primitive, vertices, nullptr, 0);
}

bool TRenderer::DrawIndexedVertices(int primitive, const TVertexArray& vertices,
                                    const uint16_t* indices, int indexCount) {
  if (!indices || indexCount <= 0) {
    if (!mIn2d && !mIn3d) Log("DrawIndexedVertices called when not in Begin2d or Begin3d state");
    return false;
  }
  return Submit("DrawIndexedVertices", primitive, vertices, indices, indexCount);
}

bool TRenderer::Submit(const char* caller, int primitive, const TVertexArray& vertices,
                       const uint16_t* indices, int indexCount) {
  if (!mIn2d && !mIn3d) {
    Log("%s called when not in Begin2d or Begin3d state", caller);
    return false;
  }
  if (!mDevice || mBroken) return false;
  if (!vertices.vertices || vertices.count <= 0 || vertices.kind < kVertexLit ||
      vertices.kind > kVertexTransformed || primitive < kPointList || primitive > kTriangleFan)
    return false;
  if (indices) {
    for (int i = 0; i < indexCount; ++i)
      if (indices[i] >= vertices.count) return false;
  }
  TDrawState state = CurrentState(vertices.kind);
  if (TriangleCount(primitive, indices ? indexCount : vertices.count) > 0) {
    // Geometry the viewport need not clip goes to the batch in screen coordinates, drawn
    // over the whole target: it joins what other viewports drew before it.
    TRect deviceRect = DeviceViewport();
    float dx = 0, dy = 0;
    TDrawState batchState = state;
    if (FitsDeviceViewport(vertices)) {
      batchState.projection = ScreenProjection();
      deviceRect = TargetRect();
      dx = static_cast<float>(mViewport.left);
      dy = static_cast<float>(mViewport.top);
    }
    if (!mBatch.Accepts(batchState, vertices.kind, vertices.count, deviceRect)) {
      Flush();
      mBatch.Start(batchState, vertices.kind, deviceRect);
    }
    if (mBatch.Append(primitive, vertices.vertices, vertices.count, indices, indexCount, dx, dy))
      return true;
    mBatch.Clear();  // too large for one batch: draw it on its own
  } else {
    Flush();
  }
  UseDeviceRect(DeviceViewport());
  TDeviceResult result = mDevice->Draw(state, primitive, vertices.kind, vertices.vertices,
                                       vertices.count, indices, indices ? indexCount : 0);
  HandleDrawResult(result);
  return result == TDeviceResult::kOk;
}

void TRenderer::Flush() {
  if (!mDevice || mBroken) {
    mBatch.Clear();
    return;
  }
  if (mBatch.Empty()) return;
  if (!UseDeviceRect(mBatch.DeviceRect())) {
    Log("A batch's viewport %d, %d, %d, %d is refused", mBatch.DeviceRect().left,
        mBatch.DeviceRect().top, mBatch.DeviceRect().right, mBatch.DeviceRect().bottom);
    mBatch.Clear();
    return;
  }
  HandleDrawResult(mBatch.Flush(*mDevice));
}

void TRenderer::ReleaseBatches() {
  if (mBatchHolds == 0) return;
  if (--mBatchHolds == 0) Flush();
}

bool TRenderer::FitsDeviceViewport(const TVertexArray& vertices) const {
  if (!mIn2d || (vertices.kind != kVertex2d && vertices.kind != kVertexColored)) return false;
  static const TMatrix4 identity = TMatrix4::Identity();
  if (!(mWorld == identity) || !(mView == identity)) return false;
  // Target pixels of the vertices' bounds against the device viewport's pixels: geometry
  // strictly within half a pixel of them covers no pixel centre outside them (centres sit
  // at k + 0.5), so the viewport clips nothing. Half a pixel matters on an enlarged frame,
  // where a window's edges are rounded to whole target pixels.
  const TRect device = DeviceViewport();
  const float scale = mPixelScale, offset = Caps().pixelOffset;
  const float left = static_cast<float>(mViewport.left), top = static_cast<float>(mViewport.top);
  const float minX = static_cast<float>(device.left) - 0.5f;
  const float maxX = static_cast<float>(device.right) + 0.5f;
  const float minY = static_cast<float>(device.top) - 0.5f;
  const float maxY = static_cast<float>(device.bottom) + 0.5f;
  const auto* bytes = static_cast<const uint8_t*>(vertices.vertices);
  for (int i = 0; i < vertices.count; ++i) {
    float xy[2];
    std::memcpy(xy, bytes + static_cast<size_t>(i) * kVertexStride, sizeof xy);
    const float px = (xy[0] + left) * scale - offset, py = (xy[1] + top) * scale - offset;
    // Written so that NaN fails.
    if (!(px > minX && px < maxX && py > minY && py < maxY)) return false;
  }
  return true;
}

const TMatrix4& TRenderer::ScreenProjection() {
  if (mScreenProjectionDirty) {
    // As the viewport's projection with the viewport at the target's corner: screen x lands
    // on target pixel x * scale.
    const TRect target = TargetRect();
    const float scale = mPixelScale, offset = Caps().pixelOffset;
    const float left = offset / scale, top = offset / scale;
    const float right = left + static_cast<float>(std::max(target.Width(), 1)) / scale;
    const float bottom = top + static_cast<float>(std::max(target.Height(), 1)) / scale;
    mScreenProjection = OrthoOffCenterLH(left, right, bottom, top, kNearPlane, kFarPlane);
    mScreenProjectionDirty = false;
  }
  return mScreenProjection;
}

TRect TRenderer::TargetRect() const {
  if (mTarget) return TRect{0, 0, mTarget->SurfaceWidth(), mTarget->SurfaceHeight()};
  return mDevice ? TRect{0, 0, mDevice->FrameWidth(), mDevice->FrameHeight()} : TRect{};
}

bool TRenderer::UseDeviceRect(const TRect& rect) {
  if (!mDevice) return false;
  if (mDeviceRectKnown && rect == mDeviceRect) return true;
  mDeviceRectKnown = mDevice->SetViewport(rect);
  mDeviceRect = rect;
  return mDeviceRectKnown;
}

void TRenderer::HandleDrawResult(TDeviceResult result) {
  if (result == TDeviceResult::kOutOfVideoMemory) {
    Log("DrawVertices out of video memory");
    OnOutOfVideoMemory();
  } else if (result == TDeviceResult::kFailed) {
    MarkBroken();
  }
}

// ---------------------------------------------------------------- viewport

bool TRenderer::SetViewport(const TRect& rect) {
  TRect previous = mViewport;
  mViewport = rect;
  mProjectionDirty = true;
  if (!mDevice) return true;
  if (rect.right < rect.left || rect.bottom < rect.top || !UseDeviceRect(DeviceViewport())) {
    Log("Bad viewport: %d, %d, %d, %d", rect.left, rect.top, rect.right, rect.bottom);
    mViewport = previous;
    ApplyViewport();
    return false;
  }
  return true;
}

void TRenderer::ApplyViewport() {
  if (!mDevice) return;
  UseDeviceRect(DeviceViewport());
  mProjectionDirty = true;
}

TRect TRenderer::DeviceViewport() const {
  return ToTargetPixels(mHasScissor ? Intersect(mViewport, mScissor) : mViewport);
}

TRect TRenderer::ToTargetPixels(const TRect& rect) const {
  if (mPixelScale == 1.0f) return rect;
  const float s = mPixelScale;
  auto scaled = [s](int v) { return static_cast<int>(std::lround(static_cast<float>(v) * s)); };
  TRect pixels{scaled(rect.left), scaled(rect.top), scaled(rect.right), scaled(rect.bottom)};
  // The screen's right and bottom edges are the frame's, whatever the rounding gave.
  if (!mTarget && mDevice) {
    if (rect.right == mFullScreen.right) pixels.right = mDevice->FrameWidth();
    if (rect.bottom == mFullScreen.bottom) pixels.bottom = mDevice->FrameHeight();
  }
  return pixels;
}

TPixelSpace TRenderer::PixelSpace() const {
  TPixelSpace space;
  space.scale = mPixelScale;
  if (mPixelScale == 1.0f) return space;
  // Counted from the target pixel nearest the viewport's corner, so whole pixels of this
  // space are whole pixels of the target.
  const float left = static_cast<float>(mViewport.left) * mPixelScale;
  const float top = static_cast<float>(mViewport.top) * mPixelScale;
  space.dx = left - std::round(left);
  space.dy = top - std::round(top);
  return space;
}

void TRenderer::UsePixelScale(float scale) {
  mScreenProjectionDirty = true;
  if (scale == mPixelScale) return;
  mPixelScale = scale;
  mProjectionDirty = true;
}

void TRenderer::SetScissor(const TRect& rect) {
  mScissor = rect;
  mHasScissor = true;
  ApplyViewport();
}

void TRenderer::ResetScissor() {
  mHasScissor = false;
  ApplyViewport();
}

// ---------------------------------------------------------------- frames

bool TRenderer::BeginDraw(bool clear) {
  if (!mDevice || mBroken) return false;
  if (mInFrame) return true;
  Flush();
  if (!mDevice->BeginFrame()) return false;  // the previous frame is still being shown
  // The device may have resized the back buffer and re-set its viewport.
  mDeviceRectKnown = false;
  mScreenProjectionDirty = true;
  // A frame that now is (or no longer is) much larger than the logical screen takes its
  // pictures from their larger versions (or the normal ones) from here on.
  if ((mDevice->FrameScale() >= kLargeSourceScale) != mWantsLargeSources) {
    mWantsLargeSources = !mWantsLargeSources;
    RestoreAssets();
  }
  ++mFrameCount;
  TRect previous = mViewport;
  bool scissor = mHasScissor;
  mHasScissor = false;
  mDevice->SetRenderTarget(kBackBuffer);
  mTarget = nullptr;
  UsePixelScale(mDevice->FrameScale());
  mViewport = mFullScreen;
  ApplyViewport();
  mDevice->ClearDepth(1.0f);
  // The window tree redraws what changed, so the colour buffer is only cleared on request.
  if (clear) mDevice->ClearColor(0xFF000000u);
  mViewport = previous;
  mHasScissor = scissor;
  ApplyViewport();
  mInFrame = true;
  return true;
}

bool TRenderer::EndDraw(bool present) {
  if (!mInFrame) return false;
  mMeter.FrameEnd(ApplicationTime());
  for (auto& listener : mFrameEndListeners) listener(*this);
  Flush();
  mInFrame = false;
  if (!present || (mSuspended && mSuspended())) return true;
  TDeviceResult result = mDevice->Present(mVsync);
  if (result == TDeviceResult::kOk) return true;
  Log("TPlatform::EndDraw: Unexpected error (see above) on UpdateFrame or EndScene");
  if (result == TDeviceResult::kOutOfVideoMemory)
    OnOutOfVideoMemory();
  else
    MarkBroken();
  return false;
}

bool TRenderer::ReadFrame(std::vector<uint32_t>* pixels, int* width, int* height) {
  if (!mDevice || !pixels) return false;
  Flush();
  int w = mDevice->FrameWidth(), h = mDevice->FrameHeight();
  pixels->assign(static_cast<size_t>(w) * h, 0);
  if (!mDevice->ReadPixels(kBackBuffer, TRect{0, 0, w, h}, pixels->data())) return false;
  if (width) *width = w;
  if (height) *height = h;
  return true;
}

// ---------------------------------------------------------------- render targets

bool TRenderer::SetRenderTarget(TTextureData* target) {
  Flush();
  if (!mDevice) return false;
  if (!target) {
    mDevice->SetRenderTarget(kBackBuffer);
    mTarget = nullptr;
    mDeviceRectKnown = false;
    UsePixelScale(mDevice->FrameScale());
    mHasScissor = false;
    mViewport = mFullScreen;
    ApplyViewport();
    return true;
  }
  if (!mRenderToTexture || target->Surface() == 0) return false;
  if (!(target->Flags() & TTextureData::kRenderTarget) ||
      !mDevice->SetRenderTarget(target->Surface())) {
    if (ColorBits() == 16) {
      Log("Failed to SetRenderTarget with bit depth 16");
      mRenderToTexture = false;
      MarkBroken();
    } else if (target->Flags() & TTextureData::kHasAlpha) {
      if (!mTargetAlphaFailureLogged)
        Log("Failed to SetRenderTarget with alpha bit depth %d", ColorBits());
      mTargetAlphaFailureLogged = true;
    }
    return false;
  }
  mTarget = target;
  mHasScissor = false;
  mDeviceRectKnown = false;
  UsePixelScale(1.0f);
  TRect rect{0, 0, static_cast<int>(std::lround(target->SurfaceWidth() / mScale)),
             static_cast<int>(std::lround(target->SurfaceHeight() / mScale))};
  mViewport = rect;
  mProjectionDirty = true;
  if (!UseDeviceRect(rect)) {
    Log("Bad viewport in switching render target!");
    mViewport = TRect{0, 0, target->SurfaceWidth(), target->SurfaceHeight()};
    ApplyViewport();
  }
  return true;
}

// ---------------------------------------------------------------- loss and restore

void TRenderer::MarkBroken() {
  if (!mBroken) mBrokenTime = ApplicationTime();
  mBroken = true;
  mBatch.Clear();
}

bool TRenderer::Restore() {
  if (!mDevice) return false;
  mBroken = false;
  RestoreAssets();
  return !mBroken;
}

void TRenderer::RestoreAssets() {
  if (mBroken || !mDevice) {
    Log("RestoreAssets: DX broken");
    return;
  }
  Flush();
  ++mAssetGeneration;
  if (!mTextureRestorer || !mTextureRestorer()) {
    // Restoring may register or drop textures; walk a copy.
    std::vector<TTextureData*> textures(mTextures.begin(), mTextures.end());
    for (TTextureData* texture : textures)
      if (mTextures.count(texture)) texture->Restore();
  }
  for (auto& listener : mRestoreListeners) listener();
}

void TRenderer::AddRestoreListener(std::function<void()> listener) {
  mRestoreListeners.push_back(std::move(listener));
}

void TRenderer::AddFrameEndListener(std::function<void(TRenderer&)> listener) {
  mFrameEndListeners.push_back(std::move(listener));
}

void TRenderer::RegisterTexture(TTextureData* texture) {
  mTextures.insert(texture);
}
void TRenderer::UnregisterTexture(TTextureData* texture) {
  mTextures.erase(texture);
  if (mTarget == texture) SetRenderTarget(nullptr);
}

void TRenderer::LoadDisplaySettings(bool containerMode) {
  if (!containerMode && ReadLowMemoryDisplaySetting()) mLowVideoMemory = true;
}

void TRenderer::OnOutOfVideoMemory() {
  if (mOutOfVideoMemoryHandled) return;
  mOutOfVideoMemoryHandled = true;
  Log("OutOfVideoMemory triggered!");
  MarkBroken();
  mLowVideoMemory = true;
  if (mLowMemoryWriter) mLowMemoryWriter();
}

// ---------------------------------------------------------------- cursor

void TRenderer::SetCursorImage(const uint32_t* argb, int stride, int hotX, int hotY) {
  if (!argb || stride < kCursorSize) return;
  std::vector<uint32_t> image(kCursorSize * kCursorSize);
  for (int y = 0; y < kCursorSize; ++y)
    for (int x = 0; x < kCursorSize; ++x) image[y * kCursorSize + x] = argb[y * stride + x];
  std::lock_guard<std::mutex> lock(mCursorMutex);
  if (mDevice) mDevice->SetCursorImage(image.data(), hotX, hotY);
}

bool TRenderer::SetCursorTexture(const TTextureData& texture, int hotX, int hotY) {
  // The top-left 32 x 32 drawing units: more surface pixels for a larger source, taken
  // down to 32 x 32 by point sampling.
  const int width = static_cast<int>(std::lround(kCursorSize * texture.SourceScaleX()));
  const int height = static_cast<int>(std::lround(kCursorSize * texture.SourceScaleY()));
  if (!mDevice || texture.Surface() == 0 || texture.SurfaceWidth() < width ||
      texture.SurfaceHeight() < height || width < kCursorSize || height < kCursorSize)
    return false;
  Flush();
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  if (!mDevice->ReadPixels(texture.Surface(), TRect{0, 0, width, height}, pixels.data()))
    return false;
  std::vector<uint32_t> cursor(kCursorSize * kCursorSize);
  for (int y = 0; y < kCursorSize; ++y)
    for (int x = 0; x < kCursorSize; ++x)
      cursor[y * kCursorSize + x] =
          pixels[static_cast<size_t>(y * height / kCursorSize) * width + x * width / kCursorSize];
  SetCursorImage(cursor.data(), kCursorSize, hotX, hotY);
  return true;
}

void TRenderer::ShowCursor(bool visible) {
  std::lock_guard<std::mutex> lock(mCursorMutex);
  mCursorVisible = visible;
  if (mDevice) mDevice->ShowCursor(visible);
}

bool TRenderer::CursorVisible() const {
  std::lock_guard<std::mutex> lock(mCursorMutex);
  return mCursorVisible;
}

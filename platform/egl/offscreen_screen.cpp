#include "platform/egl/offscreen_screen.h"

#include "platform/egl/egl_context.h"
#include "platform/gl/gl_device.h"

std::unique_ptr<TOffscreenScreen> TOffscreenScreen::Create(int width, int height) {
  std::unique_ptr<TOffscreenScreen> screen(new TOffscreenScreen);
  screen->mContext = TEglContext::Create();
  if (!screen->mContext) return nullptr;
  screen->mDevice = TGlDevice::Create(width, height, nullptr);
  if (!screen->mDevice) return nullptr;
  screen->mRenderer = std::make_unique<TRenderer>(screen->mDevice.get());
  screen->mPrevious = GetRenderer();
  SetRenderer(screen->mRenderer.get());
  return screen;
}

TOffscreenScreen::~TOffscreenScreen() {
  if (mContext) mContext->MakeCurrent();
  if (mRenderer && GetRenderer() == mRenderer.get()) SetRenderer(mPrevious);
  mRenderer.reset();
  mDevice.reset();
  mContext.reset();
}

void TOffscreenScreen::SetOutputSize(int outputWidth, int outputHeight) {
  if (outputWidth <= 0 || outputHeight <= 0) {
    mDevice->SetOutputSize({});
    return;
  }
  mDevice->SetOutputSize([outputWidth, outputHeight](int* width, int* height) {
    *width = outputWidth;
    *height = outputHeight;
  });
}

int TOffscreenScreen::Width() const {
  return mDevice->Width();
}
int TOffscreenScreen::Height() const {
  return mDevice->Height();
}

bool TOffscreenScreen::ReadFrame(TPixelImage* out) {
  if (!out) return false;
  *out = TPixelImage{};
  if (!mRenderer->ReadFrame(&out->pixels, &out->width, &out->height)) return false;
  out->hasAlpha = false;
  return true;
}

bool TOffscreenScreen::SavePng(const std::string& path) {
  TPixelImage frame;
  return ReadFrame(&frame) && WritePngFile(path, frame);
}

bool TOffscreenScreen::ReadPresented(int outputWidth, int outputHeight, TPixelImage* out) {
  if (!out) return false;
  *out = TPixelImage{};
  if (!mDevice->ReadPresented(outputWidth, outputHeight, &out->pixels)) {
    out->pixels.clear();
    return false;
  }
  out->width = outputWidth;
  out->height = outputHeight;
  out->hasAlpha = false;
  return true;
}

#include "frame/application.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "frame/application_time.h"
#include "frame/log.h"
#include "frame/web_address.h"

namespace {
TApplication* gApplication = nullptr;

// Clocks and timed tasks follow the application's time (with its offset) while it exists.
uint32_t ApplicationObjectTime() {
  return gApplication->GetTime();
}
}  // namespace

TApplication* TApplication::Get() {
  return gApplication;
}

TApplication::TApplication(std::unique_ptr<TApplicationData> data, TPlatform& platform,
                           TFrameServices services)
    : mData(std::move(data)), mPlatform(platform), mServices(std::move(services)) {
  gApplication = this;
  mPreviousTimeSource = SetApplicationTimeSource(&ApplicationObjectTime);
  // The generator's key: four words r2 * (r1 * 8) + (r3 >> 3) from successive rand() calls,
  // so the sequence follows the C library's seed that EngineMain set.
  uint32_t key[4];
  for (uint32_t& word : key) {
    const uint32_t r1 = static_cast<uint32_t>(std::rand());
    const uint32_t r2 = static_cast<uint32_t>(std::rand());
    const uint32_t r3 = static_cast<uint32_t>(std::rand());
    word = r2 * (r1 * 8u) + (r3 >> 3);
  }
  mData->random.SeedByArray(key);
}

TApplication::~TApplication() {
  mHeartbeat.SetLinks(nullptr, nullptr);
  mTasks.Clear();
  if (gApplication == this) {
    SetApplicationTimeSource(mPreviousTimeSource);
    gApplication = nullptr;
  }
}

void TApplication::SetWindowManager(std::unique_ptr<TWindowManagerLink> windowManager) {
  mData->windowManager = std::move(windowManager);
  mHeartbeat.SetLinks(mData->renderer.get(), mData->windowManager.get());
}

void TApplication::SetRenderer(std::unique_ptr<TRenderLink> renderer) {
  mData->renderer = std::move(renderer);
  mHeartbeat.SetLinks(mData->renderer.get(), mData->windowManager.get());
}

bool TApplication::InitSound() {
  if (!mData->soundManager && mServices.createSound) {
    mData->soundManager = mServices.createSound(*this);
  }
  return mData->soundManager && mData->soundManager->Init();
}

void TApplication::DestroyWindowManager() {
  mHeartbeat.SetLinks(mData->renderer.get(), nullptr);
  mData->windowManager.reset();
}

void TApplication::DestroySound() {
  mData->soundManager.reset();
}

void TApplication::DestroyRenderer() {
  mHeartbeat.SetLinks(nullptr, mData->windowManager.get());
  mData->cursorImage.reset();  // a picture belongs to the renderer it was made for
  mData->renderer.reset();
}

uint32_t TApplication::GetTime() const {
  return DriverTime() - (mData->hostLink ? mData->hostLink->TimePaused() : 0u);
}

uint32_t TApplication::DriverTime() const {
  return mPlatform.TickMs() + static_cast<uint32_t>(mData->timeOffset) - mData->startTime;
}

void TApplication::StoreSetting(const std::string& key, const std::string& value) {
  if (mServices.storeSetting) {
    mServices.storeSetting(key, value);
  } else {
    Log("Setting %s = %s (no settings store)", key.c_str(), value.c_str());
  }
}

std::string TApplication::ReadSetting(const std::string& key) const {
  return mServices.readSetting ? mServices.readSetting(key) : std::string();
}

std::string TApplication::LookupString(const std::string& label) const {
  return mServices.lookupString ? mServices.lookupString(label) : label;
}

void TApplication::PostQuit(int) {
  mPlatform.PostQuit();
}

void TApplication::SetMouseMode(int mode, TPoint anchor) {
  mData->mouseMode = mode == 1 ? 1 : 0;
  mData->mouseAnchor = anchor;
  mData->lastMouse = anchor;
  if (mData->mouseMode == 1) mPlatform.WarpPointer(anchor.x, anchor.y);
}

void TApplication::SetCursorVisible(bool visible) {
  if (visible == mData->cursorVisible) return;
  mData->cursorVisible = visible;
  mPlatform.ShowCursor(visible);
  // A picture chosen while the cursor was hidden was only remembered: show that one.
  if (visible && mData->renderer) {
    mData->renderer->SetCursorImage(mData->cursorImage, mData->cursorHotspot.x,
                                    mData->cursorHotspot.y);
  }
}

void TApplication::SetCursorImage(std::shared_ptr<TTexture> image, int hotspotX, int hotspotY,
                                  bool temporary) {
  if (!temporary) {
    mData->cursorImage = image;
    mData->cursorHotspot = TPoint{hotspotX, hotspotY};
    if (!mData->cursorVisible) return;
  }
  if (mData->renderer) mData->renderer->SetCursorImage(image, hotspotX, hotspotY);
}

bool TApplication::OpenURL(const std::string& target) {
  if (!IsWebAddress(target)) {
    Log("Not opening \"%s\": only http and https addresses are opened", target.c_str());
    return false;
  }
  TApplicationData& d = *mData;
  // A page shown full screen by its container would cover the browser window that is about
  // to show the address.
  if (d.containerMode && d.fullscreenRequested && d.mExternalWindowParent) {
    mPlatform.MinimizeTopLevel(d.mExternalWindowParent);
  }
  // Embedded, the page's own browser program shows it when the host named one.
  const std::string program = d.embedded ? d.hostProgram : std::string();
  if (mPlatform.OpenUrl(target, program)) return true;
  Log("Cannot open %s%s%s", target.c_str(), program.empty() ? "" : " with ", program.c_str());
  return false;
}

void TApplication::StartHoverTracking() {
  mData->hoverTracking = true;
  mPlatform.StartHoverTracking();
}

void TApplication::SetActive(bool on) {
  if (on == mData->active) return;
  if (mData->soundManager) mData->soundManager->Enable(on);
  // Toggled rather than set: two changes before the pump looks cancel out.
  mData->activeChanged = !mData->activeChanged;
  mData->active = on;
}

void TApplication::SetAppActive(bool on) {
  if (on == mData->appActive) return;
  SetActive(on);
  mData->appActive = on;
  mData->appActiveChanged = true;
  if (mData->soundManager) mData->soundManager->Enable(on);
  if (on) {
    mData->minimized = false;
  } else if (mPlatform.IsFullscreenMode()) {
    mData->minimized = true;
  }
}

void TApplication::SetFrameOutput(const std::string& folder, bool onlyMarked) {
  mFrameFolder = folder;
  mFramesOnlyMarked = onlyMarked;
  if (folder.empty()) return;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) Log("Cannot create the frame folder %s: %s", folder.c_str(), error.message().c_str());
  if (!mData->renderer) Log("Frames are not written: no renderer draws frames yet");
}

bool TApplication::WritesFrames() const {
  return !mFrameFolder.empty() && mData->renderer;
}

void TApplication::OnFrameDrawn() {
  if (mFrameFolder.empty()) return;
  if (mFramesOnlyMarked && !mFrameMarkPending) return;
  WriteFrame(mFrameMarkPending);
  mFrameMarkPending = false;
}

void TApplication::WriteFrame(bool marked) {
  if (!mData->renderer) return;
  char name[32];
  std::snprintf(name, sizeof name, "/frame_%06u.png", mFrameNumber++);
  const std::string path = mFrameFolder + name;
  if (!mData->renderer->WriteFramePng(path))
    Log("Cannot write frame %s", path.c_str());
  else if (marked)
    Log("Wrote marked frame %s", path.c_str());
}

#include "platform/backend/render_link.h"

#include "frame/log.h"
#include "gfx/renderer.h"
#include "gfx/system_cursor.h"
#include "gfx/texture.h"
#include "platform/egl/offscreen_screen.h"
#include "platform/gl/gl_device.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl_gl/sdl_gl_screen.h"

namespace {

template <typename TScreen>
class TScreenRenderLink : public TRenderLink {
 public:
  explicit TScreenRenderLink(std::unique_ptr<TScreen> screen) : mScreen(std::move(screen)) {}

  bool IsDisplayValid() const override { return !mScreen->Renderer().IsBroken(); }
  void RestoreDisplay() override {
    if (!mScreen->Renderer().Restore()) Log("The display could not be restored yet");
  }
  void OnInactive() override {}
  void ToggleOverlay() override { mScreen->Renderer().ToggleOverlay(); }
  // The GL cursor is SDL's colour cursor, which the system moves by itself.
  int RefreshCursor() override { return 0; }
  bool WriteFramePng(const std::string& path) override;
  void SetCursorImage(const std::shared_ptr<TTexture>& image, int hotX, int hotY) override {
    const TTexture* picture = image ? image.get() : BuiltinCursor();
    if (!picture || !picture->Data() ||
        !mScreen->Renderer().SetCursorTexture(*picture->Data(), hotX, hotY)) {
      Log("The cursor picture could not be used");
    }
  }
  TRenderer* Renderer() override { return &mScreen->Renderer(); }

 private:
  const TTexture* BuiltinCursor() {
    if (!mBuiltinCursor) mBuiltinCursor = GetTexture(kSystemCursorName, 0);
    return mBuiltinCursor.get();
  }

  std::unique_ptr<TScreen> mScreen;
  // Declared after the screen so that it goes before the renderer it was made for.
  std::shared_ptr<TTexture> mBuiltinCursor;
};

template <>
bool TScreenRenderLink<TOffscreenScreen>::WriteFramePng(const std::string& path) {
  return mScreen->SavePng(path);
}

template <>
bool TScreenRenderLink<TSdlGlScreen>::WriteFramePng(const std::string&) {
  return false;  // frames are written by the headless backend's offscreen screen
}

}  // namespace

std::unique_ptr<TRenderLink> CreateRenderLink(TPlatform& platform, int width, int height,
                                              bool embedded) {
  if (platform.IsHeadless()) {
    auto screen = TOffscreenScreen::Create(width, height);
    if (!screen) return nullptr;
    // Frames are drawn for the display the headless window pretends to have: the logical
    // size in a window, the desktop's fitted rectangle in full screen.
    screen->Device().SetOutputSize([&platform](int* outputWidth, int* outputHeight) {
      platform.DrawableSize(*outputWidth, *outputHeight);
    });
    return std::make_unique<TScreenRenderLink<TOffscreenScreen>>(std::move(screen));
  }
  auto* sdl = dynamic_cast<TSdlPlatform*>(&platform);
  if (!sdl || !sdl->Window()) return nullptr;
  // The device draws width x height frames and scales them to whatever the window's
  // drawable is at each presentation (full screen, a host's size, later changes). A
  // stand-alone window still at its first, smaller size is given the frame's size so the
  // picture starts unscaled; embedded windows keep the host's size.
  int clientWidth = 0, clientHeight = 0;
  platform.ClientSize(clientWidth, clientHeight);
  if (!embedded && !platform.IsFullscreenMode() && clientWidth < width && clientHeight < height) {
    platform.SetClientSize(width, height);
  }
  auto screen = TSdlGlScreen::Create(sdl->Window(), width, height);
  if (!screen) return nullptr;
  // One colour cursor: the renderer's cursor picture becomes the window's, which the
  // platform shows at the display's pixel scale.
  screen->Device().SetCursorHandlers(
      [sdl](const uint32_t* argb, int hotX, int hotY) {
        sdl->SetCursorImage(argb, 32, 32, hotX, hotY);
      },
      [sdl](bool visible) { sdl->ShowCursor(visible); });
  return std::make_unique<TScreenRenderLink<TSdlGlScreen>>(std::move(screen));
}

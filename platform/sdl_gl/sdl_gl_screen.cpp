#include "platform/sdl_gl/sdl_gl_screen.h"

#include <SDL2/SDL.h>

#include <memory>
#include <vector>

#include "frame/log.h"
#include "gfx/renderer.h"
#include "platform/gl/gl_device.h"

namespace {

int gSwapInterval = -2;  // unknown

void Swap(SDL_Window* window, bool vsync) {
  // Full screen always waits for the vertical blank: frames are paced at the display's rate
  // (60 Hz on most) and never tear; windows follow the "vsync" setting.
  const bool fullscreen = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN;
  int interval = vsync || fullscreen ? 1 : 0;
  if (interval != gSwapInterval) {
    SDL_GL_SetSwapInterval(interval);
    gSwapInterval = interval;
  }
  SDL_GL_SwapWindow(window);
}

}  // namespace

std::unique_ptr<TSdlGlScreen> TSdlGlScreen::Create(SDL_Window* window, int width, int height) {
  if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) {
    Log("The window has no OpenGL support");
    return nullptr;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) {
    Log("No OpenGL 3.3 core context for the window: %s", SDL_GetError());
    return nullptr;
  }
  std::unique_ptr<TSdlGlScreen> screen(new TSdlGlScreen);
  screen->mWindow = window;
  screen->mContext = context;
  gSwapInterval = -2;
  screen->mDevice = TGlDevice::Create(
      width, height, [window](bool vsync) { Swap(window, vsync); },
      [window](int* drawableWidth, int* drawableHeight) {
        SDL_GL_GetDrawableSize(window, drawableWidth, drawableHeight);
      });
  if (!screen->mDevice) return nullptr;
  screen->mRenderer = std::make_unique<TRenderer>(screen->mDevice.get());
  screen->mPrevious = GetRenderer();
  SetRenderer(screen->mRenderer.get());
  return screen;
}

std::unique_ptr<TSdlGlScreen> TSdlGlScreen::CreateWindow(const char* title, int width, int height,
                                                         bool hidden) {
  if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    Log("SDL video cannot start: %s", SDL_GetError());
    return nullptr;
  }
  // The context attributes must be set before the window is created.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  Uint32 flags = SDL_WINDOW_OPENGL | (hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN);
  SDL_Window* window = SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, width, height, flags);
  if (!window) {
    Log("SDL cannot create a window: %s", SDL_GetError());
    return nullptr;
  }
  std::unique_ptr<TSdlGlScreen> screen = Create(window, width, height);
  if (!screen) {
    SDL_DestroyWindow(window);
    return nullptr;
  }
  screen->mOwnsWindow = true;
  return screen;
}

TSdlGlScreen::~TSdlGlScreen() {
  if (mContext) SDL_GL_MakeCurrent(mWindow, static_cast<SDL_GLContext>(mContext));
  if (mRenderer && GetRenderer() == mRenderer.get()) SetRenderer(mPrevious);
  mRenderer.reset();
  mDevice.reset();
  if (mContext) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
  if (mOwnsWindow) SDL_DestroyWindow(mWindow);
}

bool TSdlGlScreen::ReadWindow(TPixelImage* out) {
  if (!out) return false;
  *out = TPixelImage{};
  if (!mDevice->ReadWindow(&out->pixels, &out->width, &out->height)) {
    *out = TPixelImage{};
    return false;
  }
  return true;
}

void TSdlGlScreen::ResizeWindow(int width, int height) {
  if (width > 0 && height > 0) SDL_SetWindowSize(mWindow, width, height);
}

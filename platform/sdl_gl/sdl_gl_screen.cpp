#include "platform/sdl_gl/sdl_gl_screen.h"

#include <SDL2/SDL.h>

#include <memory>
#include <vector>

#include "frame/log.h"
#include "gfx/renderer.h"
#include "platform/gl/gl_device.h"
#include "platform/sdl_gl/swap_interval.h"

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
  screen->mSwapInterval = std::make_unique<TSwapInterval>(
      [](int interval, std::string& reason) {
        if (SDL_GL_SetSwapInterval(interval) == 0) return true;
        reason = SDL_GetError();
        return false;
      },
      [] { return SDL_GL_GetSwapInterval(); });
  TSwapInterval* swapInterval = screen->mSwapInterval.get();
  screen->mDevice = TGlDevice::Create(
      width, height,
      [window, swapInterval](bool vsync) {
        swapInterval->Apply(vsync, SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
        SDL_GL_SwapWindow(window);
      },
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

bool TSdlGlScreen::SetFullscreen(bool on) {
  if (SDL_SetWindowFullscreen(mWindow, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) == 0) return true;
  Log("The window cannot %s full screen: %s", on ? "go" : "leave", SDL_GetError());
  return false;
}

int TSdlGlScreen::ReportedSwapInterval() const {
  return SDL_GL_GetSwapInterval();
}

bool TSdlGlScreen::SwapIntervalRefused() const {
  return mSwapInterval->Refused();
}

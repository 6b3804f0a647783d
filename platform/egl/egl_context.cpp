#include "platform/egl/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "frame/log.h"

namespace {

EGLDisplay OpenDisplay() {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  EGLDisplay display = EGL_NO_DISPLAY;
  // Surfaceless needs neither a window system nor a GPU device node.
  if (getPlatformDisplay)
    display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY) display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
  return display;
}

}  // namespace

std::unique_ptr<TEglContext> TEglContext::Create() {
  EGLDisplay display = OpenDisplay();
  EGLint major = 0, minor = 0;
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
    Log("EGL: no display could be initialised (error 0x%x)", eglGetError());
    return nullptr;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    Log("EGL: OpenGL is not available (error 0x%x)", eglGetError());
    eglTerminate(display);
    return nullptr;
  }
  const EGLint configAttributes[] = {EGL_RED_SIZE,
                                     8,
                                     EGL_GREEN_SIZE,
                                     8,
                                     EGL_BLUE_SIZE,
                                     8,
                                     EGL_ALPHA_SIZE,
                                     8,
                                     EGL_RENDERABLE_TYPE,
                                     EGL_OPENGL_BIT,
                                     EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  eglChooseConfig(display, configAttributes, &config, 1, &count);
  const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                      3,
                                      EGL_CONTEXT_MINOR_VERSION,
                                      3,
                                      EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                      EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                      EGL_NONE};
  EGLContext context = eglCreateContext(display, count > 0 ? config : EGL_NO_CONFIG_KHR,
                                        EGL_NO_CONTEXT, contextAttributes);
  if (context == EGL_NO_CONTEXT) {
    Log("EGL: no OpenGL 3.3 core context (error 0x%x)", eglGetError());
    eglTerminate(display);
    return nullptr;
  }
  std::unique_ptr<TEglContext> result(new TEglContext);
  result->mDisplay = display;
  result->mContext = context;
  if (!result->MakeCurrent()) {
    Log("EGL: the context cannot be made current (error 0x%x)", eglGetError());
    return nullptr;
  }
  return result;
}

bool TEglContext::MakeCurrent() {
  return eglMakeCurrent(static_cast<EGLDisplay>(mDisplay), EGL_NO_SURFACE, EGL_NO_SURFACE,
                        static_cast<EGLContext>(mContext)) == EGL_TRUE;
}

TEglContext::~TEglContext() {
  EGLDisplay display = static_cast<EGLDisplay>(mDisplay);
  eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (mContext) eglDestroyContext(display, static_cast<EGLContext>(mContext));
  eglReleaseThread();
  // The display stays initialised: Mesa tears it down at exit, and terminating it here
  // would invalidate contexts of other offscreen screens that may still live.
}

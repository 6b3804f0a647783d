// The renderer behind the frame's render link: OpenGL in the SDL window, or an EGL
// offscreen screen for the headless backend (which can write its frames as PNG files).
#pragma once

#include <memory>

#include "frame/frame_links.h"
#include "frame/platform.h"

// Null when no GL context can be made (the reason is logged); the program then runs on.
std::unique_ptr<TRenderLink> CreateRenderLink(TPlatform& platform, int width, int height,
                                              bool embedded);

// A headless OpenGL 3.3 core context through EGL (Mesa's surfaceless platform, software
// rendering with llvmpipe when there is no GPU). Nothing is shown; frames are drawn into
// the GL device's internal framebuffer.
#pragma once

#include <memory>

class TEglContext {
 public:
  // Null (and a log line) when EGL or a GL 3.3 core context is not available.
  static std::unique_ptr<TEglContext> Create();
  ~TEglContext();
  TEglContext(const TEglContext&) = delete;
  TEglContext& operator=(const TEglContext&) = delete;

  // Makes the context current on the calling thread.
  bool MakeCurrent();

 private:
  TEglContext() = default;
  void* mDisplay = nullptr;
  void* mContext = nullptr;
};

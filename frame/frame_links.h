// The pieces that hang off the application frame but are built elsewhere: the window
// manager, the sound manager, the render interface and the settings/string stores. The
// frame talks to them only through these small interfaces; each piece plugs in an adapter
// through TFrameServices when EngineMain starts.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "frame/event.h"

class TApplication;
class TRenderer;
class TTexture;
struct TApplicationData;

class TWindowManagerLink {
 public:
  virtual ~TWindowManagerLink() = default;
  // Every event except quit and focus changes goes here (drawing, routing, messages).
  virtual void HandleEvent(const TEvent& event) = 0;
  virtual bool IsSuspended() const = 0;
  virtual bool BlocksMouseInput() const = 0;
  virtual void RequestRedraw() = 0;
  // Focus changes pause (false) and resume (true) the top modal window's clock.
  virtual void SetTopModalClockRunning(bool running) = 0;
};

class TSoundLink {
 public:
  virtual ~TSoundLink() = default;
  virtual bool Init() = 0;
  // Sound is disabled while the application is inactive or minimised.
  virtual void Enable(bool on) = 0;
  // Per-frame work of the sound manager, once per idle pass.
  virtual void Update() = 0;
};

class TRenderLink {
 public:
  virtual ~TRenderLink() = default;
  virtual bool IsDisplayValid() const = 0;
  virtual void RestoreDisplay() = 0;
  virtual void OnInactive() = 0;
  virtual void ToggleOverlay() = 0;
  // Called from the heartbeat thread: redraw the cursor where the pointer is. Returns the
  // pointer's x, or -1 when it is outside the window. The renderer guards this itself.
  virtual int RefreshCursor() = 0;
  // Writes the current frame as a PNG; false when there is none or writing failed.
  virtual bool WriteFramePng(const std::string& path) = 0;
  // The mouse cursor: the picture's top-left 32 x 32 pixels with the hotspot at (hotX, hotY);
  // a null picture gives the built-in arrow.
  virtual void SetCursorImage(const std::shared_ptr<TTexture>& /*image*/, int /*hotX*/,
                              int /*hotY*/) {}
  // The render interface itself (drawing code above the frame uses it); may be null.
  virtual TRenderer* Renderer() { return nullptr; }
};

// Factories and stores the program hands to EngineMain. Every member may be left empty:
// the frame then runs without that piece (a missing settings store drops settings after
// logging them, a missing string table leaves labels as they are).
struct TFrameServices {
  std::function<std::unique_ptr<TWindowManagerLink>(TApplication&)> createWindowManager;
  std::function<std::unique_ptr<TSoundLink>(TApplication&)> createSound;
  std::function<std::unique_ptr<TRenderLink>(TApplication&)> createRenderer;
  std::function<void(const std::string& key, const std::string& value)> storeSetting;
  std::function<std::string(const std::string& key)> readSetting;
  std::function<std::string(const std::string& label)> lookupString;
  // Start-up steps of the file and data layers: the user, common and desktop folders for the
  // product (skipped when embedded without container mode), then the computer id, the
  // settings file, the file system and the string tables once the application exists.
  std::function<void(TApplicationData& data)> resolveFolders;
  std::function<void(TApplication& app)> loadData;
  // Runs in the shutdown order at the steps of the string table and settings store.
  std::function<void()> destroyStringTable;
  std::function<void()> clearSettings;
  // Observes the start-up and shutdown steps (tests and diagnostics).
  std::function<void(const char* step)> trace;
};

// The pieces that hang off the application frame but are built elsewhere: the window
// manager, the sound manager, the render interface and the settings/string stores. The
// frame talks to them only through these small interfaces; each piece plugs in an adapter
// through TFrameServices when EngineMain starts.
#pragma once

#include <cstdint>
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
  // Sound groups: interface effects (buttons), the game's effects, music.
  static constexpr int kEffectsGroup = 0;
  static constexpr int kGameEffectsGroup = 1000;
  static constexpr int kMusicGroup = 1001;

  virtual ~TSoundLink() = default;
  // Opens the sound device; false when there is none (sounds then play silently, keeping
  // their timing).
  virtual bool Init() = 0;
  // Sound is disabled while the application is inactive or minimised.
  virtual void Enable(bool on) = 0;
  // Per-frame work of the sound manager, once per idle pass.
  virtual void Update() = 0;

  // Volumes 0..1. What a group plays at is the master volume times the group's own volume
  // (the master volume alone for a group that has none). Muting all sound is setting the
  // master volume to 0, as the player's "sound off" option and the host link do.
  virtual void SetMasterVolume(float volume) = 0;
  virtual float MasterVolume() const = 0;
  virtual void SetGroupVolume(int group, float volume) = 0;
  // The volume the group plays at: master times group.
  virtual float GroupVolume(int group) const = 0;

  // The background music: one piece at a time, streamed from its file in the music group
  // and looping until it is stopped or another piece replaces it. Asking for the piece that
  // is playing keeps it going. False when the file cannot be played.
  virtual bool PlayMusic(const std::string& file) = 0;
  virtual void StopMusic() = 0;
  // The file of the piece playing, "" when none.
  virtual std::string CurrentMusic() const = 0;
  // Plays a sound effect once (read into memory, in group). False when it cannot be played.
  virtual bool PlayEffect(const std::string& file, int group = kEffectsGroup) = 0;
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

// The web host link as the event pump sees it (online/host_link.h has the whole link).
class THostLinkPort {
 public:
  virtual ~THostLinkPort() = default;
  // The ready notice to the page; only the first call sends it.
  virtual void SendSessionReady() = 0;
  // While the page keeps the game paused the pump only waits and dispatches messages.
  virtual bool IsHostPaused() const = 0;
  // Milliseconds the page has kept the game paused, a pause under way included; application
  // time leaves them out.
  virtual uint32_t TimePaused() const = 0;
  // A WM_USER message from the page: wParam is the command number.
  virtual void HandleHostCommand(long code) = 0;
};

// Factories and stores the program hands to EngineMain. Every member may be left empty:
// the frame then runs without that piece (a missing settings store drops settings after
// logging them, a missing string table leaves labels as they are).
struct TFrameServices {
  std::function<std::unique_ptr<TWindowManagerLink>(TApplication&)> createWindowManager;
  std::function<std::unique_ptr<TSoundLink>(TApplication&)> createSound;
  std::function<std::unique_ptr<TRenderLink>(TApplication&)> createRenderer;
  // The web host link, made once the application object exists (the modes are in its data).
  std::function<std::unique_ptr<THostLinkPort>(TApplication&)> createHostLink;
  std::function<void(const std::string& key, const std::string& value)> storeSetting;
  std::function<std::string(const std::string& key)> readSetting;
  std::function<std::string(const std::string& label)> lookupString;
  // Start-up steps of the file and data layers: the user, common and desktop folders for the
  // product (skipped when embedded without container mode), then the computer id, the
  // settings file, the file system and the string tables once the application exists.
  std::function<void(TApplicationData& data)> resolveFolders;
  std::function<void(TApplication& app)> loadData;
  // The asset cache: made with the application, before the window manager; destroyed in
  // the shutdown order after the string table.
  std::function<void()> createAssetManager;
  std::function<void()> destroyAssetManager;
  // Runs in the shutdown order at the steps of the string table and settings store.
  std::function<void()> destroyStringTable;
  std::function<void()> clearSettings;
  // Observes the start-up and shutdown steps (tests and diagnostics).
  std::function<void(const char* step)> trace;
};

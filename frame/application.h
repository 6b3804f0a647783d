// The one application object: the event pump, application time, the display, the pointer,
// clipboard and random numbers, and the links to the window manager, sound and renderer.
// Reached from everywhere through TApplication::Get() while it exists.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "frame/application_data.h"
#include "frame/event.h"
#include "frame/heartbeat.h"
#include "frame/input_script.h"
#include "frame/task_list.h"

class TApplication {
 public:
  static constexpr uint32_t kClickGuardMs = 400;
  // How often a host pause looks whether the host window still exists.
  static constexpr uint32_t kHostCheckMs = 250;

  TApplication(std::unique_ptr<TApplicationData> data, TPlatform& platform,
               TFrameServices services = {});
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  static TApplication* Get();

  TApplicationData& Data() { return *mData; }
  TPlatform& Platform() { return mPlatform; }
  const TFrameServices& Services() const { return mServices; }
  THeartbeat& Heartbeat() { return mHeartbeat; }

  // Links, attached during start-up in the order EngineMain gives them.
  void SetWindowManager(std::unique_ptr<TWindowManagerLink> windowManager);
  void SetRenderer(std::unique_ptr<TRenderLink> renderer);
  TWindowManagerLink* GetWindowManager() { return mData->windowManager.get(); }
  TSoundLink* GetSoundManager() { return mData->soundManager.get(); }
  TRenderLink* GetRenderer() { return mData->renderer.get(); }
  void SetHostLink(std::unique_ptr<THostLinkPort> hostLink) {
    mData->hostLink = std::move(hostLink);
  }
  THostLinkPort* GetHostLink() { return mData->hostLink.get(); }
  bool InitSound();
  // Shutdown steps: each drops its link (the heartbeat lets go of it first).
  void DestroyWindowManager();
  void DestroySound();
  void DestroyRenderer();

  // Application time: monotonic milliseconds since start plus timeOffset, without the time
  // the host page kept the game paused (it stands still during such a pause).
  uint32_t GetTime() const;
  // Time of the test drivers (input script, exit time): host pauses included, so a script
  // can end a pause it started.
  uint32_t DriverTime() const;
  void Sleep(unsigned ms) { mPlatform.SleepMs(ms); }
  uint32_t Random() { return mData->random.Next(); }

  // The application task list, run in the update phase of every idle pass.
  void AddTask(TTask* task) { mTasks.Add(task); }
  bool RemoveTask(TTask* task) { return mTasks.Remove(task); }
  TTaskList& GetTaskList() { return mTasks; }

  // Settings and strings through the services (no-ops without a store).
  void StoreSetting(const std::string& key, const std::string& value);
  std::string ReadSetting(const std::string& key) const;
  std::string LookupString(const std::string& label) const;

  // Window and display.
  bool CreatePlatformWindow();
  void SetDisplay(int width, int height, bool fullscreen);
  bool SetDisplayMode(int width, int height, bool fullscreen, bool force, bool quiet,
                      bool embedded);
  bool SetFullscreen(bool on);
  bool IsFullscreen() const;
  bool IsForeground() const;
  void KeepOnTop();
  float GetScale() const { return mData->scale; }
  void SetTitle(const std::string& title) { mPlatform.SetTitle(title); }
  // Opens a web address (http and https only; anything else is refused with a log line): with
  // the "-host=" program while embedded, else with the desktop's handler. False (logged) when
  // it cannot be opened.
  bool OpenURL(const std::string& target);

  // Event pump.
  bool GetEvent(TEvent& event);
  void PostQuit(int code = 0);
  int GetMouseMode() const { return mData->mouseMode; }
  void SetMouseMode(int mode, TPoint anchor);

  // The input script and the automatic quit that let tests drive the program.
  void SetInputScript(TInputScript script) { mInputScript = std::move(script); }
  void SetExitAfter(long ms) { mExitAfterMs = ms; }
  // Frame output: every drawn frame, or only at the script's "frame" marks.
  void SetFrameOutput(const std::string& folder, bool onlyMarked);
  const std::string& FrameFolder() const { return mFrameFolder; }
  // Called by the window manager after each drawn frame.
  void OnFrameDrawn();

  // Pointer, clipboard, cursor.
  bool SetClipboardText(const std::string& text) { return mPlatform.SetClipboardText(text); }
  std::string GetClipboardText() { return mPlatform.GetClipboardText(); }
  void SetCursorVisible(bool visible);
  // The mouse cursor picture (null: the built-in arrow) with its hotspot. Unless temporary it
  // becomes the application's cursor, which is kept while the cursor is hidden and shown
  // again with it.
  void SetCursorImage(std::shared_ptr<TTexture> image, int hotspotX, int hotspotY,
                      bool temporary = false);
  void SetCursorPosition(TPoint point) { mPlatform.WarpPointer(point.x, point.y); }
  void StartHoverTracking();

  // Activity changes made by the window procedure.
  void SetActive(bool on);
  void SetAppActive(bool on);

  // The platform-message translation (the event pump's message table); exposed for tests.
  // Returns whether the message is then dispatched to the window procedure.
  bool TranslateMessage(const TPlatformMessage& message, TEvent& event);
  void WindowProc(const TPlatformMessage& message);

 private:
  bool ClickGuardDrops(bool isUp);
  void ToggleFullscreenEvent(TEvent& event);
  void RunInputScript();
  void RunDrivers();
  bool WaitWhileHostPaused(TEvent& event);
  bool WritesFrames() const;
  void WriteFrame(bool marked);
  [[noreturn]] void FatalDisplay(const std::string& text);

  std::unique_ptr<TApplicationData> mData;
  TPlatform& mPlatform;
  TTaskList mTasks;
  uint32_t (*mPreviousTimeSource)() = nullptr;
  TFrameServices mServices;
  THeartbeat mHeartbeat;
  TInputScript mInputScript;
  long mExitAfterMs = -1;
  bool mExitPosted = false;
  std::string mFrameFolder;
  bool mFramesOnlyMarked = false;
  bool mFrameMarkPending = false;
  unsigned mFrameNumber = 0;
};

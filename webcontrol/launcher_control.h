// TLauncherControl: the web launcher control, the relay between a page and the game it
// starts inside the control's window. Page script calls its methods by dispatch id; each
// sends the game one host command. The game's host texts arrive as WM_USER messages in
// 8-byte pieces; the control joins them and hands each text to the page as script. The
// control paints only a status line; its launch (unpack, start, wait, clean up) runs on a
// thread of its own, once per control, started when its window is first created.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "online/host_protocol.h"
#include "webcontrol/control_properties.h"

// The control's window as the platform gives it.
class TControlWindow {
 public:
  virtual ~TControlWindow() = default;
  // Whether the window exists, and whether the game's window is inside it.
  virtual bool Exists() const = 0;
  virtual bool HasGameWindow() const = 0;
  // Posted to the game's window (the first child); neither waits.
  virtual void PostHostCommand(uint32_t code) = 0;
  virtual void PostQuit() = 0;
  // Asks for the status line to be painted again.
  virtual void Invalidate() = 0;
};

// The launch thread's work, given the control: the platform starts it.
using TLaunchStarter = std::function<void(class TLauncherControl*)>;

class TLauncherControl {
 public:
  // The control's script methods and their dispatch ids.
  enum TMethod : int {
    kGameContinue = 1,
    kGameMenu = 2,
    kMuteOn = 3,
    kMuteOff = 4,
    kPauseOn = 5,
    kPauseOff = 6,
    kGameStart = 7,
    kRestartGame = 8,
    kSessionStart = 9,
    kLoadGame = 10,
    kCustomReturn = 11,
  };
  static constexpr int kFirstMethod = kGameContinue;
  static constexpr int kLastMethod = kCustomReturn;
  // The method of a dispatch id by name ("" for ids outside 1..11).
  static std::string_view MethodName(int dispatchId);
  // The dispatch id of a method name, or 0.
  static int MethodId(std::string_view name);

  static constexpr char kLoadingText[] = "Loading MahjongCuriomar...";
  static constexpr char kCannotRunText[] = "Sorry, the game cannot run.";

  // runScript runs a complete host text as page script; starter begins the launch thread.
  TLauncherControl(std::function<void(const std::string&)> runScript, TLaunchStarter starter);
  ~TLauncherControl();
  TLauncherControl(const TLauncherControl&) = delete;
  TLauncherControl& operator=(const TLauncherControl&) = delete;

  TControlProperties& Properties() { return mProperties; }
  const TControlProperties& Properties() const { return mProperties; }
  bool Aol() const { return mAol; }
  void SetAol(bool on) { mAol = on; }

  // The window was created (window may be replaced by a later creation); the launch thread
  // starts the first time only.
  void WindowCreated(TControlWindow* window);
  TControlWindow* Window() const { return mWindow; }
  // The window is going (the control stays; the launch thread sees it gone).
  void WindowDestroyed();

  // A script method by dispatch id. Every method 1..11 answers true whether or not a game
  // runs (a command without a game window is dropped); other ids answer false. The
  // argument of GameContinue and CustomReturn is not used.
  bool Invoke(int dispatchId, std::string_view argument = {});

  // A WM_USER message from the game: part of a host text.
  void ReceiveHostMessage(uint64_t wparam, uint64_t lparam);

  // The status line: the failure text once the launch is over, nothing while the game runs,
  // the loading text before.
  std::string StatusText() const;

  // Reports from the launch thread.
  void SetStarted(bool started) { mStarted.store(started); }
  void SetFinished() { mFinished.store(true); }
  bool Started() const { return mStarted.load(); }
  bool Finished() const { return mFinished.load(); }
  bool LaunchStarted() const { return mLaunchStarted; }

  // The page lets go of the control: the game is asked to quit, and when a launch was
  // started the control waits (checking every 10 ms) until it has finished, which is after
  // the game ended and its folder was removed.
  void Release();

 private:
  TControlProperties mProperties;
  bool mAol = false;
  std::function<void(const std::string&)> mRunScript;
  TLaunchStarter mStarter;
  TControlWindow* mWindow = nullptr;
  bool mLaunchStarted = false;
  bool mReleased = false;
  // Written by the launch thread, read by the page's thread.
  std::atomic<bool> mStarted{false};
  std::atomic<bool> mFinished{false};
  THostTextAssembler mTexts;
};

// THostLink: the game's half of the conversation with a web page that embeds it (the
// messages are described in online/host_protocol.h). It tells the page what the game does
// (host texts: SessionReady, GameReady, ScoreSubmit, ScoreBroadcast, GameBreak), obeys the
// page's numbered commands, keeps the game paused and silent while the page wants it so,
// and measures the play time that the score texts carry.
//
// Two modes, named after the portals that use them: MSN ("-msn", and the container option
// "-pq=") and Zylom ("-zylom"); both may be on. With neither on the link sends nothing,
// ignores commands, never pauses or mutes, and its queries answer false or 0.
//
// One link lives for the whole process and is never reset as a whole. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "frame/clock.h"
#include "frame/frame_links.h"

// What the link needs of the running program; the program plugs in the real one, tests a
// recording fake.
class THostLinkSystem {
 public:
  virtual ~THostLinkSystem() = default;
  // Milliseconds of the monotonic clock (wrapping at 2^32).
  virtual uint32_t TickMs() = 0;
  // Posts WM_USER (wparam, lparam) to the host window without waiting; false when it failed.
  virtual bool PostToHost(uint32_t wparam, uint32_t lparam) = 0;
  // The master volume of all sound, 0..1 (0 without sound).
  virtual float MasterVolume() = 0;
  virtual void SetMasterVolume(float volume) = 0;
  // Hidden: the game's own cursor goes and the system arrow shows (the page has the
  // pointer). Shown: the game's current cursor picture comes back.
  virtual void ShowGameCursor(bool shown) = 0;
  // Lets go of the mouse if the game window holds it.
  virtual void ReleaseMouseCapture() = 0;
};

class THostLink : public THostLinkPort {
 public:
  static constexpr uint32_t kBroadcastSpacingMs = 5000;

  explicit THostLink(THostLinkSystem& system) : mSystem(system) {}
  // The link that owns the program's system.
  explicit THostLink(std::unique_ptr<THostLinkSystem> system)
      : mOwnedSystem(std::move(system)), mSystem(*mOwnedSystem) {}

  // --- Start-up
  void SetMsnMode(bool on) { mMsnMode = on; }
  void SetZylomMode(bool on) { mZylomMode = on; }
  // "-pq=": nothing is sent; every attempt switches score broadcasting on instead.
  void SetContainerMode(bool on) { mContainerMode = on; }
  bool IsMsnMode() const { return mMsnMode; }
  bool IsZylomMode() const { return mZylomMode; }
  bool IsActive() const { return mMsnMode || mZylomMode; }

  // --- Host texts
  // Sends text as described in online/host_protocol.h; with pauseAfter (and Zylom mode
  // off) the game then pauses until the page lets it go on. Nothing leaves with neither mode
  // on.
  void SendHostText(const std::string& text, bool pauseAfter);
  // ScoreSubmit of the active mode with the score and the play time in whole seconds (the
  // Zylom form also carries the level given to SetLevel).
  void SendScoreSubmit(long score);
  // ScoreBroadcast, while a game is under way for the page, at most once per
  // kBroadcastSpacingMs: a broadcast within that time is dropped, not delayed.
  void SendScoreBroadcast(long score);
  // GameBreak with the next breakpoint number (1 after a start), then a pause.
  void SendGameBreak();
  // GameReady with the game mode text, then a pause.
  void SendGameReady(const std::string& mode);
  // SessionReady, only the first time in the process (the event pump calls it every time).
  void SendSessionReady() override;
  // The level and sublevel carried by the Zylom form of ScoreSubmit.
  void SetLevel(int level, int sublevel);

  // --- Host commands
  // Applies the command (host_protocol.h THostCommand), then the mute rule. Ignored with
  // neither mode on.
  void HandleHostCommand(long code) override;
  // The mute rule: silence while the page mutes or pauses the game, and in MSN mode (without
  // Zylom) while no game is under way for the page. The link remembers the volume it took
  // away and gives it back.
  void EvaluateMute();
  // The page asked for the main menu: true once per request; the game is then at its menu.
  bool ConsumeMenuRequest();
  // The page asked for a new game: true once per request; a game is then under way.
  bool ConsumeRestartRequest();

  // --- State
  bool IsHostPaused() const override { return mHostPaused; }
  // Sum of all finished host pauses.
  uint32_t PausedTotal() const { return mPausedTotal; }
  // Host pauses so far, the one under way included (application time stands still in it).
  uint32_t TimePaused() const override;
  // Play time of the current game for the page, host pauses left out.
  int PlayTimeMs() const { return mPlayClock.GetTime(); }
  bool IsScoreBroadcasting() const { return mScoreBroadcasting; }
  bool IsAtMenu() const { return mAtMenu; }
  bool IsHostMuted() const { return mHostMute; }
  bool HasMutedSound() const { return mLinkMuted; }
  int BreakCounter() const { return mBreakCounter; }

 private:
  void PauseForHost();
  void ResumeForHost();
  void StartGameForHost();

  std::unique_ptr<THostLinkSystem> mOwnedSystem;
  THostLinkSystem& mSystem;
  bool mMsnMode = false;
  bool mZylomMode = false;
  bool mContainerMode = false;
  bool mSessionAnnounced = false;
  bool mMenuRequest = false;
  bool mRestartRequest = false;
  bool mHostMute = false;
  bool mHostPaused = false;
  bool mScoreBroadcasting = false;
  bool mAtMenu = true;  // the next start command must not restart the game
  bool mLinkMuted = false;
  float mSavedVolume = 0;
  int mBreakCounter = 0;
  uint32_t mPauseStart = 0;
  uint32_t mPausedTotal = 0;
  uint32_t mLastBroadcast = 0;
  bool mBroadcastDue = true;  // the next broadcast goes out whatever the time
  int mLevel = 0;
  int mSublevel = 0;
  TClock mPlayClock;  // stopped and paused until the first start command
};

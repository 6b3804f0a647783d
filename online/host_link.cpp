#include "online/host_link.h"

#include <cstdio>

#include "frame/log.h"
#include "online/host_protocol.h"

namespace {

// The XML argument of the score texts: score and play time in whole seconds.
std::string ScoreXml(long score, long seconds) {
  char text[96];
  std::snprintf(text, sizeof text, "<score>%ld</score><time>%ld</time>", score, seconds);
  return text;
}

}  // namespace

void THostLink::SendHostText(const std::string& text, bool pauseAfter) {
  if (!IsActive()) return;
  if (mContainerMode) {
    // The container takes no texts; a text that would have told it a game is under way
    // switches the broadcasts on instead.
    mScoreBroadcasting = true;
    return;
  }
  Log("Host text: %s", text.c_str());
  bool posted = true;
  for (const THostTextChunk& chunk : SplitHostText(text)) {
    posted &= mSystem.PostToHost(chunk.wparam, chunk.lparam);
  }
  if (!posted) Log("The host window did not take the text");
  if (pauseAfter && !mZylomMode) PauseForHost();
  EvaluateMute();
}

void THostLink::SendScoreSubmit(long score) {
  if (!IsActive()) return;
  std::string game = ScoreXml(score, PlayTimeMs() / 1000);
  if (mZylomMode) {
    game += "<level>" + std::to_string(mLevel) + "</level><sublevel>" + std::to_string(mSublevel) +
            "</sublevel>";
  }
  SendHostText("ScoreSubmit(\"<game>" + game + "</game>\")", false);
}

void THostLink::SendScoreBroadcast(long score) {
  if (!IsActive() || !mScoreBroadcasting) return;
  const uint32_t now = mSystem.TickMs();
  if (!mBroadcastDue && now - mLastBroadcast < kBroadcastSpacingMs) return;
  mBroadcastDue = false;
  mLastBroadcast = now;
  SendHostText("ScoreBroadcast(\"<game>" + ScoreXml(score, PlayTimeMs() / 1000) + "</game>\")",
               false);
}

void THostLink::SendGameBreak() {
  if (!IsActive()) return;
  ++mBreakCounter;
  SendHostText(
      "GameBreak(\"<data><breakpoint>" + std::to_string(mBreakCounter) + "</breakpoint></data>\")",
      true);
}

void THostLink::SendGameReady(const std::string& mode) {
  if (!IsActive()) return;
  SendHostText("GameReady(\"<data><mode>" + mode + "</mode></data>\")", true);
}

void THostLink::SendSessionReady() {
  if (!IsActive() || mSessionAnnounced) return;
  mSessionAnnounced = true;
  SendHostText("SessionReady(\"<data></data>\")", true);
}

void THostLink::SetLevel(int level, int sublevel) {
  mLevel = level;
  mSublevel = sublevel;
}

void THostLink::HandleHostCommand(long code) {
  if (!IsActive()) return;
  const auto command = static_cast<uint32_t>(code);
  const std::string name(HostCommandName(command));
  Log("Host command %ld%s%s", code, name.empty() ? " (unknown)" : ": ", name.c_str());
  switch (command) {
    case kHostGameMenu:
      mMenuRequest = true;
      break;
    case kHostMuteOn:
      mHostMute = true;
      break;
    case kHostMuteOff:
      mHostMute = false;
      break;
    case kHostPauseOn:
      if (mContainerMode) mSystem.ReleaseMouseCapture();
      PauseForHost();
      break;
    case kHostPauseOff:
    case kHostGameContinue:
    case kHostSessionStart:
    case kHostCustomReturn:
      ResumeForHost();
      break;
    case kHostGameStart:
      StartGameForHost();
      break;
    case kHostRestartGame:
      mRestartRequest = true;
      break;
    default:
      break;
  }
  EvaluateMute();
}

void THostLink::StartGameForHost() {
  mScoreBroadcasting = true;
  mBroadcastDue = true;  // the first broadcast of a game goes out at once
  ResumeForHost();
  // The play time counts from 0.
  mPlayClock.Stop();
  mPlayClock.Start();
  mBreakCounter = 0;
  if (mAtMenu) {
    mAtMenu = false;  // the game starts from its menu: nothing to restart
    return;
  }
  mRestartRequest = true;  // a start during a game begins a new one
}

void THostLink::EvaluateMute() {
  if (!IsActive()) return;
  const bool silence = mHostMute || mHostPaused || (mMsnMode && !mZylomMode && !mScoreBroadcasting);
  if (silence && !mLinkMuted) {
    mLinkMuted = true;
    mSavedVolume = mSystem.MasterVolume();
    mSystem.SetMasterVolume(0);
    Log("Sound muted for the host page");
  } else if (!silence && mLinkMuted) {
    mLinkMuted = false;
    mSystem.SetMasterVolume(mSavedVolume);
    mSavedVolume = 0;
    Log("Sound back for the host page");
  }
}

bool THostLink::ConsumeMenuRequest() {
  if (!mMenuRequest) return false;
  mMenuRequest = false;
  mAtMenu = true;
  mScoreBroadcasting = false;
  EvaluateMute();
  return true;
}

bool THostLink::ConsumeRestartRequest() {
  if (!mRestartRequest) return false;
  mRestartRequest = false;
  mScoreBroadcasting = true;
  EvaluateMute();
  return true;
}

uint32_t THostLink::TimePaused() const {
  return mHostPaused ? mPausedTotal + (mSystem.TickMs() - mPauseStart) : mPausedTotal;
}

void THostLink::PauseForHost() {
  if (mHostPaused) return;
  mHostPaused = true;
  mPauseStart = mSystem.TickMs();
  mPlayClock.Pause();
  mSystem.ShowGameCursor(false);
  Log("Paused for the host page");
}

void THostLink::ResumeForHost() {
  if (!mHostPaused) return;
  const uint32_t paused = mSystem.TickMs() - mPauseStart;
  mHostPaused = false;
  mPausedTotal += paused;
  mPauseStart = 0;
  mPlayClock.Start();  // continues from where it was paused
  mSystem.ShowGameCursor(true);
  Log("Resumed for the host page after %u ms", paused);
}

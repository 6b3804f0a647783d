#include "app/program_host_link.h"

#include "campaign/game_app.h"
#include "frame/application.h"
#include "frame/log.h"
#include "online/host_link.h"

namespace {

class TProgramHostLinkSystem final : public THostLinkSystem {
 public:
  explicit TProgramHostLinkSystem(TApplication& app) : mApp(app) {}

  uint32_t TickMs() override { return mApp.Platform().TickMs(); }

  bool PostToHost(uint32_t wparam, uint32_t lparam) override {
    const TWindowHandle host = mApp.Data().mExternalWindowParent;
    mApp.Platform().PostToWindow(host, 0, static_cast<long>(wparam), static_cast<long>(lparam));
    return host != 0;
  }

  float MasterVolume() override {
    TSoundLink* sound = mApp.GetSoundManager();
    return sound ? sound->MasterVolume() : 0.0f;
  }
  void SetMasterVolume(float volume) override {
    if (TSoundLink* sound = mApp.GetSoundManager()) sound->SetMasterVolume(volume);
  }

  void ShowGameCursor(bool shown) override {
    mApp.SetCursorVisible(shown);
    if (!shown) {
      // The page has the pointer while it pauses the game: the system arrow shows.
      mApp.Platform().SetCursorImage(nullptr, 0, 0, 0, 0);
      mApp.Platform().ShowCursor(true);
    }
  }

  void ReleaseMouseCapture() override { mApp.Platform().CaptureMouse(false); }

 private:
  TApplication& mApp;
};

class TGameHostReports final : public THostReports {
 public:
  explicit TGameHostReports(THostLink& link) : mLink(link) {}
  void SendGameReady(const std::string& mode) override { mLink.SendGameReady(mode); }
  void EvaluateMute() override { mLink.EvaluateMute(); }
  void SetLevel(int level, int sublevel) override { mLink.SetLevel(level, sublevel); }
  void SendScoreSubmit(long score) override { mLink.SendScoreSubmit(score); }
  void SendScoreBroadcast(long score) override { mLink.SendScoreBroadcast(score); }
  void SendGameBreak() override { mLink.SendGameBreak(); }

 private:
  THostLink& mLink;
};

}  // namespace

std::unique_ptr<THostReports> CreateGameHostReports(THostLink& link) {
  return std::make_unique<TGameHostReports>(link);
}

std::unique_ptr<THostLinkPort> CreateProgramHostLink(TApplication& app) {
  auto link = std::make_unique<THostLink>(std::make_unique<TProgramHostLinkSystem>(app));
  const TApplicationData& data = app.Data();
  link->SetMsnMode(data.msnMode);
  link->SetZylomMode(data.zylomMode);
  link->SetContainerMode(data.containerMode);
  return link;
}

THostLink* GetHostLink(TApplication& app) {
  return dynamic_cast<THostLink*>(app.GetHostLink());
}

void ServeHostRequests(TApplication& app, const std::function<void()>& quitToMainMenu,
                       const std::function<void()>& resetProgress) {
  THostLink* link = GetHostLink(app);
  if (!link) return;
  if (link->ConsumeMenuRequest()) {
    Log("The host page asked for the main menu");
    if (quitToMainMenu) quitToMainMenu();
  }
  if (link->ConsumeRestartRequest()) {
    Log("The host page asked for a new game");
    if (quitToMainMenu) quitToMainMenu();
    if (resetProgress) resetProgress();
  }
}

// A window system with the campaign's window types and functions, the application object
// (players, options, record) over a headless application, and a scratch folder for the
// store. Dialogs are built by running script text against the window script.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "campaign/game_app.h"
#include "campaign/screens/campaign_vocabulary.h"
#include "data/settings.h"
#include "files/file_system.h"
#include "frame/application.h"
#include "frame/application_time.h"
#include "platform/headless/headless_platform.h"
#include "script/lua/lua_api.h"
#include "tests/frame/frame_fakes.h"
#include "tests/script/script_test_fixture.h"
#include "tests/ui/ui_test_support.h"
#include "ui/modal_window.h"
#include "ui/slider.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

// Remembers the volumes and the music piece the game asks for.
class TVolumeSound : public TRecordingSound {
 public:
  void SetGroupVolume(int group, float volume) override { groups[group] = volume; }
  bool PlayMusic(const std::string& file) override {
    music = file;
    return true;
  }
  void StopMusic() override { music.clear(); }
  std::string CurrentMusic() const override { return music; }
  std::map<int, float> groups;
  std::string music;
};

class ScreenTest : public ScriptTest, protected TWindowSystemHarness {
 protected:
  using TWindowSystemHarness::Run;

  void SetUp() override {
    ScriptTest::SetUp();
    SetFileSystemFolders(root.string(), root.string(), root.string());
    ResetSettings();
    SetSetting("installkey", "screen_test");
    TFrameServices services;
    services.createSound = [this](TApplication&) -> std::unique_ptr<TSoundLink> {
      auto link = std::make_unique<TVolumeSound>();
      sound = link.get();
      return link;
    };
    app = std::make_unique<TApplication>(std::make_unique<TApplicationData>(), platform,
                                         std::move(services));
    app->CreatePlatformWindow();
    app->InitSound();
    // The application answers the time from its platform; the passes of the test drive it.
    manualTime = std::make_unique<TManualTime>(host.now);
    StartWindowSystem();
    manager->AddWindowType("Slider", &TSlider::Create);
    RegisterCampaignVocabulary(*manager);
    game = std::make_unique<TGameApp>(*app, L, manager.get());
    game->EnsurePlayer();
    // A main loop that waits for messages, so that button commands run as in the game.
    WriteFile("assets/scripts/mainloop.lua",
              "return function() while true do WaitForMessage() end end");
    InitFileSystem();
    manager->RunScriptFile("scripts/mainloop.lua");
    Pass();
  }
  void TearDown() override {
    game.reset();
    StopWindowSystem();
    manualTime.reset();
    app.reset();
    ResetSettings();
    ScriptTest::TearDown();
  }

  // A dialog on its own modal window, built from a description's text.
  TModalWindow* OpenDialog(const std::string& name, const std::string& description) {
    Run("PushModal('" + name + "') MakeDialog{ name = '" + name + "', " + description + " }");
    return manager->TopModal();
  }
  template <class T>
  T* Find(const std::string& name) {
    TModalWindow* top = manager->TopModal();
    return top ? dynamic_cast<T*>(top->FindChild(name)) : nullptr;
  }
  std::string Eval(const std::string& expression) {
    Run("gResult = tostring(" + expression + ")");
    return Global(L, "gResult");
  }
  void Passes(int count, uint32_t ms = 30) {
    for (int i = 0; i < count; ++i) Pass(ms);
  }

  THeadlessPlatform platform;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<TManualTime> manualTime;
  TVolumeSound* sound = nullptr;
  std::unique_ptr<TGameApp> game;
};

// The high-score screens' window classes in a window tree built by the dialog scripts' own
// functions, with the application object and its high-score service behind them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "campaign/game_app.h"
#include "campaign/hiscore/hiscore.h"
#include "campaign/hiscore/hiscore_vocabulary.h"
#include "data/settings.h"
#include "data/string_table.h"
#include "files/file_system.h"
#include "frame/application.h"
#include "frame/application_time.h"
#include "platform/headless/headless_platform.h"
#include "script/lua/lua_api.h"
#include "tests/campaign/campaign_test_folder.h"
#include "tests/ui/ui_test_support.h"
#include "ui/text.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

class HiscoreScreenFixture : public ::testing::Test, public TWindowSystemHarness {
 protected:
  void SetUp() override {
    folder = StartCampaignTestFolder("mc_hiscore_screen_", "hiscore_screen_test");
    StringTable().SetString("localizer_currency_tens_format", "$%%d");
    StringTable().SetString("localizer_currency_thousands_format", "$%%d,%%03d");
    StringTable().SetString("hiscore_online_off", "Online scores are off");
    BeforeTheGame();
    app = std::make_unique<TApplication>(std::make_unique<TApplicationData>(), platform,
                                         TFrameServices{});
    // The application object makes its own time the application's; the harness's passes
    // move time only while the manual time is the source again.
    passTime = std::make_unique<TManualTime>(host.now);
    StartWindowSystem();
    RegisterHiscoreVocabulary(*manager);
    game = std::make_unique<TGameApp>(*app, L, manager.get());
    game->CreateNewUser("Ann");
  }
  void TearDown() override {
    // The game object unbinds its script functions from the window script's state first.
    game.reset();
    StopWindowSystem();
    passTime.reset();
    app.reset();
    ResetSettings();
    ResetFileSystem();
    std::filesystem::remove_all(folder);
  }

  // Set-up the service needs before the application object makes it (a server address).
  virtual void BeforeTheGame() {}

  // The screen with the children the class fills: the first `rows` rows, the state texts
  // and the scroll buttons. A text window needs a size to hold a text.
  THiscore* BuildScreen(int rows = 3) {
    std::string texts;
    for (const char* name :
         {"gamemode", "info", "error", "eligible", "local", "global", "server", "category",
          "congratulations", "dnq", "yourrank", "scrollup", "scrolldown"})
      texts += std::string("Text{ name = '") + name + "', w = 300, h = 24 }, ";
    for (int n = 1; n <= rows; ++n) {
      for (const std::string& name :
           {"name" + std::to_string(n), "score" + std::to_string(n), std::to_string(n)})
        texts += "Text{ name = '" + name + "', w = 300, h = 24 }, ";
    }
    TWindowSystemHarness::Run(
        "PushModal( 'hiscore' ); MakeDialog{ HiscoreWindow{ name = 'hs', w = 800, h = 600, " +
        texts + "} }");
    return THiscore::Current();
  }
  std::string TextOf(const char* name) {
    auto* text = dynamic_cast<TText*>(THiscore::Current()->FindChild(name));
    return text ? text->GetText() : "(missing)";
  }
  bool Shown(const char* name) {
    TWindow* window = THiscore::Current()->FindChild(name);
    return window && window->IsVisible();
  }
  std::string Global(const char* name) {
    lua_pushstring(L, name);
    lua_gettable(L, LUA_GLOBALSINDEX);
    std::string value = lua_isstring(L, -1) ? lua_tostring(L, -1) : "(none)";
    lua_pop(L, 1);
    return value;
  }

  std::filesystem::path folder;
  THeadlessPlatform platform;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<TManualTime> passTime;
  std::unique_ptr<TGameApp> game;
};

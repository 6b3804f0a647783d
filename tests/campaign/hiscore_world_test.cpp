// The high-score screen and the submit dialog against the real high-score server, started
// on 127.0.0.1 with its own database in the test folder: a world table longer than the
// screen's ten rows scrolls within its bounds, and a score sent with an account carries the
// medals of the unlocked locations, which the server stores for that account.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "campaign/hiscore/hiscore_submit.h"
#include "campaign/record/location_info.h"
#include "online/http_request.h"
#include "online/online_platform.h"
#include "online/server/field_rules.h"
#include "online/server/sqlite_store.h"
#include "online/tv_hiscores.h"
#include "platform/online/system_online_platform.h"
#include "tests/campaign/hiscore_screen_fixture.h"
#include "tests/online/server/hiscored_process.h"

namespace {

constexpr char kGameHandle[] = "mahjongcuriomar";
// Every wait for the server ends after this much real time.
constexpr auto kServerPatience = std::chrono::seconds(20);

class HiscoreWorldTest : public HiscoreScreenFixture {
 protected:
  void BeforeTheGame() override {
    ASSERT_TRUE(server.Start(MC_HISCORED_PATH,
                             {"--db", (folder / "scores.db").string(), "--threads", "2"},
                             (folder / "hiscored.err").string()))
        << server.Errors();
    SetOnlinePlatform(&online);
    SetSetting("hiscoreserver", server.Url());
    SetSetting("tvgamehandle", kGameHandle);
    SetSetting("tvgamemodename1", "mahjongcuriomar_adventure");
    SetSetting("tvgamemodename2", "mahjongcuriomar_web");
  }
  void TearDown() override {
    HiscoreScreenFixture::TearDown();
    EXPECT_TRUE(WaitForHttpRequests(5000));
    SetOnlinePlatform(nullptr);
    EXPECT_EQ(server.Terminate(), 0);
  }

  // Passes of the game loop until the screen is in `state` (or has failed), in bounded real
  // time: the answers come from another process.
  bool PassUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kServerPatience;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      Pass(THiscore::kPollMs);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  bool PollUntilDone(TTvHiscores& service) {
    const auto deadline = std::chrono::steady_clock::now() + kServerPatience;
    char message[256];
    int result = TTvHiscores::kPollWorking;
    while ((result = service.Poll(message, sizeof message, nullptr)) == TTvHiscores::kPollWorking) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(result, TTvHiscores::kPollDone) << message;
    return result == TTvHiscores::kPollDone;
  }
  // Puts `count` players' scores on the campaign's world table, each under its own name.
  void SeedWorldTable(int count) {
    game->SetCurrentGameMode(kGameModeCampaign);
    TTvHiscores& service = *game->Hiscores();
    for (int i = 0; i < count; ++i) {
      const std::string name = "Seed" + std::to_string(i + 1);
      service.SetParameter(TTvHiscores::kPlayerName, name);
      ASSERT_TRUE(service.AddLocalScore(10000 - i * 100, true));
      ASSERT_TRUE(service.SubmitScore(name, "", false));
      ASSERT_TRUE(PollUntilDone(service)) << name;
    }
    service.SetParameter(TTvHiscores::kPlayerName, game->CurrentUserName());
  }
  THiscore* OpenWorldView() {
    THiscore* screen = BuildScreen(THiscore::kRows);
    screen->PressHiscoreButton("view");
    EXPECT_TRUE(PassUntil([&] {
      return screen->GetState() == THiscore::kGlobalView || screen->GetState() == THiscore::kError;
    }));
    EXPECT_EQ(screen->GetState(), THiscore::kGlobalView) << screen->ErrorMessage();
    return screen;
  }
  std::vector<std::string> ShownNames() {
    std::vector<std::string> names;
    for (int n = 1; n <= THiscore::kRows; ++n) {
      const std::string name = "name" + std::to_string(n);
      if (Shown(name.c_str())) names.push_back(TextOf(name.c_str()));
    }
    return names;
  }

  THiscoredProcess server;
  TSystemOnlinePlatform online;
};

TEST_F(HiscoreWorldTest, ALongWorldTableScrollsByTenAndKeepsTheLastFiveInView) {
  SeedWorldTable(13);
  THiscore* screen = OpenWorldView();
  ASSERT_EQ(game->Hiscores()->GetRowCount(false), 13);
  EXPECT_EQ(screen->ScrollOffset(), 0);
  EXPECT_EQ(ShownNames().size(), 10u);
  EXPECT_EQ(TextOf("name1"), "Seed1");
  EXPECT_EQ(TextOf("1"), "1.");
  EXPECT_FALSE(Shown("scrollup"));
  EXPECT_TRUE(Shown("scrolldown"));

  // Ten down would leave three rows: the offset stops where the last five are in view.
  screen->PressHiscoreButton("scrolldown");
  EXPECT_EQ(screen->ScrollOffset(), 8);
  EXPECT_EQ(ShownNames(),
            (std::vector<std::string>{"Seed9", "Seed10", "Seed11", "Seed12", "Seed13"}));
  EXPECT_EQ(TextOf("1"), "9.");
  EXPECT_EQ(TextOf("score5"), "$8,800 ");
  EXPECT_TRUE(Shown("scrollup"));
  EXPECT_FALSE(Shown("scrolldown"));
  screen->PressHiscoreButton("scrolldown");
  EXPECT_EQ(screen->ScrollOffset(), 8) << "no further than the end";

  // Up stops at the top.
  screen->PressHiscoreButton("scrollup");
  EXPECT_EQ(screen->ScrollOffset(), 0);
  EXPECT_EQ(TextOf("name1"), "Seed1");
  EXPECT_FALSE(Shown("scrollup"));
  EXPECT_TRUE(Shown("scrolldown"));
}

TEST_F(HiscoreWorldTest, AScoreSentWithAnAccountCarriesTheUnlockedLocationsMedals) {
  TProgress& progress = game->State().Progress();
  progress.locationWins[kGrammasAttic] = 100;
  progress.locationWins[kYardSale] = 100;  // the yard sale and the flea market are open
  progress.bankroll = 4321;
  ASSERT_EQ(game->AddFinishedLevelScore(), 4321);
  THiscore* screen = BuildScreen(THiscore::kRows);

  // The dialog over the screen, as hiscoresubmit.lua makes it; the script sends.
  TWindowSystemHarness::Run(
      "function SwitchModes() end; PushModal( 'hiscoresubmit' ); MakeDialog{ HiscoreSubmit{"
      " name = 'submit', w = 400, h = 300, Text{ name = 'submiterror', w = 300, h = 24 },"
      " Text{ name = 'submitconnect', w = 300, h = 24 },"
      " Text{ name = 'submiterrorok', w = 300, h = 24 } } }"
      "SubmitToServer( 'Ann', 'AnnCollects', 'brass-key', true )");
  ASSERT_TRUE(PassUntil([&] { return manager->TopModal()->GetName() != "hiscoresubmit"; }))
      << "the dialog closes once the score and the medals are sent";
  ASSERT_TRUE(PassUntil([&] {
    return screen->GetState() == THiscore::kGlobalView || screen->GetState() == THiscore::kError;
  }));
  ASSERT_EQ(screen->GetState(), THiscore::kGlobalView) << screen->ErrorMessage();
  EXPECT_TRUE(Shown("congratulations"));
  EXPECT_EQ(TextOf("name1"), "AnnCollects") << "the row carries the account's name";
  EXPECT_EQ(TextOf("score1"), "$4,321 ");
  const THiscoreRow* entry = game->Hiscores()->GetPlayerEntry(true);
  ASSERT_NE(entry, nullptr) << "the server marks the account's row";
  EXPECT_EQ(entry->rank, 1);
  std::string account, password;
  ASSERT_TRUE(game->Hiscores()->GetAccount(&account, &password)) << "remembered";
  EXPECT_EQ(account, "AnnCollects");
  EXPECT_EQ(password, "brass-key");

  // The server stored the two medals for the account, and nothing else.
  TSqliteStore store((folder / "scores.db").string());
  ASSERT_TRUE(store.Opened());
  std::optional<TStoredAccount> stored;
  ASSERT_TRUE(store.FindAccount(Latin1ToUtf8(NameKey("AnnCollects")), stored));
  ASSERT_TRUE(stored.has_value());
  const auto medals = store.Medals(stored->id, kGameHandle);
  ASSERT_TRUE(medals.has_value());
  std::vector<std::string> names;
  for (const TMedal& medal : *medals) names.push_back(medal.name + "/" + medal.per);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"mahjongcuriomar_fleamarket/game",
                                             "mahjongcuriomar_yardsale/game"}));
}

TEST_F(HiscoreWorldTest, AWrongPasswordIsRefusedWithTheServersMessageAndNothingIsSent) {
  TProgress& progress = game->State().Progress();
  progress.bankroll = 700;
  ASSERT_EQ(game->AddFinishedLevelScore(), 700);
  TTvHiscores& service = *game->Hiscores();
  ASSERT_TRUE(service.SubmitScore("Keeper", "right", false));
  ASSERT_TRUE(PollUntilDone(service));
  progress.bankroll = 900;
  ASSERT_EQ(game->AddFinishedLevelScore(), 900);
  BuildScreen(THiscore::kRows);

  TWindowSystemHarness::Run(
      "function SwitchModes() end; PushModal( 'hiscoresubmit' ); MakeDialog{ HiscoreSubmit{"
      " name = 'submit', w = 400, h = 300, Text{ name = 'submiterror', w = 300, h = 24 },"
      " Text{ name = 'submitconnect', w = 300, h = 24 },"
      " Text{ name = 'submiterrorok', w = 300, h = 24 } } }"
      "SubmitToServer( 'Ann', 'Keeper', 'wrong', true )");
  TWindow* dialog = manager->TopModal();
  ASSERT_EQ(dialog->GetName(), "hiscoresubmit");
  auto* error = dynamic_cast<TText*>(dialog->FindChild("submiterror"));
  ASSERT_NE(error, nullptr);
  ASSERT_TRUE(PassUntil([&] { return !error->GetText().empty(); }));
  EXPECT_EQ(error->GetText(), "The account name or password is not correct.");
  EXPECT_TRUE(error->IsVisible());
  EXPECT_TRUE(dialog->FindChild("submiterrorok")->IsVisible());
  EXPECT_EQ(manager->TopModal(), dialog) << "the dialog stays for the player to read";
  EXPECT_FALSE(service.GetAccount(nullptr, nullptr)) << "a refused account is not remembered";
  EXPECT_NE(service.GetPlayerEntry(false), nullptr) << "the 900 is still to be sent";
}

}  // namespace

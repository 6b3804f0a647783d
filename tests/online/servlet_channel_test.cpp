#include "online/servlet_channel.h"

#include <gtest/gtest.h>

#include <string>

#include "online/tv_hiscores.h"
#include "tests/online/online_test_fixture.h"

namespace {

// The stand-in server library and its call log (tests/online/fake_servlet.cpp).
class ServletTest : public OnlineTest {
 protected:
  void SetUp() override {
    OnlineTest::SetUp();
    SetSetting("encryptionkey", "KPlaxRD7wAAA");
    SetSetting("version", "1.0.0.0");
    std::string error;
    // Held for the whole test, so the library's log outlives each service.
    library =
        platform.LoadLibrary(kFakeFolder + std::string(TServletChannel::kLibraryName), &error);
    ASSERT_NE(library, nullptr) << error;
    calls = reinterpret_cast<const char* (*)()>(library->Symbol("FakeServlet_Calls"));
    ASSERT_NE(calls, nullptr);
    logStart = std::string(calls()).size();
  }
  void TearDown() override {
    library.reset();
    OnlineTest::TearDown();
  }
  std::string Calls() const { return std::string(calls()).substr(logStart); }

  std::unique_ptr<TTvHiscores> Make() {
    THiscoreSetup setup;
    setup.programFolder = kFakeFolder;
    setup.platform = &platform;
    auto hiscores = std::make_unique<TTvHiscores>(true, setup);
    hiscores->SetParameter(TTvHiscores::kPlayerName, "Ann");
    hiscores->SetParameter(TTvHiscores::kCategory, "mahjongcuriomar_adventure");
    return hiscores;
  }
  int Finish(TTvHiscores& hiscores, bool* accepted = nullptr) {
    return WaitWhile(TTvHiscores::kPollWorking,
                     [&] { return hiscores.Poll(nullptr, 0, accepted); });
  }

  static constexpr char kFakeFolder[] = MC_FAKE_SERVLET_DIR "/";
  std::unique_ptr<TSharedLibrary> library;
  const char* (*calls)() = nullptr;
  size_t logStart = 0;
};

TEST_F(ServletTest, TheInProcessServerTakesEveryRequest) {
  SetSetting("tvgamehandle", "mahjongcuriomar");
  SetSetting("tvgamemodename1", "mahjongcuriomar_adventure");
  SetSetting("tvgamemodename2", "mahjongcuriomar_web");
  SetSetting("hiscoreserver", "http://127.0.0.1:9/go/hiscore");  // not used: the library wins
  {
    auto hiscores = Make();
    EXPECT_TRUE(hiscores->OnlineScoresAvailable());
    EXPECT_EQ(Calls(),
              "create;info 42 mahjongcuriomar KPlaxRD7wAAA mahjongcuriomar_adventure "
              "mahjongcuriomar_web;");

    hiscores->RequestTables();
    EXPECT_EQ(hiscores->Poll(nullptr, 0, nullptr), TTvHiscores::kPollWorking);
    ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollDone);
    std::string name;
    ASSERT_TRUE(hiscores->GetTableName(0, &name));
    EXPECT_EQ(name, "This computer");

    hiscores->RequestScores(0);
    ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollDone);
    EXPECT_EQ(hiscores->GetRow(false, 0)->name, "Ann");
    hiscores->RequestScores(3);
    ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollDone);

    hiscores->AddLocalScore(321, true, "data");
    ASSERT_TRUE(hiscores->SubmitScore("ann_online", "secret", false));
    bool accepted = false;
    ASSERT_EQ(Finish(*hiscores, &accepted), TTvHiscores::kPollDone);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(hiscores->GetPlayerEntry(false), nullptr);

    ASSERT_TRUE(hiscores->SubmitMedals("<medal/>", "ann_online", "secret", false));
    ASSERT_EQ(Finish(*hiscores, &accepted), TTvHiscores::kPollDone);
    EXPECT_FALSE(accepted);
  }
  EXPECT_EQ(Calls(),
            "create;info 42 mahjongcuriomar KPlaxRD7wAAA mahjongcuriomar_adventure "
            "mahjongcuriomar_web;"
            "tables 42 mahjongcuriomar;"
            "scores 42 mahjongcuriomar mahjongcuriomar_adventure local (null);"
            "scores 42 mahjongcuriomar mahjongcuriomar_adventure (null) (null);"
            "submit 42 mahjongcuriomar mahjongcuriomar_adventure ann_online secret 32 1.0.0.0 "
            "data 321 KPlaxRD7wAAA;"
            "medals 42 mahjongcuriomar mahjongcuriomar_adventure ann_online secret <medal/> "
            "KPlaxRD7wAAA;"
            "free 42;");
  EXPECT_EQ(platform.sessions, 0);  // nothing went over the network
}

TEST_F(ServletTest, WithoutAGameHandleTheServerReadsItsOwnDefinitions) {
  SetSetting("gamename", "fallback");
  auto hiscores = Make();
  EXPECT_EQ(Calls(), "create;deffile 42;");
  hiscores->RequestTables();
  ASSERT_EQ(Finish(*hiscores), TTvHiscores::kPollDone);
  EXPECT_EQ(Calls(), "create;deffile 42;tables 42 fallback;");
}

TEST_F(ServletTest, AGameHandleWithoutModeNamesTellsTheServerNothing) {
  SetSetting("tvgamehandle", "mahjongcuriomar");
  auto hiscores = Make();
  EXPECT_EQ(Calls(), "create;");
}

TEST_F(ServletTest, AFolderWithoutTheLibraryUsesTheWeb) {
  THiscoreSetup setup;
  setup.programFolder = folder.string() + "/";
  setup.platform = &platform;
  TTvHiscores hiscores(true, setup);
  EXPECT_FALSE(hiscores.OnlineScoresAvailable());
  EXPECT_EQ(platform.libraries, 1);  // only the test's own load
  EXPECT_EQ(Calls(), "");
}

}  // namespace

// tvservlet_stub.so as built, loaded the way the game loads it and driven through its ten
// C functions: the same answers as the web service, from a file shared by every server
// handle (every player) of the machine.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "online/server/hiscore_reply.h"
#include "tests/online/server/game_requests.h"

namespace fs = std::filesystem;

namespace {

// The component's functions, as the game declares them.
struct TStubApi {
  int (*create)();
  void (*setServerInfo)(int, const char*, const char*, const char* const*, int);
  void (*loadServerDefFile)(int);
  void (*requestCategoryInformation)(int, const char*);
  void (*requestScores)(int, const char*, const char*, const char*, const char*);
  void (*submitScore)(int, const char*, const char*, const char*, const char*, const char*,
                      const char*, const char*, int, const char*);
  void (*submitMedals)(int, const char*, const char*, const char*, const char*, const char*,
                       const char*);
  int (*getStatus)(int);
  const char* (*getContents)(int);
  void (*free)(int);
};

template <class T>
void Bind(void* library, const char* name, T& function) {
  function = reinterpret_cast<T>(dlsym(library, name));
  ASSERT_TRUE(function) << name;
}

}  // namespace

class TLocalServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("tvservlet_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    setenv("TVSERVLET_DATA", folder.c_str(), 1);
    library = dlopen(MC_STUB_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(library) << dlerror();
    Bind(library, "HiscoreServer_CreateLocalServer", api.create);
    Bind(library, "HiscoreServer_SetServerInfo", api.setServerInfo);
    Bind(library, "HiscoreServer_LoadServerDefFile", api.loadServerDefFile);
    Bind(library, "HiscoreServer_RequestCategoryInformation", api.requestCategoryInformation);
    Bind(library, "HiscoreServer_RequestScores", api.requestScores);
    Bind(library, "HiscoreServer_SubmitScore", api.submitScore);
    Bind(library, "HiscoreServer_SubmitMedals", api.submitMedals);
    Bind(library, "HiscoreServer_GetStatus", api.getStatus);
    Bind(library, "HiscoreServer_GetContents", api.getContents);
    Bind(library, "HiscoreServer_FreeLocalServer", api.free);
  }
  void TearDown() override {
    if (library) dlclose(library);
    unsetenv("TVSERVLET_DATA");
    fs::remove_all(folder);
  }

  // A server set up as the game does when "tvgamehandle" is set.
  int NewServer() {
    const int handle = api.create();
    const char* modes[] = {kAdventure, kWeb};
    api.setServerInfo(handle, kGame, kKey, modes, 2);
    return handle;
  }
  // Polls like the game until the request is no longer working; the answer as read.
  TGameAnswer Poll(int handle) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (api.getStatus(handle) == 0 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(api.getStatus(handle), 1);
    return ReadAnswer(api.getContents(handle));
  }
  void Submit(int handle, const char* name, const char* password, const char* guid, int score) {
    api.submitScore(handle, kGame, kAdventure, name, password, guid, "1.0", "level=3", score, kKey);
  }

  fs::path folder;
  void* library = nullptr;
  TStubApi api{};
};

TEST_F(TLocalServerTest, AnswersTheGamesFourRequestsLikeTheWebService) {
  const int server = NewServer();
  api.requestCategoryInformation(server, kGame);
  const TGameAnswer tables = Poll(server);
  ASSERT_TRUE(tables.root && tables.root->FindChild("tables"));
  EXPECT_EQ(tables.root->FindChild("tables")->Children().size(), 4u);

  Submit(server, "Ada", "pw", "0000000000000000000000000000000a", 300);
  EXPECT_TRUE(Poll(server).root->FindChild("score"));
  Submit(server, "Bob", nullptr, "0000000000000000000000000000000b", 500);
  EXPECT_TRUE(Poll(server).root->FindChild("score"));

  api.requestScores(server, kGame, kAdventure, "alltime", "Ada");
  const TGameAnswer scores = Poll(server);
  const std::vector<TXmlNode*> rows = scores.Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]->GetAttribute("name"), "Bob");
  EXPECT_EQ(rows[0]->GetAttribute("anonymous"), "true");
  EXPECT_EQ(rows[1]->GetAttribute("rank"), "2");
  EXPECT_EQ(rows[1]->GetAttribute("account"), "true");
  EXPECT_EQ(rows[1]->GetAttribute("data"), "level=3");

  const std::string medals = GameMedalLines({1, 4});
  api.submitMedals(server, kGame, kAdventure, "Ada", "pw", medals.c_str(), kKey);
  const TGameAnswer medalsAnswer = Poll(server);
  ASSERT_TRUE(medalsAnswer.root && medalsAnswer.root->FindChild("medals"));
  EXPECT_EQ(medalsAnswer.root->FindChild("medals")->GetAttribute("added"), "2");

  Submit(server, "ada", "wrong", "0000000000000000000000000000000c", 1);
  EXPECT_EQ(Poll(server).root->FindChild("message")->GetAttribute("id"), kInvalidLoginId);

  // Without a table and user name the first table is sent, nothing marked.
  api.requestScores(server, kGame, kAdventure, nullptr, nullptr);
  const TGameAnswer unnamed = Poll(server);
  for (const TXmlNode* row : unnamed.Rows()) EXPECT_FALSE(row->HasAttribute("account"));
  api.free(server);
}

TEST_F(TLocalServerTest, PlayersOfOneMachineShareTheTables) {
  const int first = NewServer();
  Submit(first, "Ada", nullptr, "00000000000000000000000000000001", 10);
  Poll(first);
  api.free(first);

  const int second = NewServer();
  api.requestScores(second, kGame, kAdventure, nullptr, nullptr);
  EXPECT_EQ(Poll(second).Rows().size(), 1u);
  EXPECT_TRUE(fs::exists(folder / "localscores.db"));
  api.free(second);
}

TEST_F(TLocalServerTest, DefinitionFileConfiguresTheServerWhenTheGameHasNoHandle) {
  std::ofstream(folder / "tvservlet.xml")
      << "<hiscored><game handle=\"puzzle\" key=\"k\"><mode name=\"classic\"/></game>"
         "<table id=\"ever\" name=\"Forever\" period=\"all\"/></hiscored>";
  const int server = api.create();
  api.loadServerDefFile(server);
  api.requestCategoryInformation(server, "puzzle");
  const TGameAnswer tables = Poll(server);
  ASSERT_TRUE(tables.root && tables.root->FindChild("tables"));
  EXPECT_EQ(tables.root->FindChild("tables")->Children().at(0)->GetAttribute("name"), "Forever");
  api.requestCategoryInformation(server, kGame);
  EXPECT_FALSE(Poll(server).ProtocolError().empty());
  api.free(server);
}

TEST_F(TLocalServerTest, BadArgumentsAreRefusedAndUnknownHandlesIgnored) {
  const int server = NewServer();
  Submit(server, "", nullptr, "x", 1);
  EXPECT_FALSE(Poll(server).ProtocolError().empty());
  api.submitMedals(server, kGame, kAdventure, "Ada", "pw", "<medal name=\"a", kKey);
  EXPECT_FALSE(Poll(server).ProtocolError().empty());
  api.requestScores(server, kGame, nullptr, nullptr, nullptr);
  EXPECT_EQ(Poll(server).ProtocolError(), "Missing required parameter: type");
  api.free(server);

  EXPECT_EQ(api.getStatus(server), 2);
  EXPECT_STREQ(api.getContents(server), "");
  api.requestCategoryInformation(server, kGame);  // a freed handle: nothing happens
  api.free(server);
}

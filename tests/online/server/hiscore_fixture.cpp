#include "tests/online/server/hiscore_fixture.h"

#include <unistd.h>

#include "online/server/postgres_store.h"
#include "online/server/sqlite_store.h"
#include "tests/online/server/postgres_cluster.h"

void THiscoreFixture::SetUp() {
  folder = std::filesystem::temp_directory_path() /
           ("hiscore_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  if (GetParam() == "postgresql") {
    TPostgresCluster* cluster = TPostgresCluster::Shared();
    if (!cluster) GTEST_SKIP() << "PostgreSQL half skipped: " << TPostgresCluster::Unavailable();
    location = cluster->NewDatabase();
  } else {
    location = (folder / "hiscore.db").string();
  }
  Restart(TestConfig());
}

void THiscoreFixture::TearDown() {
  handler.reset();
  service.reset();
  stores.reset();
  std::filesystem::remove_all(folder);
}

THiscoreConfig THiscoreFixture::TestConfig() {
  THiscoreConfig config = THiscoreConfig::Default();
  config.passwordCost = {1, 8192};
  config.limits.readsPerSecond = 0;
  config.limits.submitsPerSecond = 0;
  return config;
}

TStorePool::TOpener THiscoreFixture::Opener() const {
  return GetParam() == "postgresql" ? StoreOpener<TPostgresStore>(location)
                                    : StoreOpener<TSqliteStore>(location);
}

std::unique_ptr<TStorePool> THiscoreFixture::NewPool() const {
  return std::make_unique<TStorePool>(Opener());
}

std::unique_ptr<TScoreStore> THiscoreFixture::OpenStore() {
  std::string error;
  std::unique_ptr<TScoreStore> store = Opener()(&error);
  EXPECT_TRUE(store) << error;
  return store;
}

void THiscoreFixture::Restart(const THiscoreConfig& config) {
  handler.reset();
  service.reset();
  stores = NewPool();
  service = std::make_unique<THiscoreService>(config, *stores, [this] { return now; });
  handler = std::make_unique<THiscoreRequestHandler>(*service, nullptr);
}

TServerReply THiscoreFixture::Send(const TParameterList& parameters, const std::string& peer,
                                   const std::string& method) {
  TServerRequest request;
  request.method = method;
  request.path = "/go/hiscore";
  request.parameters = parameters;
  request.peerAddress = peer;
  return handler->Handle(request);
}

TGameAnswer THiscoreFixture::Submit(const TGameScore& score) {
  return ReadAnswer(Send(SubmitRequest(Encipher(GameScoreXml(score)))).body);
}

TGameAnswer THiscoreFixture::Scores(const std::string& type,
                                    const std::optional<std::string>& table,
                                    const std::string& username) {
  return ReadAnswer(Send(ScoresRequest(type, table, username)).body);
}

size_t THiscoreFixture::StoredScores(const std::string& type) {
  std::unique_ptr<TScoreStore> store = OpenStore();
  std::vector<TStoredScore> scores;
  if (!store || !store->TopScores({kGame, type}, 0, 100000, scores)) return size_t(-1);
  return scores.size();
}

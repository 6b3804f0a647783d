// The server's small parts: periods, value checks, configuration, rate limits, schema
// versions.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "online/server/field_rules.h"
#include "online/server/hiscore_config.h"
#include "online/server/rate_limiter.h"
#include "online/server/score_period.h"
#include "online/server/sqlite_store.h"

#include <sqlite3.h>

TEST(ScorePeriodTest, PeriodsStartAtUtcMidnightMondayAndTheFirst) {
  const int64_t wednesdayMorning = 1714550400 + 3600;                        // 2024-05-01 09:00 UTC
  EXPECT_EQ(PeriodStart(TScorePeriod::kDay, wednesdayMorning), 1714521600);  // 05-01 00:00
  EXPECT_EQ(PeriodStart(TScorePeriod::kWeek, wednesdayMorning), 1714348800);   // 04-29 Mon
  EXPECT_EQ(PeriodStart(TScorePeriod::kMonth, wednesdayMorning), 1714521600);  // 05-01
  EXPECT_EQ(PeriodStart(TScorePeriod::kMonth, 1714521600 - 1), 1711929600);    // 04-01
  EXPECT_EQ(PeriodStart(TScorePeriod::kAllTime, wednesdayMorning), 0);
  // A Monday starts its own week; a Sunday belongs to the week before.
  EXPECT_EQ(PeriodStart(TScorePeriod::kWeek, 1714348800), 1714348800);
  EXPECT_EQ(PeriodStart(TScorePeriod::kWeek, 1714348800 - 1), 1714348800 - 7 * 86400);
}

TEST(FieldRulesTest, NumbersAreStrictDecimals) {
  EXPECT_EQ(ParseDecimal("500", 1, 500), 500);
  EXPECT_EQ(ParseDecimal("-7", -10, 10), -7);
  for (const char* bad : {"", "-", "+5", " 5", "5 ", "0x10", "1e3", "501", "999999999999999999999"})
    EXPECT_FALSE(ParseDecimal(bad, 1, 500)) << bad;
}

TEST(FieldRulesTest, EightBitTextSurvivesTheDatabaseForm) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(all)), all);
  EXPECT_EQ(Utf8ToLatin1("\xe2\x82\xac!"), "?!");  // beyond 8 bits
  EXPECT_EQ(NameKey("AdA \xc9"), "ada \xc9");
  EXPECT_FALSE(IsName("   ", 40));
  EXPECT_FALSE(IsPlainText("a\x7f", 40));
  EXPECT_TRUE(IsGuid("0123456789abcdef0123456789ABCDEF"));
  EXPECT_FALSE(IsGuid("0123456"));
}

TEST(HiscoreConfigTest, FileReplacesGamesAndTablesAndKeepsTheRest) {
  THiscoreConfig config = THiscoreConfig::Default();
  std::string error;
  ASSERT_TRUE(
      ReadHiscoreConfig("<hiscored><server port=\"9000\" trustedproxy=\"127.0.0.1, ::1\"/>"
                        "<game handle=\"other\" key=\"abc\"><mode name=\"m1\"/></game>"
                        "<table id=\"ever\" name=\"Ever\" period=\"all\"/>"
                        "<limits rows=\"50\" reads=\"0.5\"/></hiscored>",
                        config, error))
      << error;
  EXPECT_EQ(config.port, 9000);
  EXPECT_EQ(config.address, "127.0.0.1");
  EXPECT_EQ(config.trustedProxies, (std::vector<std::string>{"127.0.0.1", "::1"}));
  ASSERT_EQ(config.games.size(), 1u);
  EXPECT_TRUE(config.games[0].HasMode("m1"));
  EXPECT_EQ(config.tables.size(), 1u);
  EXPECT_EQ(config.limits.tableRows, 50);
  EXPECT_DOUBLE_EQ(config.limits.readsPerSecond, 0.5);
  EXPECT_DOUBLE_EQ(config.limits.submitsPerSecond, 2);  // untouched
}

TEST(HiscoreConfigTest, TheShippedExampleSaysWhatTheDefaultsAre) {
  std::ifstream in(std::string(MC_SOURCE_DIR) + "/online/server/hiscored.example.xml");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  THiscoreConfig config;
  std::string error;
  ASSERT_TRUE(ReadHiscoreConfig(text, config, error)) << error;
  const THiscoreConfig defaults = THiscoreConfig::Default();
  ASSERT_EQ(config.games.size(), 1u);
  EXPECT_EQ(config.games[0].handle, defaults.games[0].handle);
  EXPECT_EQ(config.games[0].key, defaults.games[0].key);
  EXPECT_EQ(config.games[0].modes, defaults.games[0].modes);
  ASSERT_EQ(config.tables.size(), defaults.tables.size());
  for (size_t i = 0; i < config.tables.size(); ++i) {
    EXPECT_EQ(config.tables[i].id, defaults.tables[i].id);
    EXPECT_EQ(config.tables[i].period, defaults.tables[i].period);
  }
  EXPECT_EQ(config.threads, defaults.threads);
  EXPECT_EQ(config.limits.tableRows, defaults.limits.tableRows);
  EXPECT_EQ(config.limits.submitBurst, defaults.limits.submitBurst);
  EXPECT_EQ(config.passwordCost.memLimit, defaults.passwordCost.memLimit);
}

TEST(HiscoreConfigTest, UnusableFilesAreRefusedWithAReason) {
  for (const char* text : {"", "<other/>", "<hiscored><server port=\"70000\"/></hiscored>",
                           "<hiscored><game handle=\"g\"/></hiscored>",
                           "<hiscored><game handle=\"g\" key=\"k\"></game></hiscored>",
                           "<hiscored><table id=\"t\" name=\"T\" period=\"year\"/></hiscored>",
                           "<hiscored><limits reads=\"fast\"/></hiscored>",
                           "<hiscored><game handle=\"g\" key=\"k\"><mode name=\"m\"/></game>"
                           "<game handle=\"g\" key=\"k\"><mode name=\"m\"/></game></hiscored>"}) {
    THiscoreConfig config = THiscoreConfig::Default();
    std::string error;
    EXPECT_FALSE(ReadHiscoreConfig(text, config, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(RateLimiterTest, BurstThenSteadyRatePerAddress) {
  TRateLimiter limiter(2, 3);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(limiter.Allow("a", 100.0));
  EXPECT_FALSE(limiter.Allow("a", 100.0));
  EXPECT_TRUE(limiter.Allow("b", 100.0));
  EXPECT_TRUE(limiter.Allow("a", 100.5));  // one token back after half a second
  EXPECT_FALSE(limiter.Allow("a", 100.5));
  EXPECT_FALSE(limiter.Allow("a", 90.0));  // a clock going back gives nothing
  // Buckets that have filled up again are forgotten.
  EXPECT_TRUE(limiter.Allow("c", 1000.0));
  EXPECT_EQ(limiter.TrackedAddresses(), 1u);
  EXPECT_TRUE(TRateLimiter(0, 0).Allow("a", 0));
}

TEST(SqliteStoreTest, ANewerSchemaIsNotOpenedAndAnOldFileKeepsItsScores) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("hiscore_schema_" + std::to_string(::getpid()) + ".db");
  std::filesystem::remove(file);
  {
    TSqliteStore store(file.string());
    ASSERT_TRUE(store.Opened()) << store.LastError();
    TStoredScore score;
    score.guid = "00000001";
    score.name = "kept";
    EXPECT_EQ(store.AddScore({"g", "m"}, score, nullptr), TAddScoreResult::kStored);
  }
  {
    TSqliteStore reopened(file.string());
    std::vector<TStoredScore> scores;
    ASSERT_TRUE(reopened.TopScores({"g", "m"}, 0, 10, scores));
    ASSERT_EQ(scores.size(), 1u);
    EXPECT_EQ(scores[0].name, "kept");
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "UPDATE meta SET value = '99' WHERE key = 'schema_version'", nullptr, nullptr,
               nullptr);
  sqlite3_close(db);
  TSqliteStore newer(file.string());
  EXPECT_FALSE(newer.Opened());
  EXPECT_NE(newer.LastError().find("newer"), std::string::npos) << newer.LastError();
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix);
}

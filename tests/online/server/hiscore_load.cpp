// Load test of hiscored on 127.0.0.1: many kept-alive connections send the game's
// requests as fast as the server answers, bounded in count and time. Two phases:
//   reads  only score downloads ("get", 500-row requests of seeded tables)
//   mixed  get 85 %, tables 5 %, submit 10 % (0.5 % of all with an account password)
// It prints throughput and latency percentiles per request kind, then checks the
// database: every acknowledged score stored once, nothing lost, nothing doubled.
//
//   hiscore_load [--connections 64] [--requests 20000] [--seconds 120] [--seed-scores 200]
//                [--server-threads 16] [--get-share 85] [--phase reads|mixed|both]
//
// It starts its own hiscored (the build's, SQLite in a scratch folder) and stops it.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "online/server/sqlite_store.h"
#include "tests/online/server/game_requests.h"
#include "tests/online/server/hiscored_process.h"
#include "tests/online/server/http_test_client.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct TOptions {
  int connections = 64;
  int requests = 20000;
  int seconds = 120;
  int seedScores = 200;
  int serverThreads = 16;
  int getShare = 85;  // per cent of the mixed phase; tables 5 %, the rest submits
  std::string phase = "both";
};

enum TKind { kGet, kTables, kSubmit, kAccountSubmit, kKinds };
const char* const kKindNames[kKinds] = {"get", "tables", "submit", "submit+password"};

struct TSample {
  TKind kind;
  double ms;
  bool ok;
};

struct TPhaseResult {
  std::vector<TSample> samples;
  std::vector<std::string> acknowledged;  // guids of answered submits
  std::vector<std::string> sent;          // guids of every submit sent
  double seconds = 0;
};

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t index = std::min(values.size() - 1, size_t(p * double(values.size())));
  return values[index];
}

TGameScore Score(const std::string& guid, int value, bool withPassword, int account) {
  TGameScore score;
  score.guid = guid;
  score.name = "player" + std::to_string(account);
  if (withPassword) score.password = "password" + std::to_string(account);
  score.score = value;
  score.data = "level=" + std::to_string(value % 50);
  score.version = "1.0.0.0";
  return score;
}

TPhaseResult RunPhase(const std::string& url, const TOptions& options, bool mixed, int phaseId) {
  TPhaseResult result;
  std::atomic<int> next{0};
  std::mutex mutex;
  const auto deadline = Clock::now() + std::chrono::seconds(options.seconds);
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  for (int c = 0; c < options.connections; ++c) {
    threads.emplace_back([&, c] {
      THttpTestClient client;
      std::mt19937 random(unsigned(c * 7919 + phaseId));
      std::vector<TSample> samples;
      std::vector<std::string> acknowledged, sent;
      for (int i = next++; i < options.requests && Clock::now() < deadline; i = next++) {
        const int roll = int(random() % 1000);
        const int gets = options.getShare * 10;
        TKind kind = kGet;
        if (mixed) {
          kind = roll < gets        ? kGet
                 : roll < gets + 50 ? kTables
                 : roll < 995       ? kSubmit
                                    : kAccountSubmit;
        }
        TParameterList request;
        std::string guid;
        switch (kind) {
          case kGet: {
            static const char* const kTables[] = {"alltime", "month", "week", "day"};
            request = ScoresRequest(random() % 2 ? kAdventure : kWeb, kTables[random() % 4],
                                    "player" + std::to_string(random() % 50));
            break;
          }
          case kTables:
            request = TablesRequest();
            break;
          default: {
            char text[40];
            std::snprintf(text, sizeof text, "load%d%03d%08d", phaseId, c, i);
            guid = text;
            const TGameScore score =
                Score(guid, int(random() % 100000), kind == kAccountSubmit, int(random() % 50));
            request = SubmitRequest(Encipher(GameScoreXml(score)));
            sent.push_back(guid);
            break;
          }
        }
        const auto begin = Clock::now();
        const THttpTestReply reply = client.Get(url, request, 30000);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
        // Reading a 500-row answer with the game's XML reader costs more than answering it;
        // scores answers are only checked for their table element.
        const bool ok = reply.ok && reply.status == 200 &&
                        (kind == kGet ? reply.body.find("<scores") != std::string::npos
                                      : !ReadAnswer(reply.body).Failed());
        samples.push_back({kind, ms, ok});
        if (ok && !guid.empty()) acknowledged.push_back(guid);
      }
      std::lock_guard lock(mutex);
      result.samples.insert(result.samples.end(), samples.begin(), samples.end());
      result.acknowledged.insert(result.acknowledged.end(), acknowledged.begin(),
                                 acknowledged.end());
      result.sent.insert(result.sent.end(), sent.begin(), sent.end());
    });
  }
  for (std::thread& thread : threads) thread.join();
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return result;
}

void Report(const char* phase, const TPhaseResult& result) {
  std::printf("\n%s: %zu requests in %.2f s = %.0f requests/s\n", phase, result.samples.size(),
              result.seconds, double(result.samples.size()) / result.seconds);
  std::vector<double> all;
  for (const TSample& sample : result.samples) all.push_back(sample.ms);
  std::printf("  %-16s %7s %9s %9s %9s %9s %7s\n", "kind", "count", "per s", "p50 ms", "p99 ms",
              "max ms", "failed");
  for (int kind = 0; kind <= kKinds; ++kind) {
    std::vector<double> times;
    size_t failed = 0;
    for (const TSample& sample : result.samples) {
      if (kind != kKinds && sample.kind != kind) continue;
      times.push_back(sample.ms);
      failed += !sample.ok;
    }
    if (times.empty()) continue;
    std::printf("  %-16s %7zu %9.0f %9.2f %9.2f %9.2f %7zu\n",
                kind == kKinds ? "all" : kKindNames[kind], times.size(),
                double(times.size()) / result.seconds, Percentile(times, 0.5),
                Percentile(times, 0.99), Percentile(times, 1.0), failed);
  }
}

// Every acknowledged guid stored exactly once; answers false (after saying why) if not.
bool CheckStored(const fs::path& database, const std::vector<std::string>& acknowledged,
                 const std::vector<std::string>& sent, size_t seeded) {
  TSqliteStore store(database.string());
  std::multiset<std::string> stored;
  for (const char* mode : {kAdventure, kWeb}) {
    std::vector<TStoredScore> scores;
    if (!store.Opened() || !store.TopScores({kGame, mode}, 0, 100000000, scores)) {
      std::printf("cannot read the database: %s\n", store.LastError().c_str());
      return false;
    }
    for (const TStoredScore& score : scores) stored.insert(score.guid);
  }
  size_t lost = 0;
  for (const std::string& guid : acknowledged) lost += stored.count(guid) == 0;
  const size_t distinct = std::set<std::string>(stored.begin(), stored.end()).size();
  std::printf(
      "\nscores: %zu seeded, %zu submits sent; %zu acknowledged (seeded included), "
      "stored %zu, lost %zu, duplicated %zu\n",
      seeded, sent.size(), acknowledged.size(), stored.size(), lost, stored.size() - distinct);
  return lost == 0 && stored.size() == distinct && stored.size() <= seeded + sent.size();
}

bool ReadOptions(int argc, char** argv, TOptions& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    if (name == "--connections")
      options.connections = std::max(1, std::atoi(value.c_str()));
    else if (name == "--requests")
      options.requests = std::max(1, std::atoi(value.c_str()));
    else if (name == "--seconds")
      options.seconds = std::max(1, std::atoi(value.c_str()));
    else if (name == "--seed-scores")
      options.seedScores = std::max(0, std::atoi(value.c_str()));
    else if (name == "--server-threads")
      options.serverThreads = std::max(1, std::atoi(value.c_str()));
    else if (name == "--phase")
      options.phase = value;
    else
      return false;
  }
  return argc % 2 == 1;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ReadOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: hiscore_load [--connections N] [--requests N] [--seconds N] "
                 "[--seed-scores N] [--server-threads N] [--get-share PERCENT] "
                 "[--phase reads|mixed|both]\n");
    return 2;
  }
  const fs::path folder = fs::temp_directory_path() / ("hiscore_load_" + std::to_string(getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  // Rate limits off: every connection comes from 127.0.0.1.
  std::ofstream(folder / "load.xml") << "<hiscored><limits reads=\"0\" submits=\"0\"/></hiscored>";
  THiscoredProcess server;
  if (!server.Start(
          MC_HISCORED_PATH,
          {"--db", (folder / "hiscore.db").string(), "--config", (folder / "load.xml").string(),
           "--threads", std::to_string(options.serverThreads), "--access-log",
           (folder / "access.log").string()},
          (folder / "stderr").string())) {
    std::fprintf(stderr, "hiscored did not start:\n%s", server.Errors().c_str());
    return 1;
  }
  std::printf("hiscored on 127.0.0.1:%d (SQLite, %d threads); %d connections, %d cores here\n",
              server.Port(), options.serverThreads, options.connections,
              int(std::thread::hardware_concurrency()));

  // Seed both modes so that every table has rows to send.
  THttpTestClient seeder;
  std::vector<std::string> seeded;
  for (int i = 0; i < options.seedScores; ++i) {
    TGameScore score = Score("seed" + std::to_string(100000 + i), i * 37 % 9973, false, i % 50);
    score.type = i % 2 ? kWeb : kAdventure;
    const THttpTestReply reply =
        seeder.Get(server.Url(), SubmitRequest(Encipher(GameScoreXml(score))));
    if (reply.status == 200) seeded.push_back(score.guid);
  }

  std::vector<std::string> acknowledged, sent;
  if (options.phase != "mixed") {
    const TPhaseResult reads = RunPhase(server.Url(), options, false, 1);
    Report("reads (get only)", reads);
  }
  if (options.phase != "reads") {
    const TPhaseResult mixed = RunPhase(server.Url(), options, true, 2);
    const std::string title = "mixed (get " + std::to_string(options.getShare) +
                              " %, tables 5 %, submit " + std::to_string(95 - options.getShare) +
                              " % of which 0.5 points with a password)";
    Report(title.c_str(), mixed);
    acknowledged = mixed.acknowledged;
    sent = mixed.sent;
  }
  const int stopped = server.Terminate();
  acknowledged.insert(acknowledged.end(), seeded.begin(), seeded.end());
  const bool intact = CheckStored(folder / "hiscore.db", acknowledged, sent, seeded.size());
  fs::remove_all(folder);
  if (stopped != 0) std::printf("hiscored did not stop cleanly (%d)\n", stopped);
  return intact && stopped == 0 ? 0 : 1;
}

// hiscored: the high-score server of the game.
//
//   hiscored [--db PATH|postgresql://...] [--port N] [--address A] [--config FILE]
//            [--threads N] [--access-log FILE|-]
//
// Without options it serves this game on 127.0.0.1:8642 from the SQLite file
// "hiscore.db" in $STATE_DIRECTORY (set by systemd) or else the current folder. It stops
// cleanly on SIGTERM or SIGINT: no new connections, the requests in progress answered.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "online/server/field_rules.h"
#include "online/server/hiscore_server.h"
#include "online/server/os_services.h"
#include "online/server/postgres_store.h"
#include "online/server/sqlite_store.h"

namespace {

constexpr char kUsage[] =
    "usage: hiscored [--db PATH|postgresql://...] [--port N] [--address A] [--config FILE]\n"
    "                [--threads N] [--access-log FILE|-]\n";

struct TOptions {
  std::string database;
  std::string configFile;
  std::string accessLog = "-";
  std::optional<int64_t> port;
  std::optional<int64_t> threads;
  std::string address;
};

bool IsPostgresAddress(const std::string& database) {
  return database.starts_with("postgresql://") || database.starts_with("postgres://") ||
         database.find("dbname=") != std::string::npos;
}

std::string DefaultDatabase() {
  const char* state = std::getenv("STATE_DIRECTORY");
  return state && *state ? std::string(state) + "/hiscore.db" : "hiscore.db";
}

// False (after printing why) when the command line cannot be used.
bool ReadOptions(int argc, char** argv, TOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "hiscored: %s needs a value\n%s", option.c_str(), kUsage);
      return false;
    }
    const std::string value = argv[++i];
    if (option == "--db") {
      options.database = value;
    } else if (option == "--config") {
      options.configFile = value;
    } else if (option == "--access-log") {
      options.accessLog = value;
    } else if (option == "--address") {
      options.address = value;
    } else if (option == "--port" && (options.port = ParseDecimal(value, 0, 65535))) {
    } else if (option == "--threads" && (options.threads = ParseDecimal(value, 1, 256))) {
    } else {
      std::fprintf(stderr, "hiscored: cannot use %s %s\n%s", option.c_str(), value.c_str(), kUsage);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  if (!ReadOptions(argc, argv, options)) return 2;

  THiscoreConfig config = THiscoreConfig::Default();
  if (!options.configFile.empty()) {
    std::ifstream in(options.configFile, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    if (!in) error = "cannot read the file";
    if (!error.empty() || !ReadHiscoreConfig(text, config, error)) {
      std::fprintf(stderr, "hiscored: %s: %s\n", options.configFile.c_str(), error.c_str());
      return 2;
    }
  }
  if (options.port) config.port = int(*options.port);
  if (options.threads) config.threads = int(*options.threads);
  if (!options.address.empty()) config.address = options.address;
  const std::string database = options.database.empty() ? DefaultDatabase() : options.database;

  const bool postgres = IsPostgresAddress(database);
  TStorePool::TOpener open =
      postgres ? StoreOpener<TPostgresStore>(database) : StoreOpener<TSqliteStore>(database);

  // Before any thread starts, so that only the waiting main thread receives them.
  BlockStopSignals();
  THiscoreServer server(config, open, options.accessLog);
  std::string error;
  if (!server.Start(error)) {
    std::fprintf(stderr, "hiscored: %s\n", error.c_str());
    return 1;
  }
  std::fprintf(stderr, "hiscored: listening on %s port %d, %s database %s\n",
               config.address.c_str(), server.Port(), postgres ? "PostgreSQL" : "SQLite",
               postgres ? "(connection string not shown)" : database.c_str());
  const std::string signal = WaitForStopSignal();
  std::fprintf(stderr, "hiscored: %s received, stopping\n", signal.c_str());
  server.Stop();
  std::fprintf(stderr, "hiscored: stopped\n");
  return 0;
}

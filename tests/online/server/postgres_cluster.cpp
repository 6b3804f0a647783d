#include "tests/online/server/postgres_cluster.h"

#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace fs = std::filesystem;

namespace {

std::string gUnavailable;

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  return out + "'";
}

// The newest installed server's program folder, e.g. /usr/lib/postgresql/15/bin.
std::string FindBinDir() {
  std::string best;
  int bestVersion = -1;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", error)) {
    const fs::path bin = entry.path() / "bin";
    const int version = std::atoi(entry.path().filename().c_str());
    if (fs::exists(bin / "initdb") && fs::exists(bin / "pg_ctl") && version > bestVersion) {
      bestVersion = version;
      best = bin.string();
    }
  }
  return best;
}

// A port nobody listens on right now.
int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

bool Execute(const std::string& conninfo, const std::string& sql, std::string& error) {
  PGconn* connection = PQconnectdb(conninfo.c_str());
  bool ok = PQstatus(connection) == CONNECTION_OK;
  if (ok) {
    PGresult* result = PQexec(connection, sql.c_str());
    ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
  }
  if (!ok) error = PQerrorMessage(connection);
  PQfinish(connection);
  return ok;
}

}  // namespace

TPostgresCluster* TPostgresCluster::Shared() {
  static std::once_flag once;
  static std::unique_ptr<TPostgresCluster> cluster;
  std::call_once(once, [] {
    std::unique_ptr<TPostgresCluster> starting(new TPostgresCluster);
    std::string error;
    if (starting->Start(error)) {
      cluster = std::move(starting);
    } else {
      gUnavailable = error;
    }
  });
  return cluster.get();
}

const std::string& TPostgresCluster::Unavailable() {
  return gUnavailable;
}

bool TPostgresCluster::RunAsOwner(const std::string& command) const {
  const std::string line =
      mOwnerPrefix + "sh -c " + Quoted(command) + " >>" + Quoted(mFolder + "/setup.log") + " 2>&1";
  return std::system(line.c_str()) == 0;
}

bool TPostgresCluster::Start(std::string& error) {
  mBinDir = FindBinDir();
  if (mBinDir.empty()) {
    error = "the PostgreSQL server programs are not installed (Debian package postgresql)";
    return false;
  }
  char folderTemplate[] = "/tmp/hiscore_pg_XXXXXX";
  if (!mkdtemp(folderTemplate)) {
    error = "cannot make a temporary folder";
    return false;
  }
  mFolder = folderTemplate;
  if (geteuid() == 0) {
    // PostgreSQL refuses to run as root: the cluster belongs to an unprivileged user.
    const passwd* owner = getpwnam("postgres");
    if (!owner) owner = getpwnam("nobody");
    if (!owner) {
      error = "running as root, and there is no unprivileged user to run PostgreSQL";
      return false;
    }
    if (chown(mFolder.c_str(), owner->pw_uid, owner->pw_gid) != 0) {
      error = "cannot hand the cluster's folder to " + std::string(owner->pw_name);
      return false;
    }
    mOwnerPrefix = "setpriv --reuid=" + std::to_string(owner->pw_uid) +
                   " --regid=" + std::to_string(owner->pw_gid) + " --clear-groups -- ";
  }
  const std::string data = mFolder + "/data";
  if (!RunAsOwner(Quoted(mBinDir + "/initdb") + " -D " + Quoted(data) +
                  " -A trust -U hiscore -E UTF8 --locale=C --no-sync")) {
    error = "initdb failed (see " + mFolder + "/setup.log)";
    return false;
  }
  // The port is free when chosen, but another program may take it before the server
  // binds it: try a few.
  for (int attempt = 0; attempt < 3 && !mStarted; ++attempt) {
    mPort = FreePort();
    const std::string settings = "-c listen_addresses=127.0.0.1 -p " + std::to_string(mPort) +
                                 " -k " + mFolder + " -c fsync=off -c full_page_writes=off";
    mStarted =
        RunAsOwner(Quoted(mBinDir + "/pg_ctl") + " -D " + Quoted(data) + " -l " +
                   Quoted(mFolder + "/server.log") + " -o " + Quoted(settings) + " -w -t 60 start");
  }
  if (!mStarted) {
    error = "the PostgreSQL server did not start (see " + mFolder + "/server.log)";
    return false;
  }
  // Should this program die without stopping the cluster, the watchdog does it.
  const std::string watchdog =
      // /proc rather than kill -0: the watchdog runs as the cluster's owner, who may not
      // signal this program.
      "while [ -e /proc/" + std::to_string(getpid()) + " ]; do sleep 1; done; " +
      Quoted(mBinDir + "/pg_ctl") + " -D " + Quoted(data) + " -m immediate stop; rm -rf " +
      Quoted(mFolder);
  const std::string detached =
      "setsid " + mOwnerPrefix + "sh -c " + Quoted(watchdog) + " >/dev/null 2>&1 </dev/null &";
  std::system(detached.c_str());
  return true;
}

TPostgresCluster::~TPostgresCluster() {
  if (mStarted) {
    RunAsOwner(Quoted(mBinDir + "/pg_ctl") + " -D " + Quoted(mFolder + "/data") +
               " -m immediate -w stop");
  }
  if (!mFolder.empty()) {
    std::error_code error;
    fs::remove_all(mFolder, error);
  }
}

std::string TPostgresCluster::AdminConninfo() const {
  return "host=127.0.0.1 port=" + std::to_string(mPort) + " user=hiscore dbname=postgres";
}

std::string TPostgresCluster::NewDatabase() {
  const std::string name = "hiscore_test_" + std::to_string(++mDatabases);
  std::string error;
  Execute(AdminConninfo(), "CREATE DATABASE " + name, error);
  return "host=127.0.0.1 port=" + std::to_string(mPort) + " user=hiscore dbname=" + name;
}

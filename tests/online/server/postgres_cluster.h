// TPostgresCluster: a throwaway PostgreSQL cluster for the tests, in a folder of its own
// under the temporary folder, listening on 127.0.0.1 only, with trust authentication.
// It needs the server programs (Debian's postgresql package); when they are missing the
// tests that want it skip with Unavailable()'s reason. Started as the calling user, or,
// when that is root (which PostgreSQL refuses), as the "postgres" user or "nobody".
// A watchdog process stops the cluster and removes its folder should the test program
// end without doing so (a crash).
#pragma once

#include <memory>
#include <string>

class TPostgresCluster {
 public:
  // The cluster of this test program, started on first use; null when it cannot run
  // here (then Unavailable() says why).
  static TPostgresCluster* Shared();
  static const std::string& Unavailable();

  ~TPostgresCluster();

  // A new, empty database; answers its libpq connection string.
  std::string NewDatabase();
  // The connection string of the cluster's "postgres" database, for administration.
  std::string AdminConninfo() const;

 private:
  TPostgresCluster() = default;
  bool Start(std::string& error);
  // Runs a shell command as the cluster's owner; true when it exits with 0.
  bool RunAsOwner(const std::string& command) const;

  std::string mBinDir;
  std::string mFolder;
  std::string mOwnerPrefix;  // "setpriv ... --" when running as root
  int mPort = 0;
  int mDatabases = 0;
  bool mStarted = false;
};

#include "online/server/hiscore_server.h"

#include <chrono>
#include <cstdio>

THiscoreServer::THiscoreServer(const THiscoreConfig& config, TStorePool::TOpener openStore,
                               const std::string& accessLog)
    : mConfig(config),
      mStores(std::move(openStore)),
      mService(mConfig, mStores),
      mHandler(mService, &mMetrics),
      mAccessLog(accessLog),
      mHttp([this](const TServerRequest& request) { return Answer(request); }) {}

bool THiscoreServer::Start(std::string& error) {
  if (!mAccessLog.Opened()) {
    error = "cannot open the access log";
    return false;
  }
  {
    // The first store creates the schema, and proves the database usable before the
    // server takes requests.
    TStorePool::TLease store = mStores.Acquire(&error);
    if (!store) return false;
  }
  THttpServerOptions options;
  options.address = mConfig.address;
  options.port = mConfig.port;
  options.threads = mConfig.threads;
  return mHttp.Start(options, error);
}

TServerReply THiscoreServer::Answer(const TServerRequest& request) {
  const auto start = std::chrono::steady_clock::now();
  TServerReply reply = mHandler.Handle(request);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  mMetrics.Record(reply.action, reply.outcome, reply.reason, seconds);
  mAccessLog.Write(request, mHandler.ClientAddress(request), reply, seconds);
  if (!reply.detail.empty()) std::fprintf(stderr, "hiscored: database: %s\n", reply.detail.c_str());
  return reply;
}

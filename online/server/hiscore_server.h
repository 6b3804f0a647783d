// THiscoreServer: one running high-score server: the store pool, the service, the
// request handler, the counters, the access log and the HTTP listener, put together.
// hiscored runs one; tests run one in-process on a free port of 127.0.0.1.
#pragma once

#include <memory>
#include <string>

#include "online/server/access_log.h"
#include "online/server/hiscore_config.h"
#include "online/server/hiscore_request_handler.h"
#include "online/server/hiscore_service.h"
#include "online/server/http_server.h"
#include "online/server/server_metrics.h"
#include "online/server/store_pool.h"

class THiscoreServer {
 public:
  // accessLog: a file name, "-" for standard output, "" for none.
  THiscoreServer(const THiscoreConfig& config, TStorePool::TOpener openStore,
                 const std::string& accessLog);

  // Opens the database (creating its schema when it is new), then listens on the
  // configuration's address and port. False with the reason in error.
  bool Start(std::string& error);
  int Port() const { return mHttp.Port(); }
  // Stops listening after the requests in progress have been answered.
  void Stop() { mHttp.Stop(); }

  // The handler with counters and access log, as the listener calls it.
  TServerReply Answer(const TServerRequest& request);

 private:
  THiscoreConfig mConfig;
  TStorePool mStores;
  THiscoreService mService;
  TServerMetrics mMetrics;
  THiscoreRequestHandler mHandler;
  TAccessLog mAccessLog;
  THttpServer mHttp;
};

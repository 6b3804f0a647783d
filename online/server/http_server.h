// THttpServer: the HTTP listener of hiscored, on libmicrohttpd. The library parses
// requests and decodes the query; each request is handed, as a TServerRequest, to the
// handler function on one of the library's worker threads, and the TServerReply it returns
// is sent back. The library caps what a client may send (header memory, connections per
// address, idle time).
#pragma once

#include <functional>
#include <string>

#include "online/server/hiscore_request_handler.h"

struct MHD_Daemon;

struct THttpServerOptions {
  std::string address = "127.0.0.1";
  int port = 8642;  // 0: any free port (see Port())
  int threads = 4;
  size_t connectionMemory = 32 * 1024;  // per connection: request line, headers, query
  unsigned connectionLimit = 1024;
  unsigned connectionsPerAddress = 128;
  unsigned idleTimeoutSeconds = 30;
};

class THttpServer {
 public:
  // Runs for every request; must be safe to call from several threads at once.
  using THandler = std::function<TServerReply(const TServerRequest&)>;

  explicit THttpServer(THandler handler) : mHandler(std::move(handler)) {}
  ~THttpServer() { Stop(); }
  THttpServer(const THttpServer&) = delete;
  THttpServer& operator=(const THttpServer&) = delete;

  // False with the reason in error when the address cannot be listened on.
  bool Start(const THttpServerOptions& options, std::string& error);
  // The port listened on (the one chosen by the system when 0 was asked for).
  int Port() const { return mPort; }
  // Stops accepting, lets the requests in progress finish, then ends the threads.
  void Stop();

  // The library's entry point; public only to be reachable from its callback.
  TServerReply Answer(TServerRequest& request) const { return mHandler(request); }

 private:
  THandler mHandler;
  MHD_Daemon* mDaemon = nullptr;
  int mPort = 0;
};

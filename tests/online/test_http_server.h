// A small HTTP/1.1 server on 127.0.0.1 for the online tests. It records every request and
// answers each as a handler says: a normal response, a slow one, a connection dropped
// before or during the reply, or no answer at all until the server stops. With a TLS
// identity it speaks HTTPS with a freshly made self-signed certificate.
//
// Every wait is bounded: connections are polled every few milliseconds for the stop flag,
// and the destructor ends and joins every thread.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TTestRequest {
  std::string method;
  std::string target;                          // path and query as sent
  std::map<std::string, std::string> headers;  // names lower-cased
  std::string body;
};

struct TTestReply {
  enum TKind {
    kRespond,       // status line, headers and body
    kCloseAtOnce,   // close the connection without answering
    kCloseMidBody,  // announce the whole body, send half of it, close
    kNeverAnswer,   // keep the connection open, silent, until the server stops
  };
  TKind kind = kRespond;
  int status = 200;
  std::string body;
  std::string contentType = "text/xml";
  // The body goes out in pieces of chunkBytes with delayMs between them (0: at once).
  size_t chunkBytes = 0;
  unsigned delayMs = 0;
};

using TTestHandler = std::function<TTestReply(const TTestRequest&)>;

// A key and a self-signed certificate for one host name or address.
class TTestTlsIdentity {
 public:
  // subject: an IP address ("127.0.0.1") or a DNS name ("wrong.invalid").
  explicit TTestTlsIdentity(const std::string& subject);
  ~TTestTlsIdentity();
  void* Context() const { return mContext; }  // the server's SSL_CTX

 private:
  void* mContext = nullptr;
};

class TTestHttpServer {
 public:
  explicit TTestHttpServer(TTestHandler handler, const TTestTlsIdentity* tls = nullptr);
  ~TTestHttpServer();
  TTestHttpServer(const TTestHttpServer&) = delete;
  TTestHttpServer& operator=(const TTestHttpServer&) = delete;

  int Port() const { return mPort; }
  // "http://127.0.0.1:PORT" + path (https with a TLS identity).
  std::string Url(const std::string& path) const;

  std::vector<TTestRequest> Requests() const;
  // Connections accepted so far (including ones that never sent a whole request).
  int Connections() const { return mConnections.load(); }

 private:
  class TConnection;
  void AcceptLoop();
  void Serve(int fd);

  TTestHandler mHandler;
  const TTestTlsIdentity* mTls;
  int mListenFd = -1;
  int mPort = 0;
  std::atomic<bool> mStop{false};
  std::atomic<int> mConnections{0};
  std::thread mAcceptThread;
  mutable std::mutex mMutex;
  std::vector<TTestRequest> mRequests;
  std::vector<std::thread> mWorkers;
};

// Decodes %XX sequences (and nothing else) of a query value.
std::string PercentDecode(const std::string& text);

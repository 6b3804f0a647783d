// THttpTransport: what the HTTP client needs of the platform's network layer. One transfer
// is one blocking call on the request's own thread; the platform implementation (libcurl,
// platform/online/) is the process's shared session and must allow calls from several
// threads at once.
#pragma once

#include <cstddef>
#include <string>

// One request, fully described, handed to the transport.
struct THttpTransfer {
  std::string url;       // http:// or https://; the query is already encoded
  bool post = false;     // POST the body (form-encoded) instead of GET
  std::string postBody;  // already encoded
  // HTTPS relaxations for test servers; both off unless the player's settings ask for them.
  bool acceptUnknownAuthority = false;  // a certificate no trusted authority signed
  bool acceptWrongHostName = false;     // a certificate issued to another host
  unsigned connectTimeoutMs = 10000;    // until the connection (and TLS) is up
  unsigned totalTimeoutMs = 30000;      // for the whole transfer
};

// Receives the response body while the transfer runs; both calls come from the transfer's
// thread.
class THttpReceiver {
 public:
  virtual ~THttpReceiver() = default;
  // One piece of the body, at most kHttpChunkBytes long. False stops the transfer.
  virtual bool Receive(const char* data, size_t size) = 0;
  // Asked while the transfer waits for the network; true stops it soon after.
  virtual bool Cancelled() const = 0;
};

// Bytes handed to Receive at a time: the transport reads the body in pieces of this size.
inline constexpr size_t kHttpChunkBytes = 32768;

struct THttpResult {
  bool ok = false;         // the whole response arrived
  bool connected = false;  // the server answered at all (false: connecting failed)
  int errorCode = 0;       // the transport's own error number, 0 when ok
  std::string error;       // what went wrong, for the log
  long httpStatus = 0;     // the response's status code when there was one
};

class THttpTransport {
 public:
  virtual ~THttpTransport() = default;
  // Runs one transfer to its end, failure or cancellation.
  virtual THttpResult Perform(const THttpTransfer& transfer, THttpReceiver& receiver) = 0;
};

// THiscoreRequestHandler: the HTTP face of the server, apart from the HTTP library. It
// takes a request as the library decoded it (method, path, query parameters, the peer's
// address) and answers it:
//   GET /go/hiscore?action=tables|get|submit|medals&...   the game's protocol
//   GET /health                                           "ok", or 503 when the database fails
//   GET /metrics                                          the counters (TServerMetrics)
// Parameters are checked before anything else happens: each name at most once, lengths
// capped, numbers and tokens strict, the enciphered XML deciphered and read strictly.
// A refusal is answered with a "protocolError" (a malformed request, HTTP 400) or a
// "message" (something the player should read); it never changes what is stored.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "online/server/hiscore_service.h"
#include "online/server/rate_limiter.h"

class TServerMetrics;

struct TServerRequest {
  std::string method;
  std::string path;
  std::vector<std::pair<std::string, std::string>> parameters;  // decoded, in order
  std::string peerAddress;
  std::string forwardedFor;  // the "X-Forwarded-For" header, when there was one
};

struct TServerReply {
  int status = 200;
  std::string contentType = "text/xml";
  std::string body;
  // For the access log and the counters.
  std::string action = "other";
  std::string outcome = "ok";  // ok, message, protocol_error, unavailable, limited, ...
  std::string reason;
  std::string detail;     // a database error, for the server's log
  std::string logFields;  // "game=... type=..." of the request
};

class THiscoreRequestHandler {
 public:
  // metrics may be null (then "/metrics" is not found).
  THiscoreRequestHandler(THiscoreService& service, const TServerMetrics* metrics);

  TServerReply Handle(const TServerRequest& request);

  // The address a request is counted against: the peer, or the last address of its
  // "X-Forwarded-For" header when the peer is a trusted proxy.
  std::string ClientAddress(const TServerRequest& request) const;

 private:
  TServerReply HandleHiscore(const TServerRequest& request);

  THiscoreService& mService;
  const TServerMetrics* mMetrics;
  TRateLimiter mReads;
  TRateLimiter mSubmits;
};

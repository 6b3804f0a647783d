// THttpTestClient: blocking HTTP GET requests for the server tests and the load tool, on
// libcurl, with one kept-alive connection per client object. Only ever pointed at
// 127.0.0.1.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct THttpTestReply {
  bool ok = false;  // an HTTP answer arrived (whatever its status)
  long status = 0;
  std::string body;
};

class THttpTestClient {
 public:
  THttpTestClient();
  ~THttpTestClient();
  THttpTestClient(const THttpTestClient&) = delete;
  THttpTestClient& operator=(const THttpTestClient&) = delete;

  // GET url with the parameters appended as a query, each value percent-encoded.
  THttpTestReply Get(const std::string& url,
                     const std::vector<std::pair<std::string, std::string>>& parameters = {},
                     long timeoutMs = 10000);

  // The value encoding of the game's HTTP client: these characters become %XX, every
  // other byte stays as it is.
  static std::string Encode(const std::string& value);

 private:
  void* mCurl;
};

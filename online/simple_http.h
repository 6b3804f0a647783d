// TSimpleHttp: the game's small HTTP(S) client. It builds one request at a time (a URL
// plus form parameters, sent as a GET query or a form-encoded POST body), runs it on a
// thread of its own and collects the response in memory or in a file of the virtual file
// system. The caller polls GetStatus until it is no longer 0.
//
//   http.SetUrl(url, false);
//   http.AddParam("action", "tables");
//   http.Start(TSimpleHttp::kNoCacheWrite);
//   ... later, each frame: if (http.GetStatus() == kHttpComplete) Use(http.GetResponse());
//
// Safety limits, from the settings when a request starts:
//   "http_connect_timeout_ms" (10000) and "http_timeout_ms" (30000): a request that takes
//     longer fails with status 2 instead of waiting for ever;
//   "http_max_response_bytes" (4194304): a larger body fails the request;
//   "http_allow_unverified_tls" (0): HTTPS certificates are verified; 1 accepts certificates
//     of unknown authorities, and with the request flag kAcceptWrongHostName certificates
//     issued to another host too. For test servers only.
// Main thread only; the transfer itself runs on the request's thread.
#pragma once

#include <memory>
#include <string>

#include "online/http_request.h"

class THttpTransport;

class TSimpleHttp {
 public:
  // Start flags.
  static constexpr unsigned kNoCacheWrite = 1;         // no response cache is kept anyway
  static constexpr unsigned kAcceptWrongHostName = 2;  // only with "http_allow_unverified_tls"

  TSimpleHttp() = default;
  ~TSimpleHttp() { Abandon(); }
  TSimpleHttp(const TSimpleHttp&) = delete;
  TSimpleHttp& operator=(const TSimpleHttp&) = delete;

  // Begins a new request description (and abandons the current request). outputFile: the
  // virtual file the response is written to, or empty to keep it in memory.
  void SetUrl(const std::string& url, bool post, const std::string& outputFile = std::string());
  // Appends name=value: to the query ("?" first, then "&") or to the POST body ("&" between
  // pairs). The value is encoded (online/form_encoding.h), the name is not.
  void AddParam(const std::string& name, const std::string& value);
  void AddParam(const std::string& name, int value);

  // Abandons the current request and starts a new one from the description.
  void Start(unsigned flags);

  // The current request's THttpStatus; kHttpFailed when there is none. A failure is logged
  // once, when it is first seen here.
  int GetStatus();
  // The in-memory response of the current request: complete when the status is
  // kHttpComplete, what arrived when it failed; null when there is no request or it is
  // still running.
  const char* GetResponse() const;

  // The description as it stands (for tests and the log).
  const std::string& Url() const { return mUrl; }
  const std::string& PostBody() const { return mPostBody; }

 private:
  void Abandon();
  void LogOutcome();

  std::string mUrl;
  std::string mOutputFile;
  std::string mPostBody;
  bool mFirstParam = true;
  bool mPost = false;
  std::shared_ptr<THttpTransport> mSession;
  std::shared_ptr<THttpRequest> mRequest;
  bool mOutcomeLogged = false;
};

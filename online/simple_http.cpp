#include "online/simple_http.h"

#include <strings.h>
#include <cstdio>

#include "data/settings.h"
#include "files/file.h"
#include "frame/log.h"
#include "online/form_encoding.h"
#include "online/online_platform.h"

namespace {

constexpr unsigned kDefaultConnectTimeoutMs = 10000;
constexpr unsigned kDefaultTotalTimeoutMs = 30000;
// The largest response the game has a use for is a table of 500 scores, well under 1 MiB.
constexpr int kDefaultMaxResponseBytes = 4 << 20;

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  return strncasecmp(text.c_str(), prefix, std::char_traits<char>::length(prefix)) == 0;
}

unsigned PositiveSetting(const char* key, unsigned defaultValue) {
  const int value = GetSettingInt(key, static_cast<int>(defaultValue));
  return value > 0 ? static_cast<unsigned>(value) : defaultValue;
}

}  // namespace

void TSimpleHttp::SetUrl(const std::string& url, bool post, const std::string& outputFile) {
  if (!mSession) {
    if (TOnlinePlatform* platform = GetOnlinePlatform()) mSession = platform->HttpSession();
  }
  mUrl = url;
  mOutputFile = outputFile;
  mPost = post;
  mPostBody.clear();
  mFirstParam = true;
  Abandon();
}

void TSimpleHttp::AddParam(const std::string& name, const std::string& value) {
  std::string& target = mPost ? mPostBody : mUrl;
  if (mPost) {
    if (!mFirstParam) target += '&';
  } else {
    target += mFirstParam ? '?' : '&';
  }
  mFirstParam = false;
  target += name;
  target += '=';
  target += EncodeFormValue(value);
}

void TSimpleHttp::AddParam(const std::string& name, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  AddParam(name, std::string(text));
}

void TSimpleHttp::Start(unsigned flags) {
  Abandon();
  mOutcomeLogged = false;

  if (!StartsWithNoCase(mUrl, "http://") && !StartsWithNoCase(mUrl, "https://")) {
    mRequest = THttpRequest::Failed(mUrl, kHttpFailed, "not an http:// or https:// address");
    return;
  }
  if (!mSession) {
    mRequest = THttpRequest::Failed(mUrl, kHttpFailed, "no network layer");
    return;
  }

  THttpTransfer transfer;
  transfer.url = mUrl;
  transfer.post = mPost;
  transfer.postBody = mPostBody;
  transfer.connectTimeoutMs = PositiveSetting("http_connect_timeout_ms", kDefaultConnectTimeoutMs);
  transfer.totalTimeoutMs = PositiveSetting("http_timeout_ms", kDefaultTotalTimeoutMs);
  if (GetSettingBool("http_allow_unverified_tls")) {
    transfer.acceptUnknownAuthority = true;
    transfer.acceptWrongHostName = (flags & kAcceptWrongHostName) != 0;
  }
  const size_t maxBytes = PositiveSetting("http_max_response_bytes", kDefaultMaxResponseBytes);

  // The file is opened here rather than on the request's thread: the virtual file system
  // belongs to the main thread.
  std::unique_ptr<TFile> output;
  if (!mOutputFile.empty()) {
    output = TFile::OpenFile(mOutputFile, kWriteBinary);
    if (!output) {
      mRequest = THttpRequest::Failed(mUrl, kHttpFileFailed, "cannot open " + mOutputFile);
      return;
    }
  }
  mRequest = std::make_shared<THttpRequest>(std::move(transfer), std::move(output), maxBytes);
  THttpRequest::Start(mRequest, mSession);
}

int TSimpleHttp::GetStatus() {
  if (!mRequest) return kHttpFailed;
  const int status = mRequest->Status();
  if (status != kHttpInProgress && !mOutcomeLogged) {
    mOutcomeLogged = true;
    LogOutcome();
  }
  return status;
}

const char* TSimpleHttp::GetResponse() const {
  if (!mRequest || mRequest->Status() == kHttpInProgress || !mRequest->InMemory()) return nullptr;
  return mRequest->Body().c_str();
}

void TSimpleHttp::Abandon() {
  if (!mRequest) return;
  mRequest->Release();
  mRequest.reset();
}

void TSimpleHttp::LogOutcome() {
  const THttpResult& result = mRequest->Result();
  const THttpTransfer& transfer = mRequest->Transfer();
  const char* url = transfer.url.c_str();
  const int status = mRequest->Status();
  if (status == kHttpComplete) {
    if (result.httpStatus >= 400) Log("HTTP status %ld from %s", result.httpStatus, url);
    return;
  }
  if (status == kHttpFileFailed || result.errorCode == 0) {
    Log("HTTP request to %s failed: %s", url, mRequest->Failure().c_str());
  } else if (!result.connected) {
    const char* kind = StartsWithNoCase(transfer.url, "https:") ? "HTTPS"
                       : transfer.post                          ? "POST"
                                                                : "InternetOpenUrl";
    Log("Error creating connection (%s) %d: %s", kind, result.errorCode, result.error.c_str());
  } else {
    Log("HTTP response from %s broke off after %zu bytes (%d): %s", url, mRequest->ByteCount(),
        result.errorCode, mRequest->Failure().c_str());
  }
}

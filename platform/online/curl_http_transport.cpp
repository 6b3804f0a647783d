#include "platform/online/curl_http_transport.h"

#include <curl/curl.h>

#include <strings.h>
#include <algorithm>
#include <mutex>

namespace {

constexpr long kMaxRedirects = 5;

void LockSharedData(CURL*, curl_lock_data data, curl_lock_access, void* self) {
  static_cast<TCurlHttpTransport*>(self)->SharedDataLock(data).lock();
}

void UnlockSharedData(CURL*, curl_lock_data data, void* self) {
  static_cast<TCurlHttpTransport*>(self)->SharedDataLock(data).unlock();
}

size_t WriteBody(char* data, size_t size, size_t count, void* receiver) {
  const size_t total = size * count;
  for (size_t done = 0; done < total;) {
    const size_t piece = std::min(total - done, kHttpChunkBytes);
    if (!static_cast<THttpReceiver*>(receiver)->Receive(data + done, piece)) return 0;
    done += piece;
  }
  return total;
}

int CheckCancelled(void* receiver, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<THttpReceiver*>(receiver)->Cancelled() ? 1 : 0;
}

// The easy handle and the header list of one transfer, released together.
struct TEasyTransfer {
  CURL* easy = curl_easy_init();
  curl_slist* headers = nullptr;
  ~TEasyTransfer() {
    curl_slist_free_all(headers);
    if (easy) curl_easy_cleanup(easy);
  }
  void AddHeader(const char* header) { headers = curl_slist_append(headers, header); }
};

}  // namespace

TCurlHttpTransport::TCurlHttpTransport() {
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (initialised != CURLE_OK) return;
  mShare = curl_share_init();
  if (!mShare) return;
  curl_share_setopt(mShare, CURLSHOPT_LOCKFUNC, LockSharedData);
  curl_share_setopt(mShare, CURLSHOPT_UNLOCKFUNC, UnlockSharedData);
  curl_share_setopt(mShare, CURLSHOPT_USERDATA, this);
  curl_share_setopt(mShare, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  curl_share_setopt(mShare, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
}

TCurlHttpTransport::~TCurlHttpTransport() {
  if (mShare) curl_share_cleanup(mShare);
}

std::mutex& TCurlHttpTransport::SharedDataLock(int data) {
  if (data == CURL_LOCK_DATA_DNS) return mDnsLock;
  if (data == CURL_LOCK_DATA_SSL_SESSION) return mSessionLock;
  return mOtherLock;
}

THttpResult TCurlHttpTransport::Perform(const THttpTransfer& transfer, THttpReceiver& receiver) {
  THttpResult result;
  TEasyTransfer t;
  if (!mShare || !t.easy) {
    result.errorCode = -1;
    result.error = "libcurl could not start";
    return result;
  }
  char errorText[CURL_ERROR_SIZE] = "";
  CURL* easy = t.easy;
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(easy, CURLOPT_SHARE, mShare);
  curl_easy_setopt(easy, CURLOPT_URL, transfer.url.c_str());
  curl_easy_setopt(easy, CURLOPT_USERAGENT, "tvlib");
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);  // several transfers run on threads at once
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(transfer.connectTimeoutMs));
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(transfer.totalTimeoutMs));
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, static_cast<long>(kHttpChunkBytes));
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &receiver);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, CheckCancelled);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &receiver);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, transfer.acceptUnknownAuthority ? 0L : 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, transfer.acceptWrongHostName ? 0L : 2L);

  const bool secure = strncasecmp(transfer.url.c_str(), "https:", 6) == 0;
  if (secure || transfer.post) t.AddHeader("Pragma: no-cache");
  if (transfer.post) {
    t.AddHeader("Content-Type: application/x-www-form-urlencoded");
    t.AddHeader("Expect:");  // the body is small: send it without waiting for a go-ahead
    curl_easy_setopt(easy, CURLOPT_POST, 1L);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                     static_cast<curl_off_t>(transfer.postBody.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, transfer.postBody.c_str());
  }
  if (t.headers) curl_easy_setopt(easy, CURLOPT_HTTPHEADER, t.headers);

  const CURLcode code = curl_easy_perform(easy);
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &result.httpStatus);
  result.connected = result.httpStatus > 0;
  result.ok = code == CURLE_OK;
  if (!result.ok) {
    result.errorCode = static_cast<int>(code);
    result.error = errorText[0] ? errorText : curl_easy_strerror(code);
  }
  return result;
}

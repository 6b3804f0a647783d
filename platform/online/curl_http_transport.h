// THttpTransport on libcurl: one easy handle per transfer, all of them sharing one DNS
// cache and one TLS session cache. Only http and https are spoken, redirects included.
#pragma once

#include <mutex>

#include "online/http_transport.h"

typedef void CURLSH;

class TCurlHttpTransport final : public THttpTransport {
 public:
  TCurlHttpTransport();
  ~TCurlHttpTransport() override;
  TCurlHttpTransport(const TCurlHttpTransport&) = delete;
  TCurlHttpTransport& operator=(const TCurlHttpTransport&) = delete;

  // False when libcurl could not start; Perform then fails every transfer.
  bool Ready() const { return mShare != nullptr; }

  THttpResult Perform(const THttpTransfer& transfer, THttpReceiver& receiver) override;

  // The lock that guards one kind of shared data (a curl_lock_data value).
  std::mutex& SharedDataLock(int data);

 private:
  CURLSH* mShare = nullptr;
  std::mutex mDnsLock;
  std::mutex mSessionLock;
  std::mutex mOtherLock;
};

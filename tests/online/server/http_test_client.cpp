#include "tests/online/server/http_test_client.h"

#include <curl/curl.h>

#include <cstdio>
#include <cstring>

namespace {

size_t Collect(char* data, size_t size, size_t count, void* context) {
  static_cast<std::string*>(context)->append(data, size * count);
  return size * count;
}

}  // namespace

THttpTestClient::THttpTestClient() : mCurl(curl_easy_init()) {}

THttpTestClient::~THttpTestClient() {
  curl_easy_cleanup(mCurl);
}

std::string THttpTestClient::Encode(const std::string& value) {
  static const char kEncoded[] = " \"#$%&+,/:;<=>?@[\\]^`{|}";
  std::string out;
  for (char c : value) {
    if (c != '\0' && std::strchr(kEncoded, c)) {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", static_cast<unsigned char>(c));
      out += escape;
    } else {
      out += c;
    }
  }
  return out;
}

THttpTestReply THttpTestClient::Get(
    const std::string& url, const std::vector<std::pair<std::string, std::string>>& parameters,
    long timeoutMs) {
  std::string full = url;
  for (size_t i = 0; i < parameters.size(); ++i) {
    full += i == 0 ? '?' : '&';
    full += parameters[i].first + "=" + Encode(parameters[i].second);
  }
  THttpTestReply reply;
  CURL* curl = static_cast<CURL*>(mCurl);
  curl_easy_setopt(curl, CURLOPT_URL, full.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
  reply.ok = curl_easy_perform(curl) == CURLE_OK;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
  return reply;
}

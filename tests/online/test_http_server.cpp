#include "tests/online/test_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

constexpr int kPollMs = 10;
constexpr size_t kMaxHead = 64 * 1024;
constexpr size_t kMaxBody = 1024 * 1024;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

TTestTlsIdentity::TTestTlsIdentity(const std::string& subject) {
  EVP_PKEY* key = EVP_EC_gen("P-256");
  X509* cert = X509_new();
  X509_set_version(cert, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
  X509_gmtime_adj(X509_getm_notBefore(cert), -60);
  X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
  X509_set_pubkey(cert, key);
  X509_NAME* name = X509_get_subject_name(cert);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(subject.c_str()), -1, -1, 0);
  X509_set_issuer_name(cert, name);
  const bool isAddress = !subject.empty() && std::isdigit(static_cast<unsigned char>(subject[0]));
  const std::string altName = (isAddress ? "IP:" : "DNS:") + subject;
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
  X509_EXTENSION* extension =
      X509V3_EXT_conf_nid(nullptr, &ctx, NID_subject_alt_name, altName.c_str());
  X509_add_ext(cert, extension, -1);
  X509_EXTENSION_free(extension);
  X509_sign(cert, key, EVP_sha256());

  SSL_CTX* context = SSL_CTX_new(TLS_server_method());
  if (!context || SSL_CTX_use_certificate(context, cert) != 1 ||
      SSL_CTX_use_PrivateKey(context, key) != 1)
    throw std::runtime_error("cannot set up the test certificate");
  X509_free(cert);
  EVP_PKEY_free(key);
  mContext = context;
}

TTestTlsIdentity::~TTestTlsIdentity() {
  SSL_CTX_free(static_cast<SSL_CTX*>(mContext));
}

// One accepted connection, plain or TLS, with reads and writes that give up once the server
// stops.
class TTestHttpServer::TConnection {
 public:
  TConnection(int fd, const TTestTlsIdentity* tls, const std::atomic<bool>& stop)
      : mFd(fd), mStop(stop) {
    if (tls) {
      mSsl = SSL_new(static_cast<SSL_CTX*>(tls->Context()));
      SSL_set_fd(mSsl, fd);
    }
  }
  ~TConnection() {
    if (mSsl) {
      SSL_shutdown(mSsl);
      SSL_free(mSsl);
    }
    close(mFd);
  }

  // False when the TLS handshake fails (the client refused the certificate).
  bool Handshake() {
    if (!mSsl) return true;
    while (!mStop) {
      const int done = SSL_accept(mSsl);
      if (done == 1) return true;
      const int error = SSL_get_error(mSsl, done);
      if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) return false;
      Wait(POLLIN);
    }
    return false;
  }

  // Some bytes, or 0 at the end of the stream, an error or a stop.
  size_t ReadSome(char* buffer, size_t size) {
    while (!mStop) {
      if (mSsl && SSL_pending(mSsl) == 0 && !Wait(POLLIN)) continue;
      if (!mSsl && !Wait(POLLIN)) continue;
      const int got = mSsl ? SSL_read(mSsl, buffer, static_cast<int>(size))
                           : static_cast<int>(read(mFd, buffer, size));
      if (got > 0) return static_cast<size_t>(got);
      if (mSsl && SSL_get_error(mSsl, got) == SSL_ERROR_WANT_READ) continue;
      return 0;
    }
    return 0;
  }

  bool WriteAll(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size() && !mStop) {
      const int wrote =
          mSsl
              ? SSL_write(mSsl, bytes.data() + done, static_cast<int>(bytes.size() - done))
              : static_cast<int>(send(mFd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL));
      if (wrote <= 0) return false;
      done += static_cast<size_t>(wrote);
    }
    return done == bytes.size();
  }

  // Waits until the peer closes or the server stops.
  void HoldOpen() {
    char byte;
    while (!mStop) {
      if (Wait(POLLIN) && recv(mFd, &byte, 1, MSG_PEEK) <= 0) return;
    }
  }

 private:
  bool Wait(short events) {
    pollfd entry{mFd, events, 0};
    return poll(&entry, 1, kPollMs) > 0;
  }

  int mFd;
  SSL* mSsl = nullptr;
  const std::atomic<bool>& mStop;
};

TTestHttpServer::TTestHttpServer(TTestHandler handler, const TTestTlsIdentity* tls)
    : mHandler(std::move(handler)), mTls(tls) {
  // A client that refuses the certificate or gives up closes while the server still writes.
  signal(SIGPIPE, SIG_IGN);
  mListenFd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (mListenFd < 0 || bind(mListenFd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(mListenFd, 16) != 0 ||
      getsockname(mListenFd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    throw std::runtime_error("cannot listen on 127.0.0.1");
  mPort = ntohs(address.sin_port);
  mAcceptThread = std::thread([this] { AcceptLoop(); });
}

TTestHttpServer::~TTestHttpServer() {
  mStop = true;
  mAcceptThread.join();
  for (std::thread& worker : mWorkers) worker.join();
  close(mListenFd);
}

std::string TTestHttpServer::Url(const std::string& path) const {
  return std::string(mTls ? "https" : "http") + "://127.0.0.1:" + std::to_string(mPort) + path;
}

std::vector<TTestRequest> TTestHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mMutex);
  return mRequests;
}

void TTestHttpServer::AcceptLoop() {
  while (!mStop) {
    pollfd entry{mListenFd, POLLIN, 0};
    if (poll(&entry, 1, kPollMs) <= 0) continue;
    const int fd = accept(mListenFd, nullptr, nullptr);
    if (fd < 0) continue;
    ++mConnections;
    std::lock_guard<std::mutex> lock(mMutex);
    mWorkers.emplace_back([this, fd] { Serve(fd); });
  }
}

void TTestHttpServer::Serve(int fd) {
  TConnection connection(fd, mTls, mStop);
  if (!connection.Handshake()) return;

  // The request head, then as much body as Content-Length announces.
  std::string data;
  char buffer[4096];
  size_t headEnd;
  while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
    const size_t got = connection.ReadSome(buffer, sizeof buffer);
    if (got == 0 || data.size() > kMaxHead) return;
    data.append(buffer, got);
  }
  TTestRequest request;
  const std::string head = data.substr(0, headEnd);
  size_t lineEnd = head.find("\r\n");
  const std::string requestLine = head.substr(0, lineEnd);
  const size_t firstSpace = requestLine.find(' ');
  const size_t secondSpace = requestLine.find(' ', firstSpace + 1);
  request.method = requestLine.substr(0, firstSpace);
  request.target = requestLine.substr(firstSpace + 1, secondSpace - firstSpace - 1);
  while (lineEnd != std::string::npos && lineEnd < head.size()) {
    const size_t next = head.find("\r\n", lineEnd + 2);
    const std::string line = head.substr(lineEnd + 2, next - lineEnd - 2);
    const size_t colon = line.find(':');
    if (colon != std::string::npos) {
      size_t valueStart = colon + 1;
      while (valueStart < line.size() && line[valueStart] == ' ') ++valueStart;
      request.headers[Lower(line.substr(0, colon))] = line.substr(valueStart);
    }
    lineEnd = next;
  }
  request.body = data.substr(headEnd + 4);
  const size_t bodyLength =
      std::min<size_t>(request.headers.count("content-length")
                           ? std::strtoul(request.headers["content-length"].c_str(), nullptr, 10)
                           : 0,
                       kMaxBody);
  while (request.body.size() < bodyLength) {
    const size_t got = connection.ReadSome(buffer, sizeof buffer);
    if (got == 0) return;
    request.body.append(buffer, got);
  }
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mRequests.push_back(request);
  }

  const TTestReply reply = mHandler(request);
  switch (reply.kind) {
    case TTestReply::kCloseAtOnce:
      return;
    case TTestReply::kNeverAnswer:
      connection.HoldOpen();
      return;
    case TTestReply::kRespond:
    case TTestReply::kCloseMidBody:
      break;
  }
  std::string response = "HTTP/1.1 " + std::to_string(reply.status) + " Test\r\n";
  response += "Content-Type: " + reply.contentType + "\r\n";
  response += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
  response += "Connection: close\r\n\r\n";
  if (!connection.WriteAll(response)) return;
  const size_t sendBytes =
      reply.kind == TTestReply::kCloseMidBody ? reply.body.size() / 2 : reply.body.size();
  const size_t chunk = reply.chunkBytes ? reply.chunkBytes : std::max<size_t>(sendBytes, 1);
  for (size_t sent = 0; sent < sendBytes && !mStop; sent += chunk) {
    if (sent > 0 && reply.delayMs > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(reply.delayMs));
    if (!connection.WriteAll(reply.body.substr(sent, std::min(chunk, sendBytes - sent)))) return;
  }
}

std::string PercentDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() &&
        std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// TAccessLog: one line per answered request, written whole (threads do not interleave):
//   2024-05-01T12:00:00.123Z 127.0.0.1 GET /go/hiscore get 200 ok - 5123B 0.42ms game=... type=...
// Enciphered parameters (which hold passwords) are never written.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

struct TServerRequest;
struct TServerReply;

class TAccessLog {
 public:
  // path "-" writes to standard output, "" writes nothing.
  explicit TAccessLog(const std::string& path);
  ~TAccessLog();
  TAccessLog(const TAccessLog&) = delete;
  TAccessLog& operator=(const TAccessLog&) = delete;

  bool Opened() const { return mFile != nullptr || mPath.empty(); }
  void Write(const TServerRequest& request, const std::string& client, const TServerReply& reply,
             double seconds);

 private:
  std::string mPath;
  std::FILE* mFile = nullptr;
  std::mutex mMutex;
};

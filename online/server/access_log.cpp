#include "online/server/access_log.h"

#include <chrono>
#include <ctime>

#include "online/server/hiscore_request_handler.h"

namespace {

std::string UtcNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[64];  // room for any int the format could meet
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, int(millis));
  return text;
}

// Request texts come from outside: control bytes and blanks would break the line apart.
std::string Printable(const std::string& text, size_t limit) {
  std::string out;
  for (char c : text.substr(0, limit)) {
    const auto byte = static_cast<unsigned char>(c);
    out += byte > 32 && byte < 127 ? c : '?';
  }
  return out.empty() ? "-" : out;
}

}  // namespace

TAccessLog::TAccessLog(const std::string& path) : mPath(path) {
  if (path == "-") {
    mFile = stdout;
  } else if (!path.empty()) {
    mFile = std::fopen(path.c_str(), "a");
  }
}

TAccessLog::~TAccessLog() {
  if (mFile && mFile != stdout) std::fclose(mFile);
}

void TAccessLog::Write(const TServerRequest& request, const std::string& client,
                       const TServerReply& reply, double seconds) {
  if (!mFile) return;
  std::string fields;
  for (size_t start = 0; start < reply.logFields.size();) {
    size_t end = reply.logFields.find(' ', start);
    if (end == std::string::npos) end = reply.logFields.size();
    fields += ' ';
    fields += Printable(reply.logFields.substr(start, end - start), 80);
    start = end + 1;
  }
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, " %d %s %s %zuB %.2fms", reply.status,
                Printable(reply.outcome, 32).c_str(), Printable(reply.reason, 32).c_str(),
                reply.body.size(), seconds * 1000);
  const std::string line = UtcNow() + ' ' + Printable(client, 64) + ' ' +
                           Printable(request.method, 16) + ' ' + Printable(request.path, 64) + ' ' +
                           Printable(reply.action, 16) + numbers + fields + '\n';
  std::lock_guard lock(mMutex);
  std::fwrite(line.data(), 1, line.size(), mFile);
  std::fflush(mFile);
}

#include "frame/log.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

namespace {

constexpr size_t kMaxMessage = 29999;
constexpr unsigned kWrapLimit = 102400;
constexpr unsigned kWrapTarget = 51200;
constexpr char kWrapMarker[] =
    "\n\n\n\n ****************** LOG WRAP AROUND ******************\n\n\n\n";

std::string gLogPath;
unsigned gLogPosition = 0;
// Lines come from the main thread and from helper threads (sound, downloads); one at a time.
std::mutex gLogMutex;

// Where lines go when the log file itself cannot be opened or created.
std::string FallbackPath() {
  std::error_code error;
  std::filesystem::path temp = std::filesystem::temp_directory_path(error);
  if (error) temp = "/tmp";
  return (temp / "quorvandel.log").string();
}

// Opens for reading and writing without truncation, creating the file when it is missing.
FILE* OpenForUpdate(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file) file = std::fopen(path.c_str(), "w+b");
  return file;
}

std::string Timestamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  // asctime's form: the day of the month padded with a space, not a zero.
  std::strftime(text, sizeof text, "%a %b %e %H:%M:%S %Y", &local);
  return text;
}

}  // namespace

void SetLogFolder(const std::string& folder) {
  gLogPosition = 0;
  if (folder.empty()) {
    gLogPath.clear();
    return;
  }
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  gLogPath = folder + "/logfile.txt";
  std::filesystem::remove(gLogPath, error);
}

const std::string& LogPath() {
  return gLogPath;
}
unsigned LogPosition() {
  return gLogPosition;
}

void Log(const char* format, ...) {
  if (gLogPath.empty() || !format) return;
  std::string shortened;
  if (std::char_traits<char>::length(format) > 30000) {
    shortened.assign(format, kMaxMessage);
    format = shortened.c_str();
  }

  char message[kMaxMessage + 1];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);

  std::lock_guard<std::mutex> lock(gLogMutex);
  FILE* file = OpenForUpdate(gLogPath);
  if (!file) file = OpenForUpdate(FallbackPath());
  if (!file) return;

  const std::string line = Timestamp() + ": " + message + "\n";
  if (gLogPosition <= kWrapLimit) {
    std::fseek(file, static_cast<long>(gLogPosition), SEEK_SET);
  } else {
    std::fseek(file, kWrapTarget, SEEK_SET);
    gLogPosition = kWrapTarget;
    std::fputs(kWrapMarker, file);
  }
  std::fwrite(line.data(), 1, line.size(), file);
  gLogPosition = static_cast<unsigned>(std::ftell(file));
  std::fflush(file);
  std::fclose(file);
}

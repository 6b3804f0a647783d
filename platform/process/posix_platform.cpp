#include "platform/process/posix_platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "frame/log.h"
#include "frame/system_clock.h"
#include "platform/process/detached_program.h"

namespace {

constexpr char kPokeText[] = "raise";

// The abstract socket address of a class name (Linux: a leading zero byte, not a file).
socklen_t PokeAddress(const std::string& className, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  const std::string name = "mahjongcuriomar." + className;
  const size_t length = std::min(name.size(), sizeof(address.sun_path) - 1);
  std::memcpy(address.sun_path + 1, name.data(), length);
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

std::string RuntimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) return runtime;
  return "/tmp";
}

}  // namespace

TPosixPlatform::TPosixPlatform() = default;

TPosixPlatform::~TPosixPlatform() {
  ReleaseInstanceLock();
  if (mHarness) dlclose(mHarness);
}

uint32_t TPosixPlatform::TickMs() const {
  return PlatformMonotonicMilliseconds();
}

void TPosixPlatform::SleepMs(unsigned ms) {
  timespec delay{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&delay, &delay) == -1 && errno == EINTR) {
  }
}

void TPosixPlatform::InjectMessage(const TPlatformMessage& message) {
  mInjected.push_back(message);
}

void TPosixPlatform::Observe(const TPlatformMessage& message) {
  if (message.type == kMsgMouseMove) {
    mLastMoveTime = TickMs();
    mLastX = message.x;
    mLastY = message.y;
  } else if (message.type == kMsgMouseHover || message.type == kMsgMouseLeave) {
    mHoverArmed = false;
  }
}

bool TPosixPlatform::PollMessage(TPlatformMessage& message) {
  if (!mInjected.empty()) {
    message = mInjected.front();
    mInjected.pop_front();
    Observe(message);
    return true;
  }
  if (PollNative(message)) {
    Observe(message);
    return true;
  }
  if (PollPoke()) {
    message = TPlatformMessage{};
    message.type = kMsgRaise;
    return true;
  }
  if (mQuitPosted) {
    mQuitPosted = false;
    message = TPlatformMessage{};
    message.type = kMsgQuit;
    return true;
  }
  // One hover per resting period: a re-armed tracker fires again only after the pointer
  // has rested for another hover time.
  const uint32_t now = TickMs();
  if (mHoverArmed && PointerInside() && now - mLastMoveTime >= kHoverMs) {
    mHoverArmed = false;
    mLastMoveTime = now;
    message = TPlatformMessage{};
    message.type = kMsgMouseHover;
    message.x = mLastX;
    message.y = mLastY;
    return true;
  }
  return false;
}

bool TPosixPlatform::AcquireInstanceLock(const std::string& instanceName,
                                         const std::string& className) {
  if (mLockFd >= 0) return true;
  mLockPath = RuntimeFolder() + "/" + instanceName + ".lock";
  const int fd = open(mLockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    // Without a lock file the rule cannot be kept; running is better than refusing to start.
    Log("Cannot open the instance lock %s: %s", mLockPath.c_str(), std::strerror(errno));
    return true;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  mLockFd = fd;
  // Listen for pokes of later starts.
  mListenFd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (mListenFd >= 0) {
    sockaddr_un address;
    const socklen_t length = PokeAddress(className, address);
    if (bind(mListenFd, reinterpret_cast<sockaddr*>(&address), length) != 0) {
      Log("Cannot listen for other starts: %s", std::strerror(errno));
      close(mListenFd);
      mListenFd = -1;
    }
  }
  return true;
}

void TPosixPlatform::ReleaseInstanceLock() {
  if (mListenFd >= 0) close(mListenFd);
  mListenFd = -1;
  if (mLockFd >= 0) {
    flock(mLockFd, LOCK_UN);
    close(mLockFd);
  }
  mLockFd = -1;
}

bool TPosixPlatform::PokeFirstInstance(const std::string& className) {
  const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address;
  const socklen_t length = PokeAddress(className, address);
  const bool sent = sendto(fd, kPokeText, sizeof kPokeText - 1, 0,
                           reinterpret_cast<sockaddr*>(&address), length) > 0;
  close(fd);
  return sent;
}

bool TPosixPlatform::PollPoke() {
  if (mListenFd < 0) return false;
  char buffer[16];
  bool poked = false;
  while (recv(mListenFd, buffer, sizeof buffer, 0) > 0) poked = true;
  return poked;
}

TWindowHandle TPosixPlatform::RunTestHarness(const std::string& programFolder,
                                             std::string& commandLine) {
  const std::string path = programFolder + "tvHarness.so";
  if (access(path.c_str(), F_OK) != 0) return 0;
  mHarness = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!mHarness) {
    Log("Cannot load the test harness %s: %s", path.c_str(), dlerror());
    return 0;
  }
  using THook = uint64_t (*)(const char**);
  auto hook = reinterpret_cast<THook>(dlsym(mHarness, "TestHook"));
  if (!hook) return 0;
  const char* line = commandLine.c_str();
  const char* before = line;
  const uint64_t window = hook(&line);
  if (line != before) commandLine = line ? line : "";
  return window;
}

std::string TPosixPlatform::ExecutablePath() const {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "./mahjongcuriomar";
  return std::string(path, static_cast<size_t>(length));
}

std::string TPosixPlatform::CurrentDirectory() const {
  char path[PATH_MAX];
  if (!getcwd(path, sizeof path)) return ".";
  return path;
}

bool TPosixPlatform::ChangeDirectory(const std::string& folder) {
  return !folder.empty() && chdir(folder.c_str()) == 0;
}

void TPosixPlatform::ExitProcess(int code) {
  Log("Exiting with code %d", code);
  std::exit(code);
}

bool TPosixPlatform::OpenUrl(const std::string& target, const std::string& program) {
  return StartDetachedProgram(program.empty() ? std::string("xdg-open") : program, {target});
}

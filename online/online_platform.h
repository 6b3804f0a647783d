// What the online services need of the platform: the shared HTTP session and loading an
// optional shared library by path. The process entry installs the real implementation
// (platform/online/); without one the game has no network and no in-process server, and
// says so in the log when it would have used them.
#pragma once

#include <memory>
#include <string>

class THttpTransport;

// A loaded shared library; unloaded when destroyed.
class TSharedLibrary {
 public:
  virtual ~TSharedLibrary() = default;
  // The address of an exported symbol, or null.
  virtual void* Symbol(const char* name) const = 0;
};

class TOnlinePlatform {
 public:
  virtual ~TOnlinePlatform() = default;
  // The process's HTTP session, opened on the first call (user agent "tvlib", the system's
  // proxy settings); null when the network layer cannot start.
  virtual std::shared_ptr<THttpTransport> HttpSession() = 0;
  // The library at path, or null (with the reason in *error) when it is missing or cannot
  // be loaded.
  virtual std::unique_ptr<TSharedLibrary> LoadLibrary(const std::string& path,
                                                      std::string* error) = 0;
};

// The installed platform (not owned), or null. Main thread only.
void SetOnlinePlatform(TOnlinePlatform* platform);
TOnlinePlatform* GetOnlinePlatform();

// The online platform of the running program: HTTP on libcurl, libraries through the
// dynamic loader.
#pragma once

#include <memory>

#include "online/online_platform.h"

class TSystemOnlinePlatform final : public TOnlinePlatform {
 public:
  std::shared_ptr<THttpTransport> HttpSession() override;
  std::unique_ptr<TSharedLibrary> LoadLibrary(const std::string& path, std::string* error) override;

 private:
  std::shared_ptr<THttpTransport> mSession;
  bool mSessionFailed = false;
};

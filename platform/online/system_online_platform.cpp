#include "platform/online/system_online_platform.h"

#include <dlfcn.h>

#include "platform/online/curl_http_transport.h"

namespace {

class TDlSharedLibrary final : public TSharedLibrary {
 public:
  explicit TDlSharedLibrary(void* handle) : mHandle(handle) {}
  ~TDlSharedLibrary() override { dlclose(mHandle); }
  void* Symbol(const char* name) const override { return dlsym(mHandle, name); }

 private:
  void* mHandle;
};

}  // namespace

std::shared_ptr<THttpTransport> TSystemOnlinePlatform::HttpSession() {
  if (!mSession && !mSessionFailed) {
    auto transport = std::make_shared<TCurlHttpTransport>();
    if (transport->Ready())
      mSession = std::move(transport);
    else
      mSessionFailed = true;
  }
  return mSession;
}

std::unique_ptr<TSharedLibrary> TSystemOnlinePlatform::LoadLibrary(const std::string& path,
                                                                   std::string* error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    if (error) {
      const char* reason = dlerror();
      *error = reason ? reason : "cannot be loaded";
    }
    return nullptr;
  }
  return std::make_unique<TDlSharedLibrary>(handle);
}

#include "platform/page_host/control_module.h"

#include <dlfcn.h>

#include "webcontrol/launcher_log.h"

namespace {

template <typename T>
bool Resolve(void* handle, const char* name, T* entry) {
  *entry = reinterpret_cast<T>(dlsym(handle, name));
  if (!*entry) LauncherLog("the control library has no entry %s", name);
  return *entry != nullptr;
}

}  // namespace

std::shared_ptr<TControlModule> TControlModule::Load(const std::string& path) {
  std::shared_ptr<TControlModule> module(new TControlModule);
  module->mPath = path;
  // The library stays mapped once loaded: threads and exit handlers it started may outlive
  // the last control the host holds.
  module->mHandle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!module->mHandle) {
    LauncherLog("the control library %s cannot be loaded: %s", path.c_str(), dlerror());
    return nullptr;
  }
  void* h = module->mHandle;
  TControlModule& m = *module;
  if (!Resolve(h, "activex_class_id", &m.mClassId) ||
      !Resolve(h, "activex_register_server", &m.mRegister) ||
      !Resolve(h, "activex_unregister_server", &m.mUnregister) ||
      !Resolve(h, "activex_create", &m.mCreate) || !Resolve(h, "activex_release", &m.mRelease) ||
      !Resolve(h, "activex_load_property", &m.mLoadProperty) ||
      !Resolve(h, "activex_invoke_name", &m.mInvokeName) ||
      !Resolve(h, "activex_create_window", &m.mCreateWindow) ||
      !Resolve(h, "activex_place_window", &m.mPlaceWindow))
    return nullptr;
  return module;
}

TControlModule::~TControlModule() {
  if (mHandle) dlclose(mHandle);
}

std::string TControlModule::ClassId() const {
  const char* id = mClassId();
  return id ? id : "";
}

bool TControlModule::Register() const {
  return mRegister() == 1;
}

bool TControlModule::Unregister() const {
  return mUnregister() == 1;
}

TModuleControl::TModuleControl(std::shared_ptr<TControlModule> module, std::string display,
                               uint64_t parent, TRunScript runScript)
    : mModule(std::move(module)),
      mDisplay(std::move(display)),
      mParent(parent),
      mRunScript(std::move(runScript)) {
  mControl = mModule->mCreate(&TModuleControl::RunScript, this);
}

TModuleControl::~TModuleControl() {
  if (mControl) mModule->mRelease(mControl);
}

void TModuleControl::RunScript(void* user, const char* script) {
  auto* control = static_cast<TModuleControl*>(user);
  if (control->mRunScript && script) control->mRunScript(script);
}

bool TModuleControl::LoadProperty(const std::string& name, const std::string& value) {
  return mControl && mModule->mLoadProperty(mControl, name.c_str(), value.c_str()) == 1;
}

bool TModuleControl::CreateWindow(const TPageRect& rect) {
  if (!mControl) return false;
  mWindow = mModule->mCreateWindow(mControl, mDisplay.c_str(), mParent, rect.x, rect.y, rect.width,
                                   rect.height);
  return mWindow != 0;
}

void TModuleControl::Place(const TPageRect& rect) {
  if (mControl) mModule->mPlaceWindow(mControl, rect.x, rect.y, rect.width, rect.height);
}

bool TModuleControl::Invoke(const std::string& method, const std::string& argument) {
  return mControl && mModule->mInvokeName(mControl, method.c_str(), argument.c_str()) == 1;
}

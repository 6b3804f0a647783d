// The C interface of the launcher control: one TLauncherControl per activex_control, its
// X11 window, and its launch thread, which unpacks the payload this library carries.
#include "platform/launcher/activex.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/launcher/payload.h"
#include "platform/launcher/posix_launch_platform.h"
#include "platform/launcher/x11_control_window.h"
#include "webcontrol/control_properties.h"
#include "webcontrol/control_registration.h"
#include "webcontrol/launcher_control.h"

namespace {

// The property bag of one page parameter.
class TOneParameter : public TPropertyBag {
 public:
  TOneParameter(std::string name, std::u16string value)
      : mName(std::move(name)), mValue(std::move(value)) {}
  bool Read(const std::string& name, std::u16string* value) const override {
    if (name != mName) return false;
    *value = mValue;
    return true;
  }
  void Write(const std::string&, const std::u16string&) override {}

 private:
  std::string mName;
  std::u16string mValue;
};

// Hands stored properties to the caller as UTF-8.
class TCallbackBag : public TPropertyBag {
 public:
  TCallbackBag(activex_property_fn out, void* user) : mOut(out), mUser(user) {}
  bool Read(const std::string&, std::u16string*) const override { return false; }
  void Write(const std::string& name, const std::u16string& value) override {
    if (mOut) mOut(mUser, name.c_str(), NarrowUtf8(value).c_str());
  }

 private:
  activex_property_fn mOut;
  void* mUser;
};

bool IsPersisted(const std::string& name) {
  for (const char* known :
       {"DownloadUrl", "Options", "MSN", "AnonymousScores", "HideLogos", "GameData", "_cx", "_cy"})
    if (name == known) return true;
  return false;
}

// This library's own file, as the registry names it.
std::string ModulePath() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&activex_register_server), &info) || !info.dli_fname)
    return "";
  char resolved[PATH_MAX];
  return realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
}

int UpdateRegistry(bool add) {
  TRegistryFile registry;
  const std::string path = UserRegistryPath();
  if (path.empty() || !registry.Load(path)) return 0;
  if (add) {
    const std::string module = ModulePath();
    if (module.empty()) return 0;
    RegisterControl(&registry, module);
  } else {
    UnregisterControl(&registry);
  }
  return registry.Save() ? 1 : 0;
}

}  // namespace

struct activex_control {
  activex_control(activex_script_fn runScript, void* user)
      : control(
            [runScript, user](const std::string& text) {
              if (runScript) runScript(user, text.c_str());
            },
            [this](TLauncherControl* launched) { StartLaunch(launched); }) {}

  // The game is asked to quit and waited for; then the window goes, after the launch
  // thread, which may still redraw it, has ended.
  ~activex_control() {
    control.Release();
    if (launch.joinable()) launch.join();
    control.WindowDestroyed();
    window.reset();
  }

  void StartLaunch(TLauncherControl* launched) {
    const uint64_t id = window ? window->Id() : 0;
    launch = std::thread([launched, id] {
      TPosixLaunchPlatform platform(GamePayload(), id);
      RunGameLaunch(launched, &platform);
    });
  }

  TLauncherControl control;
  std::unique_ptr<TX11ControlWindow> window;
  std::thread launch;
  std::string status;
};

extern "C" {

const char* activex_class_id(void) {
  return kControlClassId;
}

int activex_register_server(void) {
  return UpdateRegistry(true);
}

int activex_unregister_server(void) {
  return UpdateRegistry(false);
}

activex_control* activex_create(activex_script_fn run_script, void* user) {
  return new activex_control(run_script, user);
}

void activex_release(activex_control* control) {
  delete control;
}

int activex_load_property(activex_control* control, const char* name, const char* value) {
  if (!control || !name || !IsPersisted(name)) return 0;
  control->control.Properties().Load(TOneParameter(name, WidenUtf8(value ? value : "")));
  return 1;
}

void activex_save_properties(const activex_control* control, activex_property_fn out, void* user) {
  if (!control) return;
  TCallbackBag bag(out, user);
  control->control.Properties().Save(&bag);
}

int activex_invoke(activex_control* control, int dispatch_id, const char* argument) {
  if (!control) return 0;
  return control->control.Invoke(dispatch_id, argument ? argument : "") ? 1 : 0;
}

int activex_invoke_name(activex_control* control, const char* method, const char* argument) {
  if (!method) return 0;
  return activex_invoke(control, TLauncherControl::MethodId(method), argument);
}

unsigned long activex_create_window(activex_control* control, const char* display,
                                    unsigned long parent, int x, int y, int width, int height) {
  if (!control) return 0;
  if (control->window) {
    control->window->Place(x, y, width, height);
    return control->window->Id();
  }
  auto window = std::make_unique<TX11ControlWindow>(&control->control, display ? display : "",
                                                    parent, x, y, width, height);
  if (!window->Id()) return 0;
  control->window = std::move(window);
  control->control.WindowCreated(control->window.get());
  return control->window->Id();
}

void activex_place_window(activex_control* control, int x, int y, int width, int height) {
  if (control && control->window) control->window->Place(x, y, width, height);
}

const char* activex_status(activex_control* control) {
  if (!control) return "";
  control->status = control->control.StatusText();
  return control->status.c_str();
}

}  // extern "C"

#include "webcontrol/page_controls.h"

#include "webcontrol/launcher_log.h"

namespace {

// The rectangle a window gets: a page may hand an object no size at all.
TPageRect WindowRect(TPageRect rect) {
  if (rect.width < 1) rect.width = 1;
  if (rect.height < 1) rect.height = 1;
  return rect;
}

}  // namespace

TPageControls::TPageControls(TFindModule findModule, TMakeControl makeControl)
    : mFindModule(std::move(findModule)), mMakeControl(std::move(makeControl)) {}

TPageControls::~TPageControls() {
  ReleaseAll();
}

TPageControl* TPageControls::Find(int key) const {
  for (const auto& [known, control] : mControls)
    if (known == key) return control.get();
  return nullptr;
}

bool TPageControls::Create(const TPageObject& object) {
  if (Find(object.key)) return false;
  const std::string module = mFindModule(object.classId);
  if (module.empty()) {
    LauncherLog("page object %d: no control is registered for \"%s\"", object.key,
                object.classId.c_str());
    return false;
  }
  std::unique_ptr<TPageControl> control = mMakeControl(module);
  if (!control) {
    LauncherLog("page object %d: the control's module %s cannot be loaded", object.key,
                module.c_str());
    return false;
  }
  for (const auto& [name, value] : object.params)
    if (!control->LoadProperty(name, value))
      LauncherLog("page object %d: parameter \"%s\" is not one of the control's", object.key,
                  name.c_str());
  if (!control->CreateWindow(WindowRect(object.rect))) {
    LauncherLog("page object %d: the control's window cannot be created", object.key);
    return false;
  }
  mControls.emplace_back(object.key, std::move(control));
  return true;
}

void TPageControls::Place(int key, const TPageRect& rect) {
  if (TPageControl* control = Find(key)) control->Place(WindowRect(rect));
}

bool TPageControls::Invoke(int key, const std::string& method, const std::string& argument) {
  TPageControl* control = Find(key);
  if (!control) {
    LauncherLog("page object %d has no control; %s is dropped", key, method.c_str());
    return false;
  }
  if (control->Invoke(method, argument)) return true;
  LauncherLog("page object %d: the control has no method \"%s\"", key, method.c_str());
  return false;
}

void TPageControls::ReleaseAll() {
  for (auto& entry : mControls) entry.second.reset();
  mControls.clear();
}

std::vector<uint64_t> TPageControls::WindowIds() const {
  std::vector<uint64_t> ids;
  for (const auto& entry : mControls) ids.push_back(entry.second->WindowId());
  return ids;
}

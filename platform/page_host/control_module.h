// TControlModule: a launcher control library (libactivex.so) loaded by its path, with the C
// entries a page host uses; and TModuleControl, one control made from it for a page object.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "webcontrol/page_controls.h"

struct activex_control;

class TControlModule {
 public:
  // Loads the library; null (logged) when it cannot be loaded or lacks an entry.
  static std::shared_ptr<TControlModule> Load(const std::string& path);
  ~TControlModule();
  TControlModule(const TControlModule&) = delete;
  TControlModule& operator=(const TControlModule&) = delete;

  const std::string& Path() const { return mPath; }
  std::string ClassId() const;
  // The library's own registration (1 on success).
  bool Register() const;
  bool Unregister() const;

 private:
  friend class TModuleControl;
  TControlModule() = default;
  std::string mPath;
  void* mHandle = nullptr;
  const char* (*mClassId)() = nullptr;
  int (*mRegister)() = nullptr;
  int (*mUnregister)() = nullptr;
  activex_control* (*mCreate)(void (*)(void*, const char*), void*) = nullptr;
  void (*mRelease)(activex_control*) = nullptr;
  int (*mLoadProperty)(activex_control*, const char*, const char*) = nullptr;
  int (*mInvokeName)(activex_control*, const char*, const char*) = nullptr;
  unsigned long (*mCreateWindow)(activex_control*, const char*, unsigned long, int, int, int,
                                 int) = nullptr;
  void (*mPlaceWindow)(activex_control*, int, int, int, int) = nullptr;
};

// One control of a module inside the page's window. Host texts reach runScript on the
// control's own event thread.
class TModuleControl : public TPageControl {
 public:
  using TRunScript = std::function<void(const std::string& script)>;
  TModuleControl(std::shared_ptr<TControlModule> module, std::string display, uint64_t parent,
                 TRunScript runScript);
  ~TModuleControl() override;  // the control's final release: waits for its game to end

  bool LoadProperty(const std::string& name, const std::string& value) override;
  bool CreateWindow(const TPageRect& rect) override;
  void Place(const TPageRect& rect) override;
  bool Invoke(const std::string& method, const std::string& argument) override;
  uint64_t WindowId() const override { return mWindow; }

 private:
  static void RunScript(void* user, const char* script);
  std::shared_ptr<TControlModule> mModule;
  std::string mDisplay;
  uint64_t mParent;
  TRunScript mRunScript;
  activex_control* mControl = nullptr;
  uint64_t mWindow = 0;
};

// TPageControls: the controls of one page in the page host. Each <object> of the page that
// names a class GUID becomes one control, created from the module registered for that GUID,
// given the object's <param> values, and placed as a window over the object's rectangle.
// The page's script then calls methods on the object, and the page's layout moves it. The
// window system and the module loading stay behind the two interfaces below.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A rectangle of the page's view, in pixels.
struct TPageRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// What the page tells the host about one of its objects.
struct TPageObject {
  int key = 0;          // the page's own number for the object
  std::string classId;  // as the page writes it ("clsid:...")
  std::vector<std::pair<std::string, std::string>> params;
  TPageRect rect;
};

// One control as the host holds it; destroying it is the control's final release.
class TPageControl {
 public:
  virtual ~TPageControl() = default;
  // A persisted property from a <param>; false for names the control does not keep.
  virtual bool LoadProperty(const std::string& name, const std::string& value) = 0;
  // Creates the control's window over rect (this starts the game); false when it failed.
  virtual bool CreateWindow(const TPageRect& rect) = 0;
  virtual void Place(const TPageRect& rect) = 0;
  // A script method by name; false when the control has no such method.
  virtual bool Invoke(const std::string& method, const std::string& argument) = 0;
  // The control's window (an X11 window id), 0 before it was created.
  virtual uint64_t WindowId() const = 0;
};

class TPageControls {
 public:
  // The module registered for a class GUID ("" when none), and a new control from a module
  // (null when the module cannot be loaded).
  using TFindModule = std::function<std::string(const std::string& classId)>;
  using TMakeControl = std::function<std::unique_ptr<TPageControl>(const std::string& module)>;

  TPageControls(TFindModule findModule, TMakeControl makeControl);
  ~TPageControls();  // releases every control, in the order they were made

  // An object of the page: a control for it when its class is registered. False (logged)
  // when the object is not one of ours, is known already, or its control could not be made.
  bool Create(const TPageObject& object);
  // The object's rectangle changed.
  void Place(int key, const TPageRect& rect);
  // Page script called a method on an object; false (logged) without such a control or
  // method.
  bool Invoke(int key, const std::string& method, const std::string& argument);
  // The page goes away: every control is released (each waits for its game to end).
  void ReleaseAll();

  size_t Count() const { return mControls.size(); }
  // The controls' windows, in the order they were made.
  std::vector<uint64_t> WindowIds() const;

 private:
  TFindModule mFindModule;
  TMakeControl mMakeControl;
  std::vector<std::pair<int, std::unique_ptr<TPageControl>>> mControls;
  TPageControl* Find(int key) const;
};

// TPageHost: the page host "activex_host". A GTK window with a WebKit view shows a web page;
// every <object classid="clsid:..."> of the page whose class is registered becomes a
// launcher control, whose window is an X11 child of the view placed over the object. Page
// script calls the control's methods on the object; host texts from the game run as script
// in the page. Everything here runs on the GTK thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TPageHost {
 public:
  struct TOptions {
    int width = 1180;
    int height = 720;
    // The registry file that names the control modules ("" for the user's own).
    std::string registryPath;
    // Used for classes the registry does not name when its class GUID matches ("" for none).
    std::string fallbackModule;
  };

  // Connects GTK to the display ($DISPLAY); false when there is none.
  static bool StartToolkit();

  explicit TPageHost(const TOptions& options);
  ~TPageHost();  // releases the controls (each waits for its game to end)
  TPageHost(const TPageHost&) = delete;
  TPageHost& operator=(const TPageHost&) = delete;

  // Shows the window and loads the page (a file path or an address).
  void Open(const std::string& page);
  // Runs until the window is closed.
  void Run();
  // Runs the toolkit for about ms milliseconds (tests, scripted use).
  void RunFor(unsigned ms);
  // Closes the page: the controls are released, the window goes.
  void Close();
  bool Closed() const;

  // Evaluates script in the page and gives its result as text (JSON for objects); false
  // with the error in *result when it threw, or after timeoutMs without an answer.
  bool Evaluate(const std::string& script, std::string* result, unsigned timeoutMs);
  // Whether the page has finished loading.
  bool Loaded() const;
  // The controls' windows (X11 ids), in the page's order.
  std::vector<uint64_t> ControlWindows() const;

 private:
  struct TState;
  std::unique_ptr<TState> mState;
};

// TX11TestHost: a page host for tests. It opens an X11 window, starts the game program
// inside it ("-wnd=<id>"), sends the game the page's commands and collects the host texts
// the game sends back, joined as online/host_protocol.h describes. The launcher's tests use
// it too.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TX11TestHost {
 public:
  TX11TestHost();
  ~TX11TestHost();  // kills a program that is still running
  TX11TestHost(const TX11TestHost&) = delete;
  TX11TestHost& operator=(const TX11TestHost&) = delete;

  // Connects to the display (e.g. ":42") and maps a host window of the given size; false
  // (with the reason in Error()) when there is no such display.
  bool Open(const std::string& display, int width, int height);
  uint64_t HostWindow() const;
  // Gives the host window a new size, as a page does when its layout changes.
  bool Resize(int width, int height);
  // The size the game's window inside the host has now; false when there is none.
  bool GameWindowSize(int& width, int& height);
  const std::string& Error() const { return mError; }

  // Where the program's standard output and error go ("" keeps the host's own).
  void SetOutputFile(const std::string& path) { mOutputFile = path; }
  // Starts program with the arguments (no shell; "-wnd=<id>" is added first) and the extra
  // environment variables. False when it cannot be started.
  bool Start(const std::string& program, const std::vector<std::string>& arguments,
             const std::map<std::string, std::string>& environment);
  // The game's window inside the host window, waiting up to timeoutMs for it; 0 when none.
  uint64_t WaitForGameWindow(unsigned timeoutMs);

  // A page command (THostCommand) to the game's window; false when there is none.
  bool SendCommand(uint32_t code);
  // The quit message to the game's window.
  bool SendQuit();

  // The colour (0xRRGGBB) of the host window's pixel at (x, y) as the screen shows it, or -1.
  long PixelAt(int x, int y);

  // Takes the X events that arrived, for up to ms milliseconds.
  void Pump(unsigned ms);
  // Pumps until a host text starting with prefix has arrived (counting from the text number
  // from on); its index, or -1 after timeoutMs.
  int WaitForText(const std::string& prefix, unsigned timeoutMs, size_t from = 0);
  const std::vector<std::string>& Texts() const { return mTexts; }
  // WM_USER messages that were not host texts (the container mode's full-screen requests).
  int OtherMessages() const { return mOtherMessages; }

  // Waits for the program to end; its exit status, or -1 when it is still running after
  // timeoutMs (it is then killed) or was never started.
  int WaitForExit(unsigned timeoutMs);

 private:
  struct TState;
  std::unique_ptr<TState> mState;
  std::vector<std::string> mTexts;
  int mOtherMessages = 0;
  std::string mError;
  std::string mOutputFile;
};

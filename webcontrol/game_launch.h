// The launcher control's launch: build the game's command line, unpack the game into a fresh
// private folder, start it inside the control's window, wait for it to end, remove the
// folder, and report to the control (started, then finished). Runs on the launch thread,
// once per control; the platform does the unpacking and the process work.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TLauncherControl;

class TLaunchPlatform {
 public:
  virtual ~TLaunchPlatform() = default;
  // The program that loaded the control (for "-host="); "" when unknown.
  virtual std::string HostProgram() = 0;
  // The control window's X11 id.
  virtual uint64_t WindowId() = 0;
  // A new private folder for this launch; "" when none can be made.
  virtual std::string MakeFolder() = 0;
  // Unpacks the game into the folder; false (logged) when the payload cannot be unpacked.
  virtual bool Unpack(const std::string& folder) = 0;
  // Starts the folder's game program with the arguments, in that folder, without a shell;
  // a process id, or -1.
  virtual long StartGame(const std::string& folder, const std::vector<std::string>& arguments) = 0;
  // Waits until the process ends.
  virtual void WaitForGame(long process) = 0;
  // Removes the folder and everything in it; false when it could not within its time.
  virtual bool RemoveFolder(const std::string& folder) = 0;
};

// The whole launch; sets the control's started flag after the start and its finished flag as
// its last act, also when something failed on the way.
void RunGameLaunch(TLauncherControl* control, TLaunchPlatform* platform);

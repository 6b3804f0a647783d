// The application's state: folders, identity, the activity and mouse-tracking flags that
// the event pump reads, the random generator and the owned links. One instance, created by
// EngineMain and destroyed last.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "frame/frame_links.h"
#include "frame/mersenne_twister.h"
#include "frame/platform.h"

struct TPoint {
  int x = 0;
  int y = 0;
};

struct TApplicationData {
  int showCommand = 0;
  bool embedded = false;
  bool axTest = false;
  float scale = 1.0f;
  bool cursorVisible = true;
  // The application's cursor picture (null: the built-in arrow) and its hotspot.
  std::shared_ptr<TTexture> cursorImage;
  TPoint cursorHotspot;

  // Event flags.
  bool redrawRequested = false;
  bool active = true;
  bool activeChanged = false;
  bool closeRequested = false;
  bool appActive = true;
  bool appActiveChanged = false;
  bool minimized = false;
  bool repaintPending = false;
  bool hiddenWhileMinimized = false;

  std::string contentFolder;  // frame/content_folder.h, with trailing slash
  std::string assetsFolder;   // the content folder + "assets/"
  std::string programFolder;  // with trailing slash
  std::string programPath;
  std::string userFolder, commonFolder, desktopFolder;
  std::string startupFolder;
  std::string instanceName, lockName, className;

  std::unique_ptr<TWindowManagerLink> windowManager;
  std::unique_ptr<TSoundLink> soundManager;
  std::unique_ptr<TRenderLink> renderer;
  std::unique_ptr<THostLinkPort> hostLink;  // the web host link; null in tools and tests

  int mouseMode = 0;  // 0 absolute, 1 relative
  TPoint mouseAnchor;
  TPoint lastMouse;
  TMersenneTwister random;

  TWindowHandle window = 0;
  TWindowHandle mExternalWindowParent = 0;
  TWindowHandle harnessWindow = 0;

  std::string productName;
  std::string version;
  std::string buildTag;
  bool instanceLocked = false;

  uint32_t startTime = 0;
  int timeOffset = 0;
  uint32_t focusClickTime = 0;
  bool focusClickGuard = false;
  bool hoverTracking = false;
  bool leavePending = false;
  bool leaveTracking = false;
  TPoint lastPointer;  // last absolute pointer position, reported with a leave

  // Host-link and container modes.
  bool containerMode = false;  // "-pq="
  bool msnMode = false;
  bool zylomMode = false;
  bool fullscreenRequested = false;  // container mode: last state asked of the host
  // "-host=": the program that opens web addresses while embedded ("" for the desktop's).
  std::string hostProgram;

  // Display state.
  bool displayBusy = false;
  bool fallbackTried = false;
  bool displayFatal = false;
  bool hasBeenFullscreen = false;
  bool displaySet = false;
  int displayWidth = 0;
  int displayHeight = 0;
  bool displayFullscreen = false;
};

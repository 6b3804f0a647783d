// The web host link of the running program: THostLink over the application's platform
// window (texts go to the "-wnd=" host window), its sound and its cursor.
#pragma once

#include <functional>
#include <memory>

#include "frame/frame_links.h"

class TApplication;
class THostLink;
class THostReports;

// The link in the modes the command line gave ("-msn" or "-pq=", "-zylom").
std::unique_ptr<THostLinkPort> CreateProgramHostLink(TApplication& app);

// The running program's host link, or null (tools and tests without one).
THostLink* GetHostLink(TApplication& app);

// The page's requests, asked once per event while the game's MSN flag is set: a menu request
// runs quitToMainMenu; a restart request runs it and then resetProgress.
void ServeHostRequests(TApplication& app, const std::function<void()>& quitToMainMenu,
                       const std::function<void()>& resetProgress);

// What the game object reports to the page (the game mode, the sound switch, levels beaten),
// through the link.
std::unique_ptr<THostReports> CreateGameHostReports(THostLink& link);

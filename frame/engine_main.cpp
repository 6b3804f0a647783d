#include "frame/engine_main.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "frame/application.h"
#include "frame/content_folder.h"
#include "frame/input_script.h"
#include "frame/log.h"

#ifndef MC_VERSION
#define MC_VERSION ""
#endif
#ifndef MC_PRODUCT_NAME
#define MC_PRODUCT_NAME ""
#endif
#ifndef MC_BUILD_TAG
#define MC_BUILD_TAG ""
#endif
#ifndef MC_INSTALL_NAME
#define MC_INSTALL_NAME ""
#endif

namespace {

void Trace(const TFrameServices& services, const char* step) {
  if (services.trace) services.trace(step);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// A path given on the command line, relative to the folder the program was started from:
// by now the working directory is the content folder, which may be far from where the
// user typed the command.
std::string FromStartupFolder(TApplication& app, const std::string& path) {
  const std::string& startup = app.Data().startupFolder;
  if (path.empty() || path.front() == '/' || startup.empty()) return path;
  return startup.back() == '/' ? startup + path : startup + "/" + path;
}

// The options that let tests and tools drive the program: an input script, frames out and
// a quit after a given application time.
void SetUpDrivers(TApplication& app, const TCommandLine& commandLine) {
  const std::string input = FromStartupFolder(app, commandLine.PathOption("--input="));
  if (!input.empty()) {
    TInputScript script;
    std::vector<std::string> errors;
    const bool loaded = TInputScript::Load(input, script, &errors);
    for (const std::string& error : errors)
      Log("Input script %s: %s", input.c_str(), error.c_str());
    if (loaded) {
      Log("Input script %s: %zu steps", input.c_str(), script.Steps().size());
      bool marks = false;
      for (const TInputStep& step : script.Steps()) marks |= step.action == TInputStep::kFrame;
      app.SetInputScript(std::move(script));
      const std::string frames = FromStartupFolder(app, commandLine.PathOption("--frames="));
      if (!frames.empty()) app.SetFrameOutput(frames, marks);
    }
  } else if (const std::string frames = FromStartupFolder(app, commandLine.PathOption("--frames="));
             !frames.empty()) {
    app.SetFrameOutput(frames, false);
  }
  const long exitAfter = commandLine.ExitAfterMs();
  if (exitAfter >= 0) app.SetExitAfter(exitAfter);
}

// Shutdown after the game's loop, in its fixed order.
void Shutdown(std::unique_ptr<TApplication> app, const TFrameServices& services) {
  TPlatform& platform = app->Platform();
  Trace(services, "destroy window manager");
  app->DestroyWindowManager();
  Trace(services, "clear tasks");
  app->GetTaskList().Clear();
  Trace(services, "destroy sound");
  app->DestroySound();
  Trace(services, "destroy renderer");
  app->DestroyRenderer();
  TApplicationData& data = app->Data();
  Trace(services, "destroy string table");
  if (services.destroyStringTable) services.destroyStringTable();
  Trace(services, "destroy asset manager");
  if (services.destroyAssetManager) services.destroyAssetManager();
  Trace(services, "stop heartbeat");
  app->Heartbeat().Stop();
  if (data.instanceLocked) platform.ReleaseInstanceLock();
  app.reset();  // clears the global application pointer
  if (platform.HasWindow()) {
    Trace(services, "destroy window");
    platform.DestroyWindow();
  }
  Trace(services, "clear settings");
  if (services.clearSettings) services.clearSettings();
}

}  // namespace

std::string InstanceNameFromPath(const std::string& path) {
  std::string name;
  for (char c : path) {
    if (c == '/' || c == ':') continue;
    name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (name.size() > 64) {
    // FNV-1a of the full name keeps distinct paths distinct after shortening.
    uint64_t hash = 1469598103934665603ull;
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char tail[20];
    std::snprintf(tail, sizeof tail, "%016llx", static_cast<unsigned long long>(hash));
    name = name.substr(name.size() - 40) + tail;
  }
  return name;
}

int EngineMain(TCommandLine commandLine, TPlatform& platform, TGameMain gameMain,
               TFrameServices services) {
  auto data = std::make_unique<TApplicationData>();
  data->programPath = platform.ExecutablePath();
  data->programFolder = FolderOf(data->programPath);

  // 1. The test harness may replace the command line.
  Trace(services, "harness");
  data->harnessWindow = platform.RunTestHarness(data->programFolder, commandLine.MutableText());

  // 2. Options read before anything else.
  const bool embeddedOption = commandLine.Has("-wnd=");
  const bool severalAllowed = embeddedOption || commandLine.Has("--multiple");
  data->containerMode = commandLine.Has("-pq=");

  // 3. The C library's generator, which in turn seeds the application's MT19937.
  std::srand((platform.TickMs() * 8627u) % 104729u);

  // 4. Application data: folders, the instance rule, identity, the heartbeat.
  Trace(services, "application data");
  data->startupFolder = platform.CurrentDirectory();
  const std::string contentFolder = ContentFolderFor(data->programFolder, MC_INSTALL_NAME);
  platform.ChangeDirectory(contentFolder);
  data->instanceName = InstanceNameFromPath(data->programPath);
  data->lockName = data->instanceName + "_MUTEX";
  data->className = data->instanceName + "_WNDCLASS";
  if (!severalAllowed) {
    if (!platform.AcquireInstanceLock(data->lockName, data->className)) {
      Trace(services, "second instance");
      platform.PokeFirstInstance(data->className);
      return 0;
    }
    data->instanceLocked = true;
  }
  data->contentFolder = contentFolder;
  data->assetsFolder = contentFolder + "assets/";
  data->startTime = platform.TickMs();
  data->userFolder = data->commonFolder = data->desktopFolder = data->programFolder;
  data->version = MC_VERSION;
  data->buildTag = MC_BUILD_TAG;
  if (services.readSetting) data->productName = services.readSetting("gamename");
  if (data->productName.empty()) data->productName = MC_PRODUCT_NAME;
  if (data->productName.empty()) data->productName = "Quorvandel Application";

  // 5. Embedded in a host window.
  if (embeddedOption) {
    data->mExternalWindowParent = commandLine.WindowHandle();
    data->embedded = true;
    if (services.storeSetting) services.storeSetting("activex", "1");
    if (!data->mExternalWindowParent || !platform.IsWindow(data->mExternalWindowParent)) {
      if (data->instanceLocked) platform.ReleaseInstanceLock();
      return -1;
    }
  }
  // 6. Host-link modes and the embedding test.
  data->msnMode = commandLine.Has("-msn") || data->containerMode;
  data->zylomMode = commandLine.Has("-zylom");
  data->axTest = commandLine.Has("--axtest");
  data->hostProgram = commandLine.HostProgram();

  // 7. Folders and the working directory.
  if ((!data->embedded || data->containerMode) && services.resolveFolders) {
    services.resolveFolders(*data);
  }
  if (commandLine.Has("-wd=")) {
    const std::string folder = commandLine.WorkingDirectory();
    Log("Switching current directory to: %s", folder.c_str());
    if (!platform.ChangeDirectory(folder)) Log("Cannot switch to %s", folder.c_str());
  }
  // 8. The log, except in a page without container mode.
  if (!data->embedded || data->containerMode) SetLogFolder(data->userFolder);
  Log("Platform: %s", platform.Name());
  Log("Assets folder: %s", data->assetsFolder.c_str());

  // 9. The application object, the window manager, identity settings.
  Trace(services, "application");
  TApplicationData& d = *data;
  auto app = std::make_unique<TApplication>(std::move(data), platform, services);
  app->Heartbeat().Start();
  // The web host link, in the modes read above ("-pq=" counts as MSN mode).
  if (services.createHostLink) app->SetHostLink(services.createHostLink(*app));
  Trace(services, "create asset manager");
  if (services.createAssetManager) services.createAssetManager();
  Trace(services, "create window manager");
  if (services.createWindowManager) app->SetWindowManager(services.createWindowManager(*app));
  if (services.loadData) {
    Trace(services, "load data");
    services.loadData(*app);
  }
  app->StoreSetting("buildtag", d.buildTag);
  Log("%s, version %s.", d.productName.c_str(), d.version.c_str());
  app->StoreSetting("gamename", d.productName);
  app->StoreSetting("version", d.version);

  // 10. The platform window.
  Trace(services, "create window");
  if (!app->CreatePlatformWindow()) {
    Shutdown(std::move(app), services);
    return -1;
  }
  if (d.axTest) {
    d.mExternalWindowParent = d.window;
    d.embedded = true;
  }
  // 11, 12. Sound and the renderer.
  Trace(services, "init sound");
  if (!app->InitSound()) Log("Sound is not available");
  Trace(services, "create renderer");
  if (services.createRenderer) app->SetRenderer(services.createRenderer(*app));

  // 13 to 16. Settings from the start-up and the command line.
  app->StoreSetting("installkey", d.programFolder);
  app->StoreSetting("startupdir", d.startupFolder);
  if (commandLine.Has("--cheat")) app->StoreSetting("cheatcode", commandLine.CheatCode());
  for (const auto& [key, value] : commandLine.OptionPairs()) app->StoreSetting(key, value);
  SetUpDrivers(*app, commandLine);

  // 17. The game.
  Trace(services, "game main");
  const std::string line = commandLine.Text();
  if (gameMain) gameMain(*app, line);

  // 18. Tell the harness the run is over, then shut down.
  Trace(services, "post quit");
  if (d.harnessWindow) {
    platform.PostToWindow(d.harnessWindow, TPlatform::kPostQuit, 0, 0);
  } else {
    platform.PostQuit();
  }
  Shutdown(std::move(app), services);
  return 0;
}

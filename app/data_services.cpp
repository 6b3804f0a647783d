#include "app/data_services.h"

#include <memory>

#include "app/window_system.h"
#include "data/asset_manager.h"
#include "data/computer_id.h"
#include "data/settings.h"
#include "data/string_table.h"
#include "files/file_system.h"
#include "files/xdg_folders.h"
#include "frame/application.h"
#include "frame/log.h"
#include "ui/window_script.h"

namespace {

std::string WithSlash(const std::string& folder) {
  if (folder.empty() || folder.back() == '/') return folder;
  return folder + "/";
}

std::string WithoutSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// The program's asset cache, from start-up to its step in the shutdown order.
std::unique_ptr<TAssetManager>& ProgramAssets() {
  static std::unique_ptr<TAssetManager> assets;
  return assets;
}

}  // namespace

void AddDataServices(TFrameServices& services) {
  services.createAssetManager = [] { ProgramAssets() = std::make_unique<TAssetManager>(); };
  services.destroyAssetManager = [] {
    if (const TAssetManager* assets = ProgramAssets().get()) {
      Log("Assets: %zu requests, %zu answered with an asset already loaded", assets->Requests(),
          assets->SharedAnswers());
    }
    ProgramAssets().reset();
  };
  services.storeSetting = [](const std::string& key, const std::string& value) {
    SetSetting(key, value);
  };
  services.readSetting = [](const std::string& key) { return GetSetting(key); };
  services.lookupString = [](const std::string& label) { return GetString(label); };
  services.resolveFolders = [](TApplicationData& data) {
    const TSpecialFolders folders =
        ComputeSpecialFolders(GetSetting("publisher"), data.productName);
    if (folders.user.empty()) return;  // no home folder: stay in the program folder
    data.userFolder = WithSlash(folders.user);
    data.commonFolder = WithSlash(folders.common);
    data.desktopFolder = WithSlash(folders.desktop);
  };
  services.loadData = [](TApplication& app) {
    TApplicationData& data = app.Data();
    SetSetting("computerid", ComputeComputerId());
    LoadSettingsFile("::assets/settings.xml");
    SetFileSystemFolders(WithoutSlash(data.userFolder), WithoutSlash(data.commonFolder),
                         WithoutSlash(data.desktopFolder));
    TFileSystemOptions options;
    options.firstPeek = GetSettingBool("firstpeek");
    options.activeX = GetSetting("activex") == "1";
    InitFileSystem(options);
    // Labels of the dialogs are string-table keys once the shipped table is there.
    if (StringTable().LoadAll()) {
      TWindowSystem* windows = GetWindowSystem(app);
      if (windows && windows->Script()) windows->Script()->SetLocalizeLabels(true);
    }
  };
  services.destroyStringTable = [] { StringTable().Clear(); };
  services.clearSettings = [] {
    ResetSettings();
    ResetFileSystem();
  };
}

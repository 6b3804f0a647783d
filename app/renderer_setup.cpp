#include "app/renderer_setup.h"

#include <cstdlib>
#include <string>

#include "data/asset_manager.h"
#include "data/settings.h"
#include "frame/application.h"
#include "gfx/diagnostic_overlay.h"
#include "gfx/renderer.h"
#include "gfx/system_cursor.h"

namespace {

bool VsyncWanted(const std::string& value) {
  return std::atoi(value.c_str()) != 0;
}

// The renderer of the running application, looked up at call time so that a setting
// stored while the program shuts down finds nothing instead of a freed renderer.
TRenderer* CurrentRenderer() {
  TApplication* app = TApplication::Get();
  TRenderLink* link = app ? app->GetRenderer() : nullptr;
  return link ? link->Renderer() : nullptr;
}

}  // namespace

void ConnectRenderer(TApplication& app, TRenderer& renderer) {
  renderer.LoadDisplaySettings(app.Data().containerMode);
  RegisterSystemCursor();
  AttachDiagnosticOverlay(renderer);
  // Textures come from the asset manager, which restores them after a display change.
  renderer.SetTextureRestorer(&TAssetManager::RestoreAllOfCurrent);

  renderer.SetVsync(VsyncWanted(GetSetting("vsync", "0")));
  SetSettingHook([](const std::string& key, const std::string& value) {
    if (key != "vsync") return;
    if (TRenderer* current = CurrentRenderer()) current->SetVsync(VsyncWanted(value));
  });

  renderer.SetDrawingSuspendedQuery([] {
    TApplication* current = TApplication::Get();
    TWindowManagerLink* manager = current ? current->GetWindowManager() : nullptr;
    return manager && manager->IsSuspended();
  });
}

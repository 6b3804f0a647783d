#include "webcontrol/control_registration.h"

#include <cctype>
#include <cstdlib>

namespace {

constexpr char kRoot[] = "HKEY_CLASSES_ROOT\\";
constexpr char kProgId[] = "activex.TandervelMahjongCurControl.1";
constexpr char kIndependentProgId[] = "activex.TandervelMahjongCurControl";
constexpr char kObjectName[] = "CTandervelMahjongCurControl Object";
// OLEMISC_SETCLIENTSITEFIRST | ACTIVATEWHENVISIBLE | INSIDEOUT | CANTLINKINSIDE |
// RECOMPOSEONRESIZE
constexpr char kMiscStatus[] = "131473";

std::string Key(const std::string& path) {
  return kRoot + path;
}

std::string ClassKey() {
  return Key("CLSID\\" + RegistryGuid(kControlClassId));
}

}  // namespace

std::string NormalClassId(std::string_view text) {
  constexpr std::string_view kPrefix = "clsid:";
  if (text.size() >= kPrefix.size()) {
    bool prefixed = true;
    for (size_t i = 0; i < kPrefix.size(); ++i)
      prefixed &= std::tolower(static_cast<unsigned char>(text[i])) == kPrefix[i];
    if (prefixed) text.remove_prefix(kPrefix.size());
  }
  if (text.size() >= 2 && text.front() == '{' && text.back() == '}')
    text = text.substr(1, text.size() - 2);
  if (text.size() != 36) return "";
  std::string guid;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? c != '-' : !std::isxdigit(static_cast<unsigned char>(c))) return "";
    guid += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return guid;
}

std::string RegistryGuid(std::string_view guid) {
  std::string text = "{";
  for (char c : guid) text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text + "}";
}

void RegisterControl(TRegistryFile* registry, const std::string& modulePath) {
  const std::string classGuid = RegistryGuid(kControlClassId);
  const std::string appId = RegistryGuid(kControlAppId);
  for (const char* progId : {kProgId, kIndependentProgId}) {
    registry->SetValue(Key(progId), "", kObjectName);
    registry->SetValue(Key(progId) + "\\CLSID", "", classGuid);
  }
  registry->SetValue(Key(kIndependentProgId) + "\\CurVer", "", kProgId);

  const std::string cls = ClassKey();
  registry->SetValue(cls, "", kObjectName);
  registry->SetValue(cls + "\\ProgID", "", kProgId);
  registry->SetValue(cls + "\\VersionIndependentProgID", "", kIndependentProgId);
  registry->SetValue(cls + "\\InprocServer32", "", modulePath);
  registry->SetValue(cls + "\\InprocServer32", "ThreadingModel", "apartment");
  registry->CreateKey(cls + "\\Control");
  registry->SetValue(cls + "\\ToolboxBitmap32", "", modulePath + ", 1");
  registry->SetValue(cls + "\\MiscStatus", "", "0");
  registry->SetValue(cls + "\\MiscStatus\\1", "", kMiscStatus);
  registry->SetValue(cls + "\\AppID", "", appId);
  registry->SetValue(cls + "\\TypeLib", "", RegistryGuid(kControlTypeLibraryId));
  registry->SetValue(cls + "\\Version", "", "1.0");

  registry->SetValue(Key("AppID\\" + appId), "", "activex");
  registry->SetValue(Key("AppID\\activex.DLL"), "AppID", appId);
}

void UnregisterControl(TRegistryFile* registry) {
  registry->RemoveTree(Key(kProgId));
  registry->RemoveTree(Key(kIndependentProgId));
  registry->RemoveTree(ClassKey());
  registry->RemoveTree(Key("AppID\\" + RegistryGuid(kControlAppId)));
  registry->RemoveTree(Key("AppID\\activex.DLL"));
}

std::string FindControlModule(const TRegistryFile& registry, std::string_view classId) {
  const std::string guid = NormalClassId(classId);
  if (guid.empty()) return "";
  std::string module;
  registry.GetValue(Key("CLSID\\" + RegistryGuid(guid) + "\\InprocServer32"), "", &module);
  return module;
}

std::string UserRegistryPath() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data == '/') return std::string(data) + "/activex/registry.reg";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.local/share/activex/registry.reg";
  return "";
}

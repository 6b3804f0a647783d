// The launcher control's registration: the keys a page host needs to find the control's
// module by the class GUID a page names (<object classid="clsid:...">), written to and
// removed from the per-user registry file. Keys live under "HKEY_CLASSES_ROOT\"; the
// "AppID" key itself is shared and is never removed.
#pragma once

#include <string>
#include <string_view>

#include "webcontrol/registry_file.h"

// The control's GUIDs, lower case without braces.
inline constexpr char kControlClassId[] = "6c1d2a4e-93f0-4b8e-a7d5-2f61c0b9e384";
inline constexpr char kControlInterfaceId[] = "5ea1006e-5ccc-49e6-a85c-32bb3e7207f7";
inline constexpr char kControlTypeLibraryId[] = "84c19c3b-8bea-4422-be06-c2c80b82b15a";
inline constexpr char kControlAppId[] = "ab5f9366-e2d0-411f-a665-ad537454d2e3";

// A GUID as a page or the registry writes it ("clsid:6C1D...", "{6c1d...}", "6c1d...") in
// lower case without prefix or braces; "" when it is not a GUID.
std::string NormalClassId(std::string_view text);
// The registry's form: upper case in braces.
std::string RegistryGuid(std::string_view guid);

// Writes every key of the control with modulePath as its in-process server.
void RegisterControl(TRegistryFile* registry, const std::string& modulePath);
// Removes the control's keys (the two program ids, its class, its two AppID entries).
void UnregisterControl(TRegistryFile* registry);
// The module registered for a class GUID (any of the forms above), or "".
std::string FindControlModule(const TRegistryFile& registry, std::string_view classId);

// The user's registry file: $XDG_DATA_HOME/activex/registry.reg, else under
// $HOME/.local/share; "" when neither is set.
std::string UserRegistryPath();

// The per-user registry file and the control's registration in it: the keys a page host
// needs to find the control's module by the class GUID a page names.
#include "webcontrol/control_registration.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "tests/webcontrol/launcher_test_support.h"
#include "webcontrol/registry_file.h"

namespace {

const std::string kClassKey = "HKEY_CLASSES_ROOT\\CLSID\\{6C1D2A4E-93F0-4B8E-A7D5-2F61C0B9E384}";

std::string Value(const TRegistryFile& registry, const std::string& key,
                  const std::string& name = "") {
  std::string value;
  EXPECT_TRUE(registry.GetValue(key, name, &value)) << key << " " << name;
  return value;
}

class RegistryFolder : public ::testing::Test {
 protected:
  void SetUp() override { folder = MakeTemporaryFolder("mc_registry_"); }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::filesystem::path folder;
};

}  // namespace

TEST(ControlRegistration, ClassIdsInEveryFormAPageOrRegistryWrites) {
  EXPECT_EQ(NormalClassId("clsid:6C1D2A4E-93F0-4B8E-A7D5-2F61C0B9E384"), kControlClassId);
  EXPECT_EQ(NormalClassId("CLSID:{6c1d2a4e-93f0-4b8e-a7d5-2f61c0b9e384}"), kControlClassId);
  EXPECT_EQ(NormalClassId(kControlClassId), kControlClassId);
  EXPECT_EQ(RegistryGuid(kControlClassId), "{6C1D2A4E-93F0-4B8E-A7D5-2F61C0B9E384}");
  for (const char* bad : {"", "clsid:", "clsid:6C1D2A4E93F04B8EA7D52F61C0B9E384",
                          "clsid:6C1D2A4E-93F0-4B8E-A7D5-2F61C0B9E38Z",
                          "clsid:{6C1D2A4E-93F0-4B8E-A7D5-2F61C0B9E384", "java:applet"})
    EXPECT_EQ(NormalClassId(bad), "") << bad;
}

TEST(ControlRegistration, RegisteringWritesTheWholeKeyTable) {
  TRegistryFile registry;
  RegisterControl(&registry, "/opt/mc/libactivex.so");
  const std::string object = "CTandervelMahjongCurControl Object";
  EXPECT_EQ(Value(registry, "HKEY_CLASSES_ROOT\\activex.TandervelMahjongCurControl.1"), object);
  EXPECT_EQ(Value(registry, "HKEY_CLASSES_ROOT\\activex.TandervelMahjongCurControl.1\\CLSID"),
            RegistryGuid(kControlClassId));
  EXPECT_EQ(Value(registry, "HKEY_CLASSES_ROOT\\activex.TandervelMahjongCurControl"), object);
  EXPECT_EQ(Value(registry, "HKEY_CLASSES_ROOT\\activex.TandervelMahjongCurControl\\CurVer"),
            "activex.TandervelMahjongCurControl.1");
  EXPECT_EQ(Value(registry, kClassKey), object);
  EXPECT_EQ(Value(registry, kClassKey + "\\ProgID"), "activex.TandervelMahjongCurControl.1");
  EXPECT_EQ(Value(registry, kClassKey + "\\VersionIndependentProgID"),
            "activex.TandervelMahjongCurControl");
  EXPECT_EQ(Value(registry, kClassKey + "\\InprocServer32"), "/opt/mc/libactivex.so");
  EXPECT_EQ(Value(registry, kClassKey + "\\InprocServer32", "ThreadingModel"), "apartment");
  EXPECT_TRUE(registry.HasKey(kClassKey + "\\Control"));
  EXPECT_EQ(Value(registry, kClassKey + "\\ToolboxBitmap32"), "/opt/mc/libactivex.so, 1");
  EXPECT_EQ(Value(registry, kClassKey + "\\MiscStatus"), "0");
  EXPECT_EQ(Value(registry, kClassKey + "\\MiscStatus\\1"), "131473");
  EXPECT_EQ(Value(registry, kClassKey + "\\AppID"), RegistryGuid(kControlAppId));
  EXPECT_EQ(Value(registry, kClassKey + "\\TypeLib"), RegistryGuid(kControlTypeLibraryId));
  EXPECT_EQ(Value(registry, kClassKey + "\\Version"), "1.0");
  EXPECT_EQ(Value(registry, "HKEY_CLASSES_ROOT\\AppID\\" + RegistryGuid(kControlAppId)), "activex");
  EXPECT_EQ(Value(registry, "HKEY_CLASSES_ROOT\\AppID\\activex.DLL", "AppID"),
            RegistryGuid(kControlAppId));
  EXPECT_EQ(FindControlModule(registry, "clsid:6c1d2a4e-93f0-4b8e-a7d5-2f61c0b9e384"),
            "/opt/mc/libactivex.so");
  EXPECT_EQ(FindControlModule(registry, "clsid:00000000-0000-0000-0000-000000000000"), "");
}

TEST(ControlRegistration, UnregisteringKeepsTheAppIdKeyAndOtherClasses) {
  TRegistryFile registry;
  registry.SetValue("HKEY_CLASSES_ROOT\\CLSID\\{00000000-0000-0000-0000-000000000001}", "",
                    "Another Object");
  registry.SetValue("HKEY_CLASSES_ROOT\\AppID\\other.DLL", "AppID", "{1}");
  RegisterControl(&registry, "/x/libactivex.so");
  UnregisterControl(&registry);
  EXPECT_FALSE(registry.HasKey(kClassKey));
  EXPECT_FALSE(registry.HasKey(kClassKey + "\\InprocServer32"));
  EXPECT_FALSE(registry.HasKey("HKEY_CLASSES_ROOT\\activex.TandervelMahjongCurControl.1"));
  EXPECT_FALSE(registry.HasKey("HKEY_CLASSES_ROOT\\activex.TandervelMahjongCurControl"));
  EXPECT_FALSE(registry.HasKey("HKEY_CLASSES_ROOT\\AppID\\activex.DLL"));
  EXPECT_FALSE(registry.HasKey("HKEY_CLASSES_ROOT\\AppID\\" + RegistryGuid(kControlAppId)));
  EXPECT_TRUE(registry.HasKey("HKEY_CLASSES_ROOT\\AppID"));
  EXPECT_EQ(Value(registry, "HKEY_CLASSES_ROOT\\AppID\\other.DLL", "AppID"), "{1}");
  EXPECT_EQ(Value(registry, "HKEY_CLASSES_ROOT\\CLSID\\{00000000-0000-0000-0000-000000000001}"),
            "Another Object");
  EXPECT_EQ(FindControlModule(registry, kControlClassId), "");
}

TEST_F(RegistryFolder, TheRegistrySurvivesAFileRoundTripWithAwkwardTexts) {
  const std::string path = (folder / "activex" / "registry.reg").string();
  TRegistryFile registry;
  ASSERT_TRUE(registry.Load(path));  // missing: empty
  EXPECT_TRUE(registry.Keys().empty());
  RegisterControl(&registry, "/home/a \"quoted\" b\\c/libactivex.so");
  registry.SetValue("HKEY_CLASSES_ROOT\\Odd", "name with = and \"", "line; [not a key]");
  ASSERT_TRUE(registry.Save());

  TRegistryFile again;
  ASSERT_TRUE(again.Load(path)) << again.Error();
  EXPECT_EQ(again.Keys(), registry.Keys());
  EXPECT_EQ(FindControlModule(again, kControlClassId), "/home/a \"quoted\" b\\c/libactivex.so");
  EXPECT_EQ(Value(again, "HKEY_CLASSES_ROOT\\Odd", "name with = and \""), "line; [not a key]");
  EXPECT_EQ(again.Text(), registry.Text());
  // Keys compare without letter case, as registry keys do.
  EXPECT_EQ(Value(again, "hkey_classes_root\\odd", "name with = and \""), "line; [not a key]");
  // Nothing but the registry itself is left in its folder.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder / "activex"))
    ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(RegistryFolder, ADamagedRegistryYieldsNothingAndIsNeverOverwritten) {
  const std::string path = (folder / "registry.reg").string();
  for (const std::string& damaged :
       {std::string("not a registry\n"), std::string("REGEDIT4\n@=\"value before a key\"\n"),
        std::string("REGEDIT4\n[HKEY_CLASSES_ROOT\\A\n"), std::string("REGEDIT4\n[A\\\\B]\n"),
        std::string("REGEDIT4\n[A]\n\"x\"=\"open\n"),
        std::string("REGEDIT4\n[A]\n\"x\"=\"a\"tail\n"),
        std::string("REGEDIT4\n[A]\n\"x\"=\"bad \\n escape\"\n"),
        std::string("REGEDIT4\n[A]\n=\"\"\n"), std::string("\x00\x01\x02", 3)}) {
    WriteFile(path, damaged);
    TRegistryFile registry;
    EXPECT_FALSE(registry.Load(path)) << damaged;
    EXPECT_FALSE(registry.Error().empty());
    EXPECT_TRUE(registry.Keys().empty());
    RegisterControl(&registry, "/x/libactivex.so");
    EXPECT_FALSE(registry.Save());
    EXPECT_EQ(ReadFile(path), damaged) << "a damaged registry was replaced";
  }
  // Line endings of another system and comments are fine.
  WriteFile(path, "REGEDIT4\r\n\r\n; a comment\r\n[A\\B]\r\n@=\"v\"\r\n");
  TRegistryFile registry;
  ASSERT_TRUE(registry.Load(path)) << registry.Error();
  EXPECT_EQ(Value(registry, "A\\B"), "v");
  EXPECT_TRUE(registry.HasKey("A"));
}

TEST(ControlRegistration, TheUsersRegistryLivesInTheDataFolder) {
  const char* data = getenv("XDG_DATA_HOME");
  const std::string saved = data ? data : "";
  setenv("XDG_DATA_HOME", "/home/ada/data", 1);
  EXPECT_EQ(UserRegistryPath(), "/home/ada/data/activex/registry.reg");
  setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
  setenv("HOME", "/home/ada", 1);
  EXPECT_EQ(UserRegistryPath(), "/home/ada/.local/share/activex/registry.reg");
  if (data)
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}

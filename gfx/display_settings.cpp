#include "gfx/display_settings.h"

#include <cstdlib>

#include "files/file.h"
#include "files/xml_node.h"
#include "frame/log.h"

std::string LowMemoryDisplayDocument() {
  TXmlNode settings("Settings");
  settings.SetAttribute("LowMemoryVideo", "1");
  return settings.ToString();
}

bool WriteLowMemoryDisplaySetting() {
  TFile file;
  if (!file.Open(kDisplaySettingsFile, kWriteBinary)) return false;
  std::string text = LowMemoryDisplayDocument();
  return file.Write(text.data(), text.size()) == text.size();
}

bool ReadLowMemoryDisplaySetting() {
  TXmlNode root;
  root.LoadFile(kDisplaySettingsFile);
  const TXmlNode* settings = root.FindChild("Settings");
  if (!settings) return false;
  bool on = std::atoi(settings->GetAttribute("LowMemoryVideo").c_str()) != 0;
  if (on) Log("Low memory video card setting enabled!");
  return on;
}

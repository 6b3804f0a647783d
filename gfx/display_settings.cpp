#include "gfx/display_settings.h"

#include "files/file.h"

std::string LowMemoryDisplayDocument() {
  return "<Settings LowMemoryVideo=\"1\" />\n";
}

bool WriteLowMemoryDisplaySetting() {
  TFile file;
  if (!file.Open(kDisplaySettingsFile, kWriteBinary)) return false;
  std::string text = LowMemoryDisplayDocument();
  return file.Write(text.data(), text.size()) == text.size();
}

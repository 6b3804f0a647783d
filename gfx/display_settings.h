// The persisted display setting of the low-video-memory mode: "common:display.xml" holds a
// "Settings" element whose "LowMemoryVideo" attribute is "1" after video memory ran out, so
// later runs start in that mode.
#pragma once

#include <string>

inline constexpr char kDisplaySettingsFile[] = "common:display.xml";

// Writes the document that switches the low-video-memory mode on; false when the file
// cannot be written.
bool WriteLowMemoryDisplaySetting();
// The document text written by WriteLowMemoryDisplaySetting.
std::string LowMemoryDisplayDocument();
// Reads the file: true when its "Settings" element asks for low-video-memory mode (logs
// "Low memory video card setting enabled!"). A missing or damaged file answers false.
bool ReadLowMemoryDisplaySetting();

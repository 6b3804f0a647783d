#include "webcontrol/game_command_line.h"

#include <cstdio>

TGameLaunch BuildGameLaunch(const TControlProperties& properties, uint64_t window,
                            const std::string& hostProgram, bool aol) {
  const std::string url = NarrowProperty(properties.downloadUrl);
  const std::string options = NarrowProperty(properties.options);
  const std::string anonymous = NarrowProperty(properties.anonymousScores);
  const std::string hideLogos = NarrowProperty(properties.hideLogos);
  const std::string gameData = NarrowProperty(properties.gameData);
  const bool msn = !NarrowProperty(properties.msn).empty();

  char handle[32];
  std::snprintf(handle, sizeof handle, "%llx", static_cast<unsigned long long>(window));
  std::string text = std::string("-wnd=") + handle;
  if (!url.empty()) text += " -url=" + url;
  if (!options.empty()) text += " -options=" + options;
  if (!anonymous.empty()) text += " -anon " + anonymous;
  if (!hideLogos.empty()) text += " -hidelogo " + hideLogos;
  if (!gameData.empty()) text += " " + gameData;
  if (msn) text += " -msn";
  if (!msn && !hostProgram.empty() && hostProgram.find(' ') == std::string::npos)
    text += " -host=" + hostProgram;
  if (aol) text += " -aol";

  TGameLaunch launch;
  launch.options = text;
  launch.text = std::string(kGameProgramName) + " " + text;
  // The game joins its arguments with single blanks, so cutting the text at every blank
  // (empty pieces included) gives it back exactly the same line.
  size_t start = 0;
  for (;;) {
    const size_t blank = text.find(' ', start);
    launch.arguments.push_back(text.substr(start, blank - start));
    if (blank == std::string::npos) break;
    start = blank + 1;
  }
  return launch;
}

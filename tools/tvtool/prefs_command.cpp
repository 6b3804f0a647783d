// tvtool prefs dump FILE --key KEY
// tvtool prefs set FILE --key KEY [--install IKEY] PLAYER NAME VALUE
// Reads and changes preference files with the engine's own store. dump prints every
// section, slot and entry (text when printable, else hexadecimal) and reports damage;
// set stores a string value for a player ("global" or -1 for the global slot) in the
// given installation's section (by default the file's current one) and saves the file; it
// refuses to write over a file that does not read cleanly with the key.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/prefs.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/package_input.h"

namespace {

struct TPrefsArguments {
  std::vector<std::string> positional;
  std::string key;
  std::string install;
  bool hasKey = false;
  bool hasInstall = false;
};

bool ParseArguments(const TToolArguments& args, TPrefsArguments& out) {
  for (size_t i = 0; i < args.all.size(); ++i) {
    const std::string& arg = args.all[i];
    if (arg == "--key" || arg == "--install") {
      if (i + 1 >= args.all.size()) return false;
      (arg == "--key" ? out.key : out.install) = args.all[++i];
      (arg == "--key" ? out.hasKey : out.hasInstall) = true;
    } else {
      out.positional.push_back(arg);
    }
  }
  return out.hasKey;
}

std::string Describe(const std::string& value) {
  std::string text = value;
  const bool terminated = !text.empty() && text.back() == '\0';
  if (terminated) text.pop_back();
  bool printable = true;
  for (unsigned char c : text) printable = printable && c >= 32 && c < 127;
  if (printable) return (terminated ? "\"" : "bytes \"") + text + "\"";
  static const char kDigits[] = "0123456789abcdef";
  std::string hex = "hex ";
  for (unsigned char c : value) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex + " (" + std::to_string(value.size()) + " bytes)";
}

int Dump(const TPrefsArguments& args) {
  if (args.positional.size() != 2 || args.hasInstall) return ToolUsage("prefs");
  const std::string& path = args.positional[1];
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (!probe) return ToolError("prefs", "cannot open " + path);
  std::fclose(probe);
  TPrefsOptions options;
  options.fileName = LiteralName(path);
  options.keyText = args.key;
  options.installFile.clear();
  options.installKeyFromFile = true;
  options.save = false;
  TPrefs prefs(options);
  std::printf("current installation: \"%s\"\n", prefs.InstallKey().c_str());
  for (const auto& [key, slots] : prefs.Sections()) {
    std::printf("section \"%s\"\n", key.c_str());
    for (size_t slot = 0; slot < slots.size(); ++slot) {
      if (slot == 0)
        std::printf("  global\n");
      else
        std::printf("  player %zu\n", slot - 1);
      for (const auto& [name, value] : slots[slot])
        std::printf("    %s = %s\n", name.c_str(), Describe(value).c_str());
    }
  }
  if (prefs.LoadWasDamaged())
    return ToolError("prefs", path + " is damaged (" + prefs.LoadDamage() +
                                  "); shown is what could be read before it");
  return 0;
}

int Set(const TPrefsArguments& args) {
  if (args.positional.size() != 5) return ToolUsage("prefs");
  const std::string& path = args.positional[1];
  const std::string& playerText = args.positional[2];
  int player = -1;
  if (playerText != "global") {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(playerText.c_str(), &end, 10);
    if (playerText.empty() || *end != '\0' || errno == ERANGE || value < -1 ||
        value >= TPrefs::kMaxPlayers)
      return ToolError("prefs", "PLAYER must be \"global\", -1 or a player index from 0 to " +
                                    std::to_string(TPrefs::kMaxPlayers - 1));
    player = static_cast<int>(value);
  }
  TPrefsOptions options;
  options.fileName = LiteralName(path);
  options.keyText = args.key;
  options.installFile.clear();
  options.installKey = args.install;
  options.installKeyFromFile = !args.hasInstall;
  TPrefs prefs(options);
  if (prefs.LoadWasDamaged())
    return ToolError("prefs", path + " is damaged or enciphered with another key (" +
                                  prefs.LoadDamage() + "); not changed");
  prefs.SetPref(args.positional[3], args.positional[4], player);
  if (prefs.GetPref(args.positional[3], std::string(1, '\x01'), player) != args.positional[4])
    return ToolError("prefs", "the value cannot be stored (name or value too long?)");
  if (!prefs.Save()) return ToolError("prefs", "cannot save " + path);
  return 0;
}

int RunPrefs(const TToolArguments& toolArgs) {
  TPrefsArguments args;
  if (!ParseArguments(toolArgs, args) || args.positional.empty()) return ToolUsage("prefs");
  if (args.positional[0] == "dump") return Dump(args);
  if (args.positional[0] == "set") return Set(args);
  return ToolUsage("prefs");
}

const TCommandRegistration kPrefs{
    "prefs",
    "dump FILE --key KEY | set FILE --key KEY [--install IKEY] PLAYER NAME VALUE",
    "show every section, player and key of a preferences file, or set one value",
    &RunPrefs,
    {"--key", "--install"}};

}  // namespace

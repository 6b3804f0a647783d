// tvtool record FILE [--install IKEY]
// Shows the players of a preferences file and each one's progress as the game reads it:
// flags, bankroll, the levels beaten, days won per location, the collection and the display
// case by face short name, and the tutorial prompts seen. Reads with the game's key; the
// file is never written.
#include <cstdio>
#include <string>

#include "campaign/record/game_state.h"
#include "campaign/record/record_keys.h"
#include "data/prefs.h"
#include "game/face_catalogue.h"
#include "tools/tvtool/command_registry.h"
#include "tools/tvtool/package_input.h"

namespace {

const char* YesNo(bool value) {
  return value ? "yes" : "no";
}

std::string FaceText(TFace face) {
  if (face.IsNone()) return "-";
  const std::string_view name = FaceShortName(face);
  if (!name.empty()) return std::string(name);
  // Built by appending: GCC 12 warns falsely about "(" + string.
  std::string text = "(";
  text += std::to_string(face.suit);
  text += ',';
  text += std::to_string(face.variant);
  text += ')';
  return text;
}

void PrintRecord(const TGameState& state) {
  const TProgress& p = state.Progress();
  std::printf(
      "  game started %s, intro seen %s, tutorial level done %s, game ended %s, "
      "gallery seen %s\n",
      YesNo(p.gameStarted), YesNo(p.introSeen), YesNo(p.tutorialLevelDone), YesNo(p.gameEnded),
      YesNo(p.gallerySeen));
  std::printf("  bankroll %d, speed levels played %d\n", p.bankroll, p.speedLevelsPlayed);
  std::printf("  levels beaten %d:", p.levelsBeatenCount);
  for (int i = 0; i < p.levelsBeatenCount; ++i) std::printf(" %d", p.levelsBeaten[i] + 1);
  std::printf("\n  days won:");
  for (const TLocationInfo& location : LocationTable()) {
    std::printf(" %.*s %d/%d", static_cast<int>(location.keyName.size()), location.keyName.data(),
                p.locationWins[static_cast<size_t>(location.id)], location.days);
  }
  std::printf("\n  collection (%d usable slots):", p.slotsPurchased);
  for (int slot = 0; slot < p.slotsPurchased; ++slot)
    std::printf(" %s", FaceText(p.collection[static_cast<size_t>(slot)]).c_str());
  const TDisplayCase& displayCase = state.DisplayCase();
  std::printf("\n  display case (%zu, %d won in all):", displayCase.FilledCount(),
              displayCase.CollectionSize());
  for (size_t slot = 0; slot < TDisplayCase::kSlots; ++slot)
    if (!displayCase.Slot(slot).IsNone())
      std::printf(" %s", FaceText(displayCase.Slot(slot)).c_str());
  std::printf("\n  tutorial prompts seen:");
  for (int32_t id : p.tutorials) {
    if (id >= 0 && id < kTutorialPromptCount) {
      const std::string_view key = TutorialPrompts()[static_cast<size_t>(id)].bodyKey;
      std::printf(" %.*s", static_cast<int>(key.size()), key.data());
    }
  }
  std::printf("\n");
}

int RunRecord(const TToolArguments& args) {
  std::string install;
  std::string path;
  for (size_t i = 0; i < args.all.size(); ++i) {
    if (args.all[i] == "--install" && i + 1 < args.all.size()) {
      install = args.all[++i];
    } else if (path.empty() && args.all[i].rfind("--", 0) != 0) {
      path = args.all[i];
    } else {
      return ToolUsage("record");
    }
  }
  if (path.empty()) return ToolUsage("record");
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (!probe) return ToolError("record", "cannot open " + path);
  std::fclose(probe);
  TPrefsOptions options;
  options.fileName = LiteralName(path);
  options.keyText = kGameEncryptionKey;
  options.installFile.clear();
  options.installKey = install;
  options.installKeyFromFile = install.empty();
  options.save = false;
  TPrefs prefs(options);
  const int current = prefs.GetPrefInt(record_key::kCurrentUser, -1);
  std::printf("installation \"%s\": %d players, current %d\n", prefs.InstallKey().c_str(),
              prefs.GetUserCount(), current);
  for (int player = 0; player < prefs.GetUserCount(); ++player) {
    // The record is the current player's: make each one current in turn (never saved).
    prefs.SetPrefInt(record_key::kCurrentUser, player);
    const TGameState state(prefs);
    std::printf("player %d \"%s\"%s\n", player,
                prefs.GetPref(record_key::kName, "", player).c_str(),
                player == current ? " (current)" : "");
    PrintRecord(state);
  }
  if (prefs.LoadWasDamaged())
    return ToolError("record", path + " is damaged (" + prefs.LoadDamage() +
                                   "); shown is what could be read before it");
  return 0;
}

const TCommandRegistration kRecord{"record",
                                   "FILE [--install IKEY]",
                                   "show each player's progress in a preferences file",
                                   &RunRecord,
                                   {"--install"}};

}  // namespace

// TDialogVocabulary: what a library teaches the dialog scripts. Window types are the
// functions scripts call to describe windows ("Button{ ... }"); script constants become Lua
// globals of the window script's state (message types, layout codes, setting names). The
// engine's own vocabulary is in ui/engine_vocabulary.cpp; every other library keeps its
// own table beside its window classes and registers it with one call.
//
// How a game or campaign library adds its window types, message types and constants,
// without touching ui/:
//
//   // campaign/campaign_vocabulary.cpp
//   enum TCampaignMessage : int { kMapPinChosen = kFirstGameMessageType, kStoryDone };
//
//   constexpr TWindowType kCampaignWindowTypes[] = {
//       {"CityMap", &TCityMap::Create},
//       {"StoryWindow", &TStoryWindow::Create},
//   };
//   constexpr TScriptConstant kCampaignConstants[] = {
//       TScriptConstant::Message("kMapPinChosen", kMapPinChosen),
//       TScriptConstant::Message("kStoryDone", kStoryDone),
//       TScriptConstant::Number("kSaleDays", 7),
//       TScriptConstant::Text("kTotalScoreKey", "mj_totalscore"),
//   };
//
//   void RegisterCampaignVocabulary(TWindowManager& manager) {
//     manager.AddVocabulary({kCampaignWindowTypes, kCampaignConstants});
//   }
//
// The program calls RegisterCampaignVocabulary once, before "scripts/mainloop.lua" runs;
// from then on a dialog script writes CityMap{ name = 'map' } and tests
// m.type == kMapPinChosen. Registering a type name again replaces its creator; a constant
// name again replaces its value; a message type whose number another name already holds
// is refused with a log line (two names for one number would make scripts disagree).
#pragma once

#include <span>
#include <string_view>

#include "ui/window.h"

struct TScriptConstant {
  enum TKind : unsigned char { kNumber, kText, kMessageType };

  static constexpr TScriptConstant Number(std::string_view name, double value) {
    return {name, kNumber, value, {}};
  }
  static constexpr TScriptConstant Text(std::string_view name, std::string_view text) {
    return {name, kText, 0, text};
  }
  // A TMessage type number that scripts compare m.type against.
  static constexpr TScriptConstant Message(std::string_view name, int type) {
    return {name, kMessageType, static_cast<double>(type), {}};
  }

  std::string_view name;
  TKind kind = kNumber;
  double number = 0;      // kNumber and kMessageType
  std::string_view text;  // kText
};

struct TWindowType {
  std::string_view name;
  TWindowCreator create = nullptr;
};

struct TDialogVocabulary {
  std::span<const TWindowType> windowTypes;
  std::span<const TScriptConstant> constants;
};

// Whether a name can become a Lua global that scripts write as it is: letters, digits and
// '_', not starting with a digit.
bool IsScriptName(std::string_view name);

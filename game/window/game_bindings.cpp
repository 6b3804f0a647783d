#include "game/window/game_bindings.h"

#include <array>

#include "game/window/game.h"
#include "game/window/window_functions.h"
#include "script/native_binding.h"
#include "ui/window_manager.h"
#include "ui/window_script.h"

namespace {

template <auto Method>
void Bind(lua_State* L, const char* name, TGame* game) {
  RegisterMethod(L, name, game, Method);
}

struct TBinding {
  const char* name;
  void (*bind)(lua_State* L, const char* name, TGame* game);
};

void DoNothing() {}

void BindNothing(lua_State* L, const char* name, TGame*) {
  RegisterFunction(L, name, &DoNothing);
}

constexpr TBinding kBindings[] = {
    {"Submit", &Bind<&TGame::Submit>},
    {"Shuffle", &Bind<&TGame::Shuffle>},
    {"Undo", &Bind<&TGame::Undo>},
    {"Redo", &Bind<&TGame::Redo>},
    {"Hint", &Bind<&TGame::Hint>},
    {"StartAppraisal", &Bind<&TGame::StartAppraisal>},
    {"QuitGame", &Bind<&TGame::QuitGame>},
    {"BuyAppraisal", &Bind<&TGame::BuyAppraisal>},
    {"ResetCursor", &Bind<&TGame::ResetCursor>},
    {"SlideOptions", &BindNothing},
    {"KillEndgameMusic", &Bind<&TGame::KillEndgameMusic>},
    {"AutoWin", &Bind<&TGame::AutoWin>},
    {"DoAppropriateModal", &Bind<&TGame::DoAppropriateModal>},
    {"DisplayDialogIfEnd", &Bind<&TGame::DisplayDialogIfEnd>},
    {"CanShuffle", &Bind<&TGame::CanShuffle>},
    {"CanUndo", &Bind<&TGame::CanUndo>},
    {"CanRedo", &Bind<&TGame::CanRedo>},
    {"FlushTutorial", &Bind<&TGame::FlushTutorial>},
    {"AssignKennyUndo", &Bind<&TGame::AssignKennyUndo>},
    {"UpdateScore", &Bind<&TGame::UpdateScore>},
    {"SetTreasureGalleryLaunched", &BindNothing},
    {"KennyOfferText", &Bind<&TGame::KennyOfferText>},
    {"TakeKennyGift", &Bind<&TGame::TakeKennyGift>},
    {"GambleWithKenny", &Bind<&TGame::GambleWithKenny>},
    {"LevelResultText", &Bind<&TGame::LevelResultText>},
    {"AppraisedPicture", &Bind<&TGame::AppraisedPicture>},
    {"AppraisedText", &Bind<&TGame::AppraisedText>},
    {"RecordLevelResult", &Bind<&TGame::RecordLevelResult>},
    {"LeaveForMap", &Bind<&TGame::LeaveForMap>},
};

constexpr auto kNames = [] {
  std::array<const char*, std::size(kBindings)> names{};
  for (size_t i = 0; i < names.size(); ++i) names[i] = kBindings[i].name;
  return names;
}();

TGame* gBound = nullptr;

}  // namespace

void BindGameFunctions(TGame* game) {
  lua_State* L = WindowScriptState();
  if (!L) return;
  for (const TBinding& binding : kBindings) binding.bind(L, binding.name, game);
  gBound = game;
}

void UnbindGameFunctions(TGame* game) {
  if (gBound != game) return;
  gBound = nullptr;
  lua_State* L = WindowScriptState();
  if (!L) return;
  ClearScriptGlobals(L, kNames);
}

std::span<const char* const> GameFunctionNames() {
  return kNames;
}

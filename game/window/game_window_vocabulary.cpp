#include "game/window/game_window_vocabulary.h"

#include "game/window/animation_layer.h"
#include "game/window/board_window.h"
#include "game/window/game.h"
#include "game/window/holding_area.h"
#include "game/window/layout_chooser.h"
#include "game/window/layout_editor_window.h"
#include "ui/dialog_vocabulary.h"
#include "ui/window_manager.h"

namespace {

constexpr TWindowType kWindowTypes[] = {
    {"AnimationLayer", &TAnimationLayer::Create},
    {"GameBoard", &TBoardWindow::Create},
    {"GameWindow", &TGame::Create},
    {"LayoutChooser", &TLayoutChooser::Create},
    {"LayoutEditor", &TLayoutEditorWindow::Create},
    {"SetDrawer", &THoldingArea::Create},
};

}  // namespace

void RegisterGameWindowVocabulary(TWindowManager& manager) {
  manager.AddVocabulary({kWindowTypes, {}});
}

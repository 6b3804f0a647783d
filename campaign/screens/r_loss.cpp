#include "campaign/screens/r_loss.h"

#include <string>

#include "campaign/game_app.h"
#include "data/settings.h"
#include "data/string_table.h"
#include "ui/text.h"

TWindow* RLoss::Create() {
  return new RLoss;
}

void RLoss::PostCreate(const TWindowStyle& style) {
  if (auto* price = dynamic_cast<TText*>(FindChild("loss_shuffle_price"))) {
    std::string text = "-";
    text += FormatCurrency(GetSettingInt("score_shufflecost", kDefaultShuffleCost));
    price->SetText(text);
  }
  RWindow::PostCreate(style);
  if (TGameApp* game = TGameApp::Get()) game->ReportLevelBreak();
}

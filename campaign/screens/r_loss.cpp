#include "campaign/screens/r_loss.h"

#include "campaign/game_app.h"
#include "data/settings.h"
#include "data/string_table.h"
#include "ui/text.h"

TWindow* RLoss::Create() {
  return new RLoss;
}

void RLoss::PostCreate(const TWindowStyle& style) {
  if (auto* price = dynamic_cast<TText*>(FindChild("loss_shuffle_price")))
    price->SetText("-" + FormatCurrency(GetSettingInt("score_shufflecost", kDefaultShuffleCost)));
  RWindow::PostCreate(style);
  if (TGameApp* game = TGameApp::Get()) game->ReportLevelBreak();
}

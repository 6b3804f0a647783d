#include "campaign/screens/r_intro.h"

#include "campaign/game_app.h"
#include "campaign/record/location_info.h"
#include "campaign/screens/campaign_location.h"
#include "ui/text.h"

namespace {

constexpr float kLetterheadTilt = -14.5f;

}  // namespace

RIntro::RIntro() {
  TGameApp* game = TGameApp::Get();
  if (!game) return;
  TProgress& progress = game->State().Progress();
  progress.gameStarted = true;
  game->State().Save(record_key::kGameStarted);
  progress.introSeen = true;
  game->State().Save(record_key::kIntroSeen);
}

TWindow* RIntro::Create() {
  return new RIntro;
}

void RIntro::PostCreate(const TWindowStyle& style) {
  SetCurrentLocationId(kGrammasAttic);
  if (auto* letterhead = dynamic_cast<TText*>(FindChild("intro_letterhead_2")))
    letterhead->SetRotation(kLetterheadTilt, 0, 0);
  RWindow::PostCreate(style);
}

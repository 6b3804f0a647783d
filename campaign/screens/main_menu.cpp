#include "campaign/screens/main_menu.h"

#include "campaign/game_app.h"
#include "campaign/screens/campaign_functions.h"
#include "campaign/screens/sprite_layer.h"
#include "data/string_table.h"
#include "files/file_system.h"
#include "frame/application.h"
#include "frame/frame_links.h"
#include "ui/modal_window.h"
#include "ui/text.h"

namespace {

// The painted labels of the menu's signs lean like the signs themselves.
constexpr float kWelcomeTilt = -8.0f;
constexpr float kSignLabelTilt = 2.8f;
constexpr const char* kSignButtons[] = {"newadventuregame",
                                        "newclassicgame",
                                        "treasuregallery",
                                        "patterncreator",
                                        "highscores",
                                        "options",
                                        "help",
                                        "quit",
                                        "players"};
constexpr const char* kLabelStates[] = {"_text_up", "_text_down", "_text_over"};

void Tilt(TWindow& root, const std::string& name, float degrees) {
  if (auto* text = dynamic_cast<TText*>(root.FindChild(name))) text->SetRotation(degrees, 0, 0);
}

TSoundLink* Sound() {
  TApplication* app = TApplication::Get();
  return app ? app->GetSoundManager() : nullptr;
}

}  // namespace

TMainMenu::TMainMenu() {
  mFunctions.Bind("SetWelcomeName", this, &TMainMenu::SetWelcomeName);
  mFunctions.Bind("HasGameStarted", this, &TMainMenu::HasGameStarted);
  mFunctions.Bind("Reset", this, &TMainMenu::Reset);
  mFunctions.Bind("KillMusic", this, &TMainMenu::KillMusic);
  mFunctions.Bind("PlayMusic", this, &TMainMenu::PlayMusic);
  mFunctions.Bind("PauseMusic", this, &TMainMenu::PauseMusic);
  mFunctions.Bind("ResumeMusic", this, &TMainMenu::ResumeMusic);
  mFunctions.Bind("DoWork", this, &TMainMenu::DoWork);
  PlayMusic();
}

TMainMenu::~TMainMenu() = default;

TWindow* TMainMenu::Create() {
  return new TMainMenu;
}

void TMainMenu::PostCreate(const TWindowStyle& style) {
  TKeyboardScreen::PostCreate(style);
  if (!FileExists(kCrossSellFile)) {
    if (TWindow* more = FindChild("mainmenu_moregames"))
      more->SetFlags(more->GetFlags() & ~kWindowVisible);
  }
  Tilt(*this, "mainmenu_welcome_text", kWelcomeTilt);
  for (const char* button : kSignButtons) {
    for (const char* state : kLabelStates)
      Tilt(*this, std::string("mainmenu_") + button + state, kSignLabelTilt);
  }
  for (const char* state : kLabelStates) {
    auto* text = dynamic_cast<TText*>(FindChild(std::string("mainmenu_chooseplayer") + state));
    if (!text) continue;
    text->SetRotation(kWelcomeTilt, 0, 0);
    text->SetText("<u>" + text->GetText() + "</u>");
  }
  ApplySolvableDealsChoice();
  SetWelcomeName();
  if (auto* layer = dynamic_cast<TSpriteLayer*>(FindChild("spritelayer"))) {
    TModalWindow* modal = GetModalAncestor();
    const unsigned seed = modal ? static_cast<unsigned>(modal->Clock().GetTime()) : 1u;
    if (mDecorations.Start(*layer, seed))
      StartAnimation(TSpriteLayer::kUpdateMs, true, true, false);
  }
}

bool TMainMenu::Animate() {
  mDecorations.Update();
  return true;
}

void TMainMenu::SetWelcomeName() {
  TWindow* welcome = FindChild("mainmenu_welcome_text");
  if (!welcome) return;
  welcome->SetFlags(welcome->GetFlags() | kWindowVisible);
  TGameApp* game = TGameApp::Get();
  auto* text = dynamic_cast<TText*>(welcome);
  if (!game || !text || game->GetNumUsers() < 1) return;
  text->SetText(GetString("mainmenu_welcome", game->CurrentUserName()));
  ApplySolvableDealsChoice();
}

bool TMainMenu::HasGameStarted() {
  TGameApp* game = TGameApp::Get();
  return game && game->State().Progress().gameStarted;
}

void TMainMenu::Reset() {
  if (TGameApp* game = TGameApp::Get()) game->State().Reset();
}

void TMainMenu::KillMusic() {
  mMusicPaused = false;
  TSoundLink* sound = Sound();
  if (sound && sound->CurrentMusic() == kMenuMusic) sound->StopMusic();
}

void TMainMenu::PlayMusic() {
  mMusicPaused = false;
  if (TSoundLink* sound = Sound()) sound->PlayMusic(kMenuMusic);
}

// The sound link streams one piece at a time and cannot hold a piece half-way: a pause
// stops the menu's piece and a resume starts it again.
void TMainMenu::PauseMusic() {
  TSoundLink* sound = Sound();
  if (!sound || sound->CurrentMusic() != kMenuMusic) return;
  sound->StopMusic();
  mMusicPaused = true;
}

void TMainMenu::ResumeMusic() {
  if (!mMusicPaused) return;
  PlayMusic();
}

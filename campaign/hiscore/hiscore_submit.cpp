#include "campaign/hiscore/hiscore_submit.h"

#include "campaign/game_app.h"
#include "campaign/hiscore/dialog_script_text.h"
#include "campaign/hiscore/hiscore.h"
#include "campaign/record/location_info.h"
#include "data/string_table.h"
#include "online/tv_hiscores.h"
#include "script/native_binding.h"
#include "ui/message.h"
#include "ui/modal_window.h"
#include "ui/text.h"
#include "ui/text_edit.h"
#include "ui/window_manager.h"

namespace {

THiscoreSubmit* gOpenDialog = nullptr;

constexpr size_t kMessageBufferSize = 512;
constexpr char kFunctionName[] = "SubmitToServer";

// The server's medal of each campaign location, by location id.
constexpr const char* kLocationMedals[kCampaignLocationCount + 1] = {
    nullptr,
    "mahjongcuriomar_yardsale",
    "mahjongcuriomar_fleamarket",
    "mahjongcuriomar_antiqueshop",
    "mahjongcuriomar_estatesale",
    "mahjongcuriomar_texasauction",
    "mahjongcuriomar_rothchildesauctionhouse",
    "mahjongcuriomar_curiomarauctiongalleries",
};

void SetShown(TWindow* window, bool shown) {
  if (!window) return;
  const uint32_t flags = window->GetFlags();
  window->SetFlags(shown ? flags | kWindowVisible : flags & ~kWindowVisible);
}

bool HoldsText(TWindow* window) {
  auto* edit = dynamic_cast<TTextEdit*>(window);
  return edit && !edit->GetText().empty();
}

}  // namespace

THiscoreSubmit::THiscoreSubmit() {
  gOpenDialog = this;
  if (lua_State* L = DialogScriptState())
    RegisterMethod(L, kFunctionName, this, &THiscoreSubmit::SubmitToServer);
}

THiscoreSubmit::~THiscoreSubmit() {
  if (gOpenDialog != this) return;
  gOpenDialog = nullptr;
  UnbindDialogFunction(kFunctionName);
}

TWindow* THiscoreSubmit::Create() {
  return new THiscoreSubmit;
}

TTvHiscores* THiscoreSubmit::Service() const {
  TGameApp* game = TGameApp::Get();
  return game ? game->Hiscores() : nullptr;
}

void THiscoreSubmit::PostCreate(const TWindowStyle& style) {
  TWindow::PostCreate(style);
  TTvHiscores* service = Service();
  const THiscoreRow* entry = service ? service->GetPlayerEntry(false) : nullptr;
  if (auto* text = dynamic_cast<TText*>(FindChild("eligiblescore")))
    text->SetText(FormatCurrency(entry ? entry->score : 0));
  UpdateSubmitButton();
}

bool THiscoreSubmit::OnMessage(TMessage& message) {
  if (message.type != kTextChanged) return false;
  UpdateSubmitButton();
  Invalidate();
  return false;  // the script may follow the typing too
}

// Escape cancels; Enter presses the send button (the dialog's default button).
bool THiscoreSubmit::OnKeyDown(int key, int /*modifiers*/) {
  if (key != hiscore_key::kEscape) return false;
  CloseDialogOf(this);
  return true;
}

// The submit button is there while a name or an account name is typed.
void THiscoreSubmit::UpdateSubmitButton() {
  TWindow* button = FindChild("submittoserver");
  if (!button) return;
  SetShown(button, HoldsText(FindChild("nameedit")) || HoldsText(FindChild("accountedit")));
}

void THiscoreSubmit::SubmitToServer(const std::string& playerName, const std::string& accountName,
                                    const std::string& password, bool remember) {
  if (mRunning) return;  // one submission at a time
  mPlayerName = playerName;
  mAccountName = accountName;
  mPassword = password;
  mRemember = remember;
  mStage = kSubmittingScore;
  TTvHiscores* service = Service();
  if (!service) return;
  if (!accountName.empty())
    service->SubmitScore(accountName, password, remember);
  else
    service->SubmitScore(playerName, std::string(), remember);
  mRunning = true;
  RunDialogText("SwitchModes(true)");
  StartAnimation(kPollMs, true, true, false);
}

std::string THiscoreSubmit::UnlockedMedals() {
  TGameApp* game = TGameApp::Get();
  if (!game) return {};
  std::string medals;
  for (int location = 1; location <= kCampaignLocationCount; ++location) {
    if (!game->State().IsLocationUnlocked(location)) continue;
    medals += "<medal name=\"";
    medals += kLocationMedals[location];
    medals += "\" per=\"game\"/>\r\n";
  }
  return medals;
}

bool THiscoreSubmit::Animate() {
  if (!mRunning) return false;
  TTvHiscores* service = Service();
  if (!service) return false;
  char message[kMessageBufferSize] = {};
  bool accepted = false;
  switch (service->Poll(message, sizeof message, &accepted)) {
    case TTvHiscores::kPollWorking:
      return true;
    case TTvHiscores::kPollFailed:
      mRunning = false;
      if (auto* error = dynamic_cast<TText*>(FindChild("submiterror"))) error->SetText(message);
      SetShown(FindChild("submiterror"), true);
      SetShown(FindChild("submitconnect"), false);
      SetShown(FindChild("submiterrorok"), true);
      Invalidate();
      return false;
    default:
      break;
  }
  if (mStage == kSubmittingScore) {
    mAccepted = accepted;
    mStage = kSubmittingMedals;
    const std::string medals = UnlockedMedals();
    // Medals belong to an account: a score sent under the player name sends none.
    if (!medals.empty() && !mAccountName.empty() &&
        service->SubmitMedals(medals, mAccountName, mPassword, mRemember))
      return true;
  }
  Finish();
  return false;
}

void THiscoreSubmit::Finish() {
  mRunning = false;
  THiscore* screen = THiscore::Current();
  const bool accepted = mAccepted;
  TModalWindow* dialog = GetModalAncestor();
  if (dialog) {
    if (TWindowManager* manager = TWindowManager::Get()) manager->PopModal(dialog->IdText());
  }
  // This window is on its way out: only saved values from here.
  if (screen) screen->SubmitFinished(accepted);
}

#include "campaign/hiscore/hiscore.h"

#include "campaign/game_app.h"
#include "campaign/hiscore/dialog_script_text.h"
#include "data/string_table.h"
#include "frame/log.h"
#include "online/tv_hiscores.h"
#include "script/native_binding.h"
#include "ui/message.h"
#include "ui/text.h"
#include "ui/window_manager.h"

namespace {

THiscore* gOpenScreen = nullptr;

constexpr size_t kMessageBufferSize = 512;
// The script defines UpdateButtons after it has described the screen, so the first refresh
// (while the screen is being built) finds none.
constexpr char kUpdateButtons[] = "if UpdateButtons then UpdateButtons() end";
constexpr size_t kMaxNameLength = 63;
// Rows a scroll moves, and how many of the last rows stay in view at the end.
constexpr int kScrollStep = 10;
constexpr int kRowsKeptAtEnd = 5;
// Local web scores: the list is moved over the place of the hidden right panel.
constexpr int kWebLocalShift = 130;

constexpr const char* kFunctionNames[] = {"GetState", "ScoreAvailable", "UpdateText",
                                          "HiscoresOnline", "PressHiscoreButton"};

// Every child the refresh hides before it shows what the state needs.
constexpr const char* kStateChildren[] = {"eligible",
                                          "eligibleasterisk",
                                          "server",
                                          "error",
                                          "info",
                                          "category",
                                          "local",
                                          "global",
                                          "topplayers",
                                          "congratulations",
                                          "dnq",
                                          "yourrank",
                                          "yourrankglobalinfo",
                                          "rankvalue",
                                          "scrollup",
                                          "scrolldown"};

constexpr const char* kGameModeStrings[] = {"hiscore_gamemode1", "hiscore_gamemode2"};

void SetShown(TWindow* window, bool shown) {
  if (!window) return;
  const uint32_t flags = window->GetFlags();
  window->SetFlags(shown ? flags | kWindowVisible : flags & ~kWindowVisible);
}

void SetText(TWindow* window, const std::string& text) {
  if (auto* label = dynamic_cast<TText*>(window)) label->SetText(text);
}

bool IsWebLocal() {
  TGameApp* game = TGameApp::Get();
  return game && game->IsWebLocal();
}

bool IsWebAnon() {
  TGameApp* game = TGameApp::Get();
  return game && game->IsWebAnon();
}

}  // namespace

THiscore::THiscore() {
  if (gOpenScreen) Log("A second high-score screen replaces the first");
  gOpenScreen = this;
  // The screen shows the campaign's table first. Looking at scores starts no game, so a
  // hosting page is not told of one.
  if (TGameApp* game = TGameApp::Get()) game->SelectGameMode(kGameModeCampaign);
  if (lua_State* L = DialogScriptState()) {
    RegisterMethod(L, "GetState", static_cast<const THiscore*>(this), &THiscore::GetState);
    RegisterMethod(L, "ScoreAvailable", static_cast<const THiscore*>(this),
                   &THiscore::ScoreAvailable);
    RegisterMethod(L, "UpdateText", this, &THiscore::UpdateText);
    RegisterMethod(L, "HiscoresOnline", static_cast<const THiscore*>(this),
                   &THiscore::HiscoresOnline);
    RegisterMethod(L, "PressHiscoreButton", this, &THiscore::PressHiscoreButton);
  }
}

THiscore::~THiscore() {
  if (gOpenScreen != this) return;  // a newer screen owns the functions now
  gOpenScreen = nullptr;
  for (const char* name : kFunctionNames) UnbindDialogFunction(name);
}

TWindow* THiscore::Create() {
  return new THiscore;
}

THiscore* THiscore::Current() {
  return gOpenScreen;
}

TTvHiscores* THiscore::Service() const {
  TGameApp* game = TGameApp::Get();
  return game ? game->Hiscores() : nullptr;
}

void THiscore::PostCreate(const TWindowStyle& style) {
  TWindow::PostCreate(style);
  StartAnimation(kPollMs, true, true, false);
  for (int n = 1; n <= kRows; ++n) {
    const std::string number = std::to_string(n);
    TRow& row = mRows[n - 1];
    row.name = FindChild("name" + number);
    row.score = FindChild("score" + number);
    row.rank = FindChild(number);
    row.accountIcon = FindChild("p1_" + number);
  }
  if (IsWebLocal()) {
    if (TWindow* panel = FindChild("leftpanel")) {
      const TRect r = panel->GetRect();
      panel->SetPosition(r.left + kWebLocalShift, r.top);
    }
  }
  mGameModeText = dynamic_cast<TText*>(FindChild("gamemode"));
  TakeDialogKeys(this);
  UpdateText();
  RunDialogText(kUpdateButtons);
}

bool THiscore::ScoreAvailable() const {
  TTvHiscores* service = Service();
  return service && service->GetPlayerEntry(false) != nullptr;
}

bool THiscore::HiscoresOnline() const {
  TTvHiscores* service = Service();
  return service && service->OnlineScoresAvailable();
}

void THiscore::PressHiscoreButton(const std::string& button) {
  if (HandleButton(button)) Changed();
}

void THiscore::Show(const std::string& name, bool shown) {
  SetShown(FindChild(name), shown);
}

void THiscore::SetChildText(const std::string& name, const std::string& text) {
  TWindow* child = FindChild(name);
  SetText(child, text);
  SetShown(child, true);
}

void THiscore::UpdateText() {
  for (const TRow& row : mRows) {
    SetShown(row.name, false);
    SetShown(row.score, false);
    SetShown(row.rank, false);
    SetShown(row.accountIcon, false);
  }
  for (const char* name : kStateChildren) Show(name, false);

  TGameApp* game = TGameApp::Get();
  const int mode = game ? game->GameMode() : kGameModeCampaign;
  if (mGameModeText) SetText(mGameModeText, GetString(kGameModeStrings[mode == 0 ? 0 : 1]));

  if (IsWebLocal()) {
    Show("rightpanel", false);
    Show("rightpanelsmall", false);
  } else {
    Show("rightpanel", mState == kLocalView);
    Show("rightpanelsmall", mState != kLocalView);
  }

  if (mState == kLocalView || mState == kGlobalView) FillList();

  TTvHiscores* service = Service();
  const bool online = service && service->OnlineScoresAvailable();
  if (mState == kLocalView) {
    // Without a server nothing can be sent: no eligible-score note.
    if (online && ScoreAvailable()) {
      Show("eligible", true);
      Show("eligibleasterisk", true);
    }
    // Without a server the information line says that online scores are off.
    if (!online)
      SetChildText("info", GetString("hiscore_online_off"));
    else
      Show("info", true);
  }
  if (mState == kGlobalView) {
    std::string table;
    if (service && service->GetTableName(mTableIndex, &table))
      SetChildText("category", table.substr(0, kMaxNameLength));
    else
      Show("category", true);
    bool showGlobalInfo = true;
    if (mSubmitResult == kNotAccepted || mSubmitResult == kAccepted) {
      Show(mSubmitResult == kAccepted ? "congratulations" : "dnq", true);
      showGlobalInfo = false;
    }
    if (const THiscoreRow* entry = service ? service->GetPlayerEntry(true) : nullptr) {
      SetChildText("yourrank", GetString("hiscore_yourrank", std::to_string(entry->rank)));
      showGlobalInfo = false;
    }
    Show("yourrankglobalinfo", showGlobalInfo);
  }
  if (mState == kRequestingCategories || mState == kRequestingScores || mState == kSubmitting)
    Show("server", true);
  if (mState == kError) SetChildText("error", mErrorMessage);
  if (IsWebLocal()) {
    Show("info", false);
    Show("eligible", false);
    Show("eligibleasterisk", false);
  }
  Invalidate();
}

void THiscore::FillList() {
  TTvHiscores* service = Service();
  const bool local = mState == kLocalView;
  const int count = service ? service->GetRowCount(local) : 0;
  if (local) {
    Show(IsWebLocal() ? "topplayers" : "local", true);
    mScrollOffset = 0;
  } else {
    if (!IsWebLocal()) Show("global", true);
    // The last rows stay in view: never further than count - 5, never before the top.
    mScrollOffset = std::max(0, std::min(mScrollOffset, count - kRowsKeptAtEnd));
    Show("scrollup", mScrollOffset > 0);
    Show("scrolldown", mScrollOffset + kRows < count);
  }
  const bool accountsShown = !IsWebAnon() && !IsWebLocal();
  for (int i = 0; i < kRows && mScrollOffset + i < count; ++i) {
    const THiscoreRow* row = service->GetRow(local, mScrollOffset + i);
    if (!row) break;
    const TRow& windows = mRows[i];
    SetText(windows.name, row->name.substr(0, kMaxNameLength));
    SetText(windows.score, FormatCurrency(row->score) + " ");
    SetText(windows.rank, std::to_string(row->rank) + ".");
    SetShown(windows.name, true);
    SetShown(windows.score, true);
    SetShown(windows.rank, true);
    // The icon marks the rows of a player with an account on the server.
    if (!row->valid && accountsShown) SetShown(windows.accountIcon, true);
  }
}

bool THiscore::OnMessage(TMessage& message) {
  // The submit button's command opens the dialog (through PressHiscoreButton).
  if (message.type != kButtonPress || message.name == "submit") return false;
  if (!HandleButton(message.name)) return false;
  Changed();
  return true;
}

bool THiscore::OnKeyDown(int key, int /*modifiers*/) {
  using namespace hiscore_key;
  const bool global = mState == kGlobalView;
  switch (key) {
    case kLeft:
      PressHiscoreButton(global ? "categoryleft" : "gamemodeleft");
      return true;
    case kRight:
      PressHiscoreButton(global ? "categoryright" : "gamemoderight");
      return true;
    case kUp:
      if (global) PressHiscoreButton("scrollup");
      return true;
    case kDown:
      if (global) PressHiscoreButton("scrolldown");
      return true;
    case 'W':
      if (HiscoresOnline() && mState == kLocalView) PressHiscoreButton("view");
      return true;
    case 'L':
      if (mState != kLocalView) PressHiscoreButton("viewlocal");
      return true;
    case 'S':
      QueueDialogText("OpenHiscoreSubmit()");
      return true;
    case 'I':
      QueueDialogText("OpenHiscoreInfo()");
      return true;
    case kEscape:
      CloseDialogOf(this);
      return true;
    default:
      return false;
  }
}

bool THiscore::HandleButton(const std::string& button) {
  if (button == "gamemodeleft") {
    ChangeGameMode(-1);
  } else if (button == "gamemoderight") {
    ChangeGameMode(1);
  } else if (button == "categoryleft") {
    ChangeTable(-1);
  } else if (button == "categoryright") {
    ChangeTable(1);
  } else if (button == "view") {
    mSubmitResult = kNoSubmission;
    RequestTables();
  } else if (button == "viewlocal") {
    mState = kLocalView;
  } else if (button == "scrollup") {
    mScrollOffset -= kScrollStep;
  } else if (button == "scrolldown") {
    mScrollOffset += kScrollStep;
  } else if (button == "submit") {
    // The dialog script opens the submit dialog with these start values; the press goes on
    // to it.
    OpenSubmitDialog();
    return false;
  } else {
    return false;
  }
  return true;
}

void THiscore::ChangeGameMode(int step) {
  // While a request runs, or after one failed, the mode stays.
  if (mState != kLocalView && mState != kGlobalView) return;
  TGameApp* game = TGameApp::Get();
  if (!game) return;
  const int mode = (game->GameMode() + step + 2) % 2;
  game->SelectGameMode(mode);
  if (mState == kGlobalView) RequestScores();
  mSubmitResult = kNoSubmission;
}

void THiscore::ChangeTable(int step) {
  TTvHiscores* service = Service();
  const int count = service ? service->GetTableCount() : 0;
  if (count > 0) mTableIndex = ((mTableIndex + step) % count + count) % count;
  RequestScores();
}

void THiscore::RequestTables() {
  mState = kRequestingCategories;
  if (TTvHiscores* service = Service()) service->RequestTables();
}

void THiscore::RequestScores() {
  mState = kRequestingScores;
  if (TTvHiscores* service = Service()) service->RequestScores(mTableIndex);
}

void THiscore::OpenSubmitDialog() {
  TGameApp* game = TGameApp::Get();
  TTvHiscores* service = Service();
  std::string text = "gNameEdit='" + QuoteForLua(game ? game->CurrentUserName() : "") + "'; ";
  std::string account;
  std::string password;
  if (service && service->GetAccount(&account, &password)) {
    text += "gAccountEdit='" + QuoteForLua(account) + "'; gPassEdit='" + QuoteForLua(password) +
            "'; gRemember=true; ";
  } else {
    text += "gAccountEdit=''; gPassEdit=''; gRemember=false; ";
  }
  const THiscoreRow* entry = service ? service->GetPlayerEntry(false) : nullptr;
  text += "gEligibleScore=" + std::to_string(entry ? entry->score : 0);
  RunDialogText(text);
}

void THiscore::SubmitFinished(bool accepted) {
  mSubmitResult = accepted ? kAccepted : kNotAccepted;
  Log("High scores: the server %s the score", accepted ? "took" : "did not take");
  RequestTables();
  Changed();
}

bool THiscore::Animate() {
  if (mState != kRequestingCategories && mState != kRequestingScores) return true;
  TTvHiscores* service = Service();
  if (!service) return true;
  char message[kMessageBufferSize] = {};
  switch (service->Poll(message, sizeof message, nullptr)) {
    case TTvHiscores::kPollFailed:
      mErrorMessage = message;
      mState = kError;
      Log("High scores: the request failed: %s", message);
      break;
    case TTvHiscores::kPollDone:
      if (mState == kRequestingCategories) {
        RequestScores();
      } else {
        mState = kGlobalView;
        std::string table;
        service->GetTableName(mTableIndex, &table);
        const THiscoreRow* entry = service->GetPlayerEntry(true);
        Log("High scores: world table \"%s\" with %d rows, the player's rank %d", table.c_str(),
            service->GetRowCount(false), entry ? entry->rank : 0);
      }
      break;
    default:
      return true;
  }
  Changed();
  return true;
}

void THiscore::Changed() {
  UpdateText();
  RunDialogText(kUpdateButtons);
  Invalidate();
}

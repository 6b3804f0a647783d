#include "game/window/layout_chooser.h"

#include <algorithm>

#include "data/string_table.h"
#include "frame/event.h"
#include "frame/log.h"
#include "frame/virtual_keys.h"
#include "game/level_info.h"
#include "game/level_list.h"
#include "game/player_layouts.h"
#include "game/window/game_player.h"
#include "game/window/layout_picture.h"
#include "ui/text.h"
#include "ui/window_manager.h"
#include "ui/window_paint.h"

namespace {

// Card geometry in the window: three columns, two rows.
constexpr int kCardLeft = 40;
constexpr int kCardTop = 96;
constexpr int kCardWidth = 230;
constexpr int kCardHeight = 196;
constexpr int kCardStepX = 250;
constexpr int kCardStepY = 214;
// The picture inside a card.
constexpr int kPictureInset = 10;
constexpr int kPictureHeight = 118;

using TFunctions = TWindowFunctions<TLayoutChooser>;
constexpr TFunctions::TEntry kFunctions[] = {
    {"ChooserRefresh", &TFunctions::Method<&TLayoutChooser::Refresh>},
    {"ChooserSelectedFile", &TFunctions::Method<&TLayoutChooser::SelectedFile>},
    {"ChooserSelectedIsPlayersOwn", &TFunctions::Method<&TLayoutChooser::SelectedIsPlayersOwn>},
    {"ChooserTurnPage", &TFunctions::Method<&TLayoutChooser::TurnPage>},
    {"RunLater", &TFunctions::RunLater},
};

void SetChildText(TWindow& root, const std::string& name, const std::string& text) {
  if (auto* child = dynamic_cast<TText*>(root.FindChild(name))) child->SetText(text);
}

// The name a layout goes by: its title, else its file's name.
std::string DisplayName(const TLevelLayout& layout, const std::string& file) {
  if (!layout.title.empty()) return layout.title;
  std::string name = LevelBareName(file);
  if (name.size() > 4) name.resize(name.size() - 4);
  return name;
}

bool ReadGameLayout(const std::string& file, TLevelLayout& layout) {
  TLevelInfo info;
  if (LoadLevel(file, info, layout) == TLevelSource::kNone || layout.PositionCount() == 0)
    return false;
  layout.title = info.title;
  layout.description = info.description;
  layout.creatorName = info.creatorName;
  return true;
}

}  // namespace

std::vector<TChooserEntry> FreePlayLayouts(int levelsBeaten) {
  std::vector<TChooserEntry> entries;
  auto addGameLayout = [&entries](const std::string& file) {
    TChooserEntry entry;
    entry.file = file;
    if (!ReadGameLayout(file, entry.layout)) return;
    entry.name = DisplayName(entry.layout, file);
    entries.push_back(std::move(entry));
  };
  addGameLayout(kTutorialLevelFile);
  const int beaten = std::clamp(levelsBeaten, 0, kCampaignLevelCount);
  for (int index = 0; index < beaten; ++index) addGameLayout(CampaignLevelEntry(index).file);
  for (TPlayerLayout& own : ListPlayerLayouts()) {
    TChooserEntry entry;
    entry.file = own.file;
    entry.name = DisplayName(own.layout, own.file);
    entry.playersOwn = true;
    entry.layout = std::move(own.layout);
    entries.push_back(std::move(entry));
  }
  return entries;
}

TLayoutChooser::TLayoutChooser() = default;
TLayoutChooser::~TLayoutChooser() = default;

TWindow* TLayoutChooser::Create() {
  return new TLayoutChooser;
}

void TLayoutChooser::PostCreate(const TWindowStyle& style) {
  TWindow::PostCreate(style);
  mFunctions = std::make_unique<TFunctions>(this, kFunctions);
  Refresh();
  if (TWindowManager* manager = TWindowManager::Get()) {
    manager->SetKeyTarget(GetModalAncestor(), this);
    manager->SetFocus(this);
  }
}

void TLayoutChooser::Refresh() {
  const std::string chosen = SelectedFile();
  TGamePlayer& player = CurrentGamePlayer();
  mEntries = FreePlayLayouts(player.Progress().levelsBeaten);
  for (TChooserEntry& entry : mEntries) entry.bestScore = player.BestLayoutScore(entry.file);
  mSelected = mEntries.empty() ? -1 : 0;
  for (size_t i = 0; i < mEntries.size(); ++i)
    if (mEntries[i].file == chosen) mSelected = static_cast<int>(i);
  Log("Free play: %zu layouts to choose from", mEntries.size());
  ShowPage();
}

std::string TLayoutChooser::SelectedFile() const {
  return mSelected >= 0 ? mEntries[mSelected].file : std::string();
}

bool TLayoutChooser::SelectedIsPlayersOwn() const {
  return mSelected >= 0 && mEntries[mSelected].playersOwn;
}

void TLayoutChooser::Select(int index) {
  if (mEntries.empty()) return;
  mSelected = std::clamp(index, 0, EntryCount() - 1);
  ShowPage();
}

void TLayoutChooser::TurnPage(int delta) {
  if (mEntries.empty()) return;
  const int pages = (EntryCount() + kCardsPerPage - 1) / kCardsPerPage;
  const int page = std::clamp(Page() + delta, 0, pages - 1);
  if (page != Page()) Select(page * kCardsPerPage);
}

TRect TLayoutChooser::CardRect(int slot) {
  const int left = kCardLeft + (slot % kColumns) * kCardStepX;
  const int top = kCardTop + (slot / kColumns) * kCardStepY;
  return TRect{left, top, left + kCardWidth, top + kCardHeight};
}

int TLayoutChooser::CardAt(TPoint2 point) const {
  for (int slot = 0; slot < kCardsPerPage; ++slot) {
    const TRect card = CardRect(slot);
    const int index = Page() * kCardsPerPage + slot;
    if (index < EntryCount() && point.x >= card.left && point.x < card.right &&
        point.y >= card.top && point.y < card.bottom)
      return index;
  }
  return -1;
}

void TLayoutChooser::ShowPage() {
  const int first = Page() * kCardsPerPage;
  for (int slot = 0; slot < kCardsPerPage; ++slot) {
    const int index = first + slot;
    const std::string base = "chooser_card" + std::to_string(slot);
    if (index >= EntryCount()) {
      SetChildText(*this, base + "_name", "");
      SetChildText(*this, base + "_info", "");
      continue;
    }
    const TChooserEntry& entry = mEntries[index];
    SetChildText(*this, base + "_name", entry.name);
    const std::string tiles =
        GetString("chooser_tiles", std::to_string(entry.layout.PositionCount()));
    const std::string best = entry.bestScore >= 0
                                 ? GetString("chooser_best", FormatCurrency(entry.bestScore))
                                 : GetString("chooser_nobest");
    SetChildText(*this, base + "_info", tiles + "   " + best);
  }
  const int pages = std::max(1, (EntryCount() + kCardsPerPage - 1) / kCardsPerPage);
  SetChildText(*this, "chooser_page_text",
               GetString("chooser_page", std::to_string(Page() + 1), std::to_string(pages)));
  std::string about;
  if (mSelected >= 0) {
    const TChooserEntry& entry = mEntries[mSelected];
    about = entry.layout.description;
    if (entry.playersOwn) about = GetString("chooser_own", about);
  }
  SetChildText(*this, "chooser_description_text", about);
  Invalidate();
}

void TLayoutChooser::Draw() {
  const int first = Page() * kCardsPerPage;
  const float card[4] = {0.23f, 0.14f, 0.07f, 0.82f};
  const float chosen[4] = {1.0f, 0.82f, 0.35f, 1.0f};
  const float well[4] = {0.13f, 0.22f, 0.16f, 1.0f};
  for (int slot = 0; slot < kCardsPerPage && first + slot < EntryCount(); ++slot) {
    const TRect r = CardRect(slot);
    if (first + slot == mSelected)
      FillScreenRect(TRect{r.left - 4, r.top - 4, r.right + 4, r.bottom + 4}, chosen);
    FillScreenRect(r, card);
    const TRect picture{r.left + kPictureInset, r.top + kPictureInset, r.right - kPictureInset,
                        r.top + kPictureInset + kPictureHeight};
    FillScreenRect(picture, well);
    DrawLayoutPicture(mEntries[first + slot].layout, TRect{picture.left + 4, picture.top + 4,
                                                           picture.right - 4, picture.bottom - 4});
  }
}

bool TLayoutChooser::OnMouseDown(TPoint2 point) {
  if (TWindowManager* manager = TWindowManager::Get()) manager->SetFocus(this);
  const int index = CardAt(point);
  if (index < 0) return false;
  if (index == mSelected) {
    // A second click on the chosen card plays it, as the Play button does.
    // Playing opens the game's dialog and waits for it.
    QueueDialogCommand("if ChooserPlay then ChooserPlay() end");
    return true;
  }
  Select(index);
  return true;
}

bool TLayoutChooser::OnKeyDown(int key, int /*modifiers*/) {
  switch (key) {
    case VK_LEFT:
      Select(mSelected - 1);
      return true;
    case VK_RIGHT:
      Select(mSelected + 1);
      return true;
    case VK_UP:
      Select(mSelected - kColumns);
      return true;
    case VK_DOWN:
      Select(mSelected + kColumns);
      return true;
    case VK_PRIOR:
      TurnPage(-1);
      return true;
    case VK_NEXT:
      TurnPage(1);
      return true;
    default:
      return false;
  }
}

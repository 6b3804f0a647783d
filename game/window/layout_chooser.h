// TLayoutChooser ("LayoutChooser"): the free-play screen's list of layouts — the tutorial's,
// the campaign's the player has beaten, and the player's own — shown a page of cards at a
// time. Each card has a small picture drawn from the layout, its name, its tile count and
// the player's best score on it. The script ("scripts/layoutchooser.lua") makes the cards'
// texts ("chooser_card<N>_name", "_info") and the buttons; the window fills the texts,
// draws the pictures and the selection, and answers the script functions below.
//
// Mouse: a click chooses a card, a click on the chosen card plays it. Keys: arrows choose,
// Page Up / Page Down turn the page, Enter plays (the script's default button).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/level_layout.h"
#include "game/window/window_functions.h"
#include "ui/window.h"

struct TChooserEntry {
  std::string file;  // the level name the game window loads
  std::string name;
  bool playersOwn = false;
  int bestScore = -1;
  TLevelLayout layout;
};

// The layouts free play offers: the tutorial's, the campaign's first levelsBeaten levels
// (those the player has beaten), and the player's own; files that cannot be read are left
// out (the loader logs why).
std::vector<TChooserEntry> FreePlayLayouts(int levelsBeaten);

class TLayoutChooser : public TWindow {
 public:
  static constexpr int kColumns = 3;
  static constexpr int kRows = 2;
  static constexpr int kCardsPerPage = kColumns * kRows;

  TLayoutChooser();
  ~TLayoutChooser() override;
  static TWindow* Create();
  const char* GetClassName() const override { return "TLayoutChooser"; }

  void PostCreate(const TWindowStyle& style) override;
  void Draw() override;
  bool OnMouseDown(TPoint2 point) override;
  bool OnKeyDown(int key, int modifiers) override;

  // --- script functions
  // Reads the layouts again (after a game or the editor), keeping the chosen file.
  void Refresh();
  std::string SelectedFile() const;
  bool SelectedIsPlayersOwn() const;
  void TurnPage(int delta);
  void Select(int index);
  int SelectedIndex() const { return mSelected; }
  int EntryCount() const { return static_cast<int>(mEntries.size()); }

  const std::vector<TChooserEntry>& Entries() const { return mEntries; }
  // The card's rectangle in the window, for a slot 0..kCardsPerPage - 1.
  static TRect CardRect(int slot);

 private:
  void ShowPage();
  int CardAt(TPoint2 point) const;
  int Page() const { return mSelected < 0 ? 0 : mSelected / kCardsPerPage; }

  std::vector<TChooserEntry> mEntries;
  int mSelected = -1;
  std::unique_ptr<TWindowFunctions<TLayoutChooser>> mFunctions;
};

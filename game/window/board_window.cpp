#include "game/window/board_window.h"

#include <algorithm>
#include "frame/application_time.h"
#include "frame/log.h"
#include "game/level_list.h"
#include "game/window/board_view.h"

#include "ui/window_style.h"

TBoardWindow::TBoardWindow() = default;

// The view goes first: it takes the tile windows out of this window's children, which the
// window's own destructor would otherwise delete a second time.
TBoardWindow::~TBoardWindow() {
  mView.reset();
}

TWindow* TBoardWindow::Create() {
  return new TBoardWindow;
}

void TBoardWindow::Init(const TWindowStyle& style) {
  TWindow::Init(style);
  const int number = style.GetInt("levelnumber", 1);
  const TLevelEntry entry = CampaignLevelEntry(number - 1);
  mLevelFile =
      style.GetString("level", entry.file.empty() ? CampaignLevelEntry(0).file : entry.file);
  const int index = LevelIndexFromName(mLevelFile);
  mRequest.bag.gameMode = style.GetInt("mode", 1) == 0 ? 0 : 1;
  mRequest.bag.levelsBeaten = std::clamp(style.GetInt("beaten", std::max(index, 0)), 0, 50);
  mRequest.bag.tutorialWon = mLevelFile != kTutorialLevelFile;
  mRequest.solvable = style.GetBool("solvable", SolvableDealsSetting());
  mSeed = static_cast<uint32_t>(style.GetNumber("seed", ApplicationTime()));
  mRequest.bag.pickTreasure = CatalogueTreasurePicker(mSeed);

  TBoardSetup setup;
  setup.campaignMode = mRequest.bag.gameMode == 1;
  setup.amountSeed = mSeed;
  setup.searchSeed = mSeed + 1;
  mBoard = std::make_unique<TBoard>(setup);
  mView = std::make_unique<TBoardView>(*mBoard, *this);
  mView->SetGameHost(this);
}

void TBoardWindow::PostCreate(const TWindowStyle& style) {
  TWindow::PostCreate(style);
  TLevelLayout layout;
  LoadLevel(mLevelFile, mInfo, layout);
  const int placed = Deal(*mBoard, layout, mRequest, mSeed);
  Log("Board %s: %s dealt with seed %u, %d tiles", GetName().c_str(), mLevelFile.c_str(), mSeed,
      placed);
  mBoard->EndCheck();
}

bool TBoardWindow::OnMouseDown(TPoint2) {
  mBoard->DeselectAll();
  return false;
}

void TBoardWindow::OnTreasurePair(TFace face) {
  mBoard->FinishTreasureEnding(face);
}

void TBoardWindow::OnLevelEnded(TFace won) {
  if (won.IsNone())
    Log("Board %s: cleared, score %d", GetName().c_str(), mBoard->Ledger().Total());
  else
    Log("Board %s: treasure (%d,%d) won, score %d", GetName().c_str(), won.suit, won.variant,
        mBoard->Ledger().Total());
}

void TBoardWindow::OnNoMovesLeft() {
  Log("Board %s: no move left with %d tiles", GetName().c_str(), mBoard->TilesOnBoard());
}

// TGame ("GameWindow"): the window of one level in play. "scripts/game.lua" creates it with
// its children (background, buttons, sets drawer, preview, score and time texts); TGame
// finds them by name, deals the level, shows the score rolling towards the ledger's total
// and the time played, enables the play buttons by price, shows the hovered tile in the
// preview, plays with mouse and keyboard, and hands over to the end-of-level, loss,
// appraisal and Kenny dialogs by queueing their script texts.
//
// Keyboard: the arrow keys move a focus ring over the free tiles (Tab and Shift+Tab in
// reading order), X selects the focused tile (a left click), S sends it to the sets box (a
// right click), Enter or Space submits the box, H hint, M shuffle, A appraisal mode, U or
// Ctrl+Z undo, Y or Ctrl+Y redo, Escape the game menu.
//
// Script functions (bound while the window lives; see game_bindings.cpp): Submit, Shuffle,
// Undo, Redo, Hint, StartAppraisal, QuitGame, BuyAppraisal, ResetCursor, SlideOptions,
// KillEndgameMusic, AutoWin, DoAppropriateModal, DisplayDialogIfEnd, CanShuffle, CanUndo,
// CanRedo, FlushTutorial, AssignKennyUndo, UpdateScore, SetTreasureGalleryLaunched, and for
// the dialogs it opens KennyOfferText, TakeKennyGift, GambleWithKenny, LevelResultText,
// RecordLevelResult, AppraisedPicture, AppraisedText, LeaveForMap.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>

#include "game/board.h"
#include "game/game_play.h"
#include "game/game_tutorial.h"
#include "game/level_info.h"
#include "game/tile_navigation.h"
#include "ui/window.h"

class TButton;
class THoldingArea;
class TImage;
class TText;
class TTexture;
class TTile;
class TBoardView;
class TGamePlayer;
class TGameAnimations;
class TGameTutorialLink;
class TPlayableSound;

// A game window's life, shared with its tasks: they stop when the window is gone.
struct TGameLife {
  class TGame* game = nullptr;
};

class TGame : public TWindow, public TBoardHost, public TGamePlayHost {
 public:
  // The score rolls towards the total in about this many updates.
  static constexpr int kScoreRollUpdates = 25;
  static constexpr int kUpdatePeriodMs = 16;

  TGame();
  ~TGame() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "TGame"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &TGame::Create || TWindow::IsKindOf(type);
  }

  void Init(const TWindowStyle& style) override;
  void PostCreate(const TWindowStyle& style) override;
  bool OnMouseDown(TPoint2 point) override;
  bool OnMouseMove(TPoint2 point) override;
  bool OnKeyDown(int key, int modifiers) override;

  // --- What the scripts call -------------------------------------------------------------
  void Submit();
  void Shuffle();
  void Undo();
  void Redo();
  bool Hint();
  void StartAppraisal();
  void QuitGame();
  void BuyAppraisal();
  void ResetCursor();
  void KillEndgameMusic();
  void AutoWin();
  void DoAppropriateModal();
  void DisplayDialogIfEnd();
  bool CanShuffle() const;
  bool CanUndo() const;
  bool CanRedo() const;
  void AssignKennyUndo();
  std::string KennyOfferText() const;
  std::string TakeKennyGift();
  std::string GambleWithKenny();
  std::string LevelResultText() const;
  std::string AppraisedPicture() const;
  std::string AppraisedText() const;
  void RecordLevelResult();
  void LeaveForMap();

  // --- Play -------------------------------------------------------------------------------
  void UpdateScore();
  void UpdateButtons();
  // The hovered tile in the preview, or the location's sign for null. A board tile shows
  // only when enough of it is visible (checkCovered); a tile of the sets box always does.
  void ShowPreview(TTile* tile, bool checkCovered = true);
  // One update of the score roll and the timer (every 16 ms of the game clock).
  void Update();
  // A left click, a right click on a tile: the same rules as the mouse, for the keyboard.
  void ClickTile(TTileId id);
  // Flies the tile into the next slot of the sets box (a right click); false when refused.
  bool SendToSetsBox(TTileId id);
  // The drop rule at a screen point: the last selected tile into the slot there.
  bool DropAt(TPoint2 screenPoint);
  void SetFocusTile(TTileId id);
  // A flight into the sets box ended: the tile goes into the box, its window home.
  void FinishFlight(TTileId id, int boxCountAtStart);
  // The hint light of a tile: its hint blank, or its usual blank again.
  void ShowHintBlank(TTileId id, bool lit);
  // The newest hint on a tile (older lights of it stop).
  int HintGeneration(TTileId id) const;

  TBoard& Board() { return *mBoard; }
  TGamePlay& Play() { return *mPlay; }
  TBoardView& View() { return *mView; }
  THoldingArea* SetsDrawer() const { return mDrawer; }
  // The level's picture in colour, which the treasure ending reveals (null when none).
  TImage* RevealImage() const { return mReveal; }
  const TLevelInfo& LevelInfo() const { return mInfo; }
  const std::string& LevelFile() const { return mLevelFile; }
  int ShownScore() const { return mShownScore; }
  int ScoreStep() const { return mScoreStep; }
  int TimerMs() const { return mTimer; }
  bool Initialised() const { return mInitialised; }
  bool TutorialLevel() const override { return mTutorialLevel; }
  TGameTutorial& Tutorial() { return *mTutorial; }
  // "FlushTutorial": the first waiting prompt is dropped.
  void FlushTutorial();
  TTileId FocusTile() const { return mFocusTile; }
  TTileId HoveredTile() const { return mHoveredTile; }
  const std::shared_ptr<TGameLife>& Life() const { return mLife; }

 private:
  // TBoardHost: the level's flow as the board reports it.
  void OnTileRemoved(TTileId id) override;
  void OnTileRestored(TTileId id) override;
  void OnTileFaceChanged(TTileId id) override;
  void OnDrawingOrder(std::span<const TTileId> order) override;
  int SetsBoxCount() const override;
  bool SetsBoxCanTake(const TBoardTile& tile) const override;
  void OnPairAccepted(TTileId first, TTileId second, int slot) override;
  void OnMatchShown(TTileId id) override;
  void OnKennyPair() override;
  void OnTreasurePair(TFace face) override;
  void OnLevelEnded(TFace won) override;
  void OnNoMovesLeft() override;
  void OnGiftTakenBack(TFace face) override;
  bool TutorialBlocksSelection(const TBoardTile& tile) override;

  // TGamePlayHost
  void PlayCue(TBoardSound sound) override;
  void ScoreChanged() override;
  void UndoStateChanged() override;
  void SetsBoxChanged() override;
  void SetsSubmitted(const TSetsBox& box) override;
  void LightHint(std::span<const TTileId> tiles) override;
  void ClearPreview() override;
  void ShowAppraisalCursor(bool magnifier) override;
  void OpenAppraisal(TFace face) override;
  void OpenKennyOffer() override;
  void StartTreasureEnding(TFace face) override;
  bool GiveTreasure(TFace face) override;
  void TakeBackTreasure(TFace face) override;
  TFace OfferTreasure() override;
  void OnSubmitting(TFace first) override;

  void FindChildren();
  void ConfigureChildren();
  void StartTasks();
  void Deal();
  void LogDeal() const;
  void ShowScoreText();
  void ShowTimeText();
  void UpdateUndoButtons();
  void ShowButton(TWindow* button, TWindow* disabled, bool enabled);
  void PlaceFocusRing();
  void MoveFocus(TTileDirection direction);
  void FocusNearby(TTileId gone);
  std::string KennyGiftText(const TKennyGift& gift) const;
  // Hands a script text to the dialog-script runner for the next frame.
  void QueueScript(const std::string& text);

  std::shared_ptr<TGameLife> mLife;
  TGamePlayer& mPlayer;
  std::unique_ptr<TBoard> mBoard;
  std::unique_ptr<TBoardView> mView;
  std::unique_ptr<TGamePlay> mPlay;
  std::unique_ptr<TGameTutorialLink> mTutorialLink;
  std::unique_ptr<TGameTutorial> mTutorial;
  bool mHintGlowing = false;
  TLevelInfo mInfo;
  std::string mLevelFile;
  uint32_t mSeed = 0;
  int mGameMode = 1;
  uint32_t mLastUpdateTime = 0;
  bool mInitialised = false;
  bool mTutorialLevel = false;
  bool mLossQueued = false;
  TTileId mHoveredTile = kNoTile;
  TTileId mFocusTile = kNoTile;
  int mShownScore = 0;
  int mScoreStep = 0;
  int mTimer = 0;
  std::map<TTileId, int> mHintGeneration;
  std::shared_ptr<TPlayableSound> mFlyToSound;

  // Children found by name (null when the script has none).
  TImage* mBackground = nullptr;
  TImage* mReveal = nullptr;
  TText* mScoreText = nullptr;
  TText* mTimeText = nullptr;
  TWindow* mHintButton = nullptr;
  TWindow* mHintDisabled = nullptr;
  TWindow* mShuffleButton = nullptr;
  TWindow* mShuffleDisabled = nullptr;
  TWindow* mAppraisalButton = nullptr;
  TWindow* mAppraisalDisabled = nullptr;
  TWindow* mUndoButton = nullptr;
  TWindow* mUndoDisabled = nullptr;
  TWindow* mRedoButton = nullptr;
  TWindow* mRedoDisabled = nullptr;
  TWindow* mMapButton = nullptr;
  TImage* mPreviewFace = nullptr;
  TText* mPreviewLocation = nullptr;
  TText* mAntiqueName = nullptr;
  TImage* mFocusRing = nullptr;
  THoldingArea* mDrawer = nullptr;
  TGameAnimations* mAnimations = nullptr;
};

// Finds the game window that holds a window (its nearest TGame ancestor), or null.
TGame* GameWindowOf(TWindow* window);

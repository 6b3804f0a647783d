// TGamePlay: the play operations of a level beyond single clicks on tiles — the sets box and
// its submit, hint, shuffle, undo and redo, appraisal mode and purchases, Zozad Uravi's
// offer and the cheat that wins a level. It works on a TBoard and tells its host (the game
// window) what must be seen or heard, so that every rule here runs and is tested without a
// window.
//
// Undo takes back one record of the board's undo stack (a match, a submitted set, a Kenny
// pair, with its score entry and gift) or, while the sets box holds tiles, empties the box
// back onto the board. Redo puts back, in reverse order, the records undo took: the same
// tiles, the same score entry (amount, parts, kind) and the same gift, and it takes out the
// correction an undo made to keep the total at 0 or more, so undo and redo leave board,
// box, score and collection exactly as they were. Any new move (a match, a tile into the
// box, a submit, a shuffle) forgets what could be redone.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "frame/mersenne_twister.h"
#include "game/board.h"
#include "game/kenny_offer.h"
#include "game/sets_box.h"

// What the play operations ask of the game window. Every call has a neutral default.
class TGamePlayHost {
 public:
  virtual ~TGamePlayHost() = default;

  // A board sound (the board's own sounds go through the board host).
  virtual void PlayCue(TBoardSound) {}
  // The score total changed: the shown score rolls towards it, the buttons follow.
  virtual void ScoreChanged() {}
  // What undo and redo can do changed.
  virtual void UndoStateChanged() {}
  // The sets box changed: its slot pictures and the submit button.
  virtual void SetsBoxChanged() {}
  // A set of the box was accepted; the box still holds it (the sets animation).
  virtual void SetsSubmitted(const TSetsBox&) {}
  // Tiles to light as a hint.
  virtual void LightHint(std::span<const TTileId>) {}
  virtual void ClearPreview() {}
  // The application's cursor: the magnifier while appraisal mode is on, else the arrow.
  virtual void ShowAppraisalCursor(bool /*magnifier*/) {}
  // An appraisal was bought for this face: open the appraisal screen.
  virtual void OpenAppraisal(TFace) {}
  virtual void OpenKennyOffer() {}
  // A treasure ends the level (a submitted treasure set or the cheat): the ending
  // animation, which finishes with TBoard::FinishTreasureEnding.
  virtual void StartTreasureEnding(TFace) {}
  // The collection gains or loses a treasure of the offer; false when it cannot take it.
  virtual bool GiveTreasure(TFace) { return false; }
  virtual void TakeBackTreasure(TFace) {}
  // A treasure for the offer's gamble (one the player does not own), or kNoFace.
  virtual TFace OfferTreasure() { return kNoFace; }
  // The tutorial level is being played (its sets rules and its prompts).
  virtual bool TutorialLevel() const { return false; }
  // The box is about to be submitted (the tutorial's prompts listen).
  virtual void OnSubmitting(TFace /*first*/) {}
};

class TGamePlay {
 public:
  TGamePlay(TBoard& board, TGamePlayHost& host, uint32_t seed);

  TBoard& Board() { return mBoard; }
  TSetsBox& SetsBox() { return mSetsBox; }
  const TSetsBox& SetsBox() const { return mSetsBox; }

  // --- The sets box ---------------------------------------------------------------------

  // Takes the tile off the board into the next slot, when the box can hold it. Plays the
  // placed sound, and the set-ready sound when the box becomes submittable.
  bool PutIntoSetsBox(TTileId id);
  // The drop rule: the board's last selected tile goes into the box.
  bool DropSelectedIntoSetsBox();
  // Submits the box: a pair, set or run is scored and leaves; a treasure set ends the
  // level; two Kenny tiles bring the offer. Anything else is refused.
  void Submit();
  // Whether the submit button shows.
  bool SubmitReady() const { return mSubmitReady; }

  // --- Help, undo and redo ----------------------------------------------------------------

  // Lights a pair (a free one, or one that blocks itself) or else a set for the hint
  // price. False when the money does not cover it or the box holds tiles; true otherwise,
  // also when nothing was found (then nothing is charged).
  bool Hint();
  // Mixes the faces on the board for the shuffle price; refused while the box holds tiles.
  void Shuffle();
  void Undo();
  // False when there is nothing to redo or it no longer fits the board.
  bool Redo();
  bool CanUndo() const;
  bool CanRedo() const { return !mRedo.empty(); }
  // A new move makes what was undone unreachable.
  void ForgetRedo() { mRedo.clear(); }
  // Puts every tile of the box back onto its cell.
  void UndoSetsBox();

  // --- Appraisal ------------------------------------------------------------------------

  // Appraisal mode on (when the money covers an appraisal) or off.
  void ToggleAppraisal();
  // A tile clicked in appraisal mode: the mode ends and the appraisal is bought.
  void Appraise(TTileId id);
  // Pays for an appraisal of the last appraised face and opens the appraisal screen.
  // Refused when the money does not cover it.
  bool BuyAppraisal();
  TFace AppraisedFace() const { return mAppraised; }

  // --- Zozad Uravi's offer ------------------------------------------------------------------

  // The player's choice: money goes into the ledger, a treasure into the collection. The
  // gift waits for AssignKennyUndo, which ties it to the Kenny pair's undo record.
  TKennyGift ChooseKennyGift(TKennyChoice choice);
  void AssignKennyUndo();
  // Every treasure given by the offer in this level goes back (quitting the level).
  void TakeBackGifts();
  const TKennySettings& KennySettings() const { return mKenny; }

  // The cheat: in the campaign the first tile with the antique look wins the level (false
  // without such a tile); outside it, where there are no treasures, every tile leaves the
  // board and the level ends cleared, so a layout can be tried to its end at once.
  bool AutoWin();

 private:
  struct TRedoEntry {
    TUndoRecord record;
    std::optional<TScoreEntry> score;
    int correctionSlot = -1;  // the entry undo added to keep the total at 0
  };

  void Charge(int price);
  void SetSubmitReady(bool ready);
  void BoxChanged();
  std::vector<TPlacedTile> BoxEntries() const;

  TBoard& mBoard;
  TGamePlayHost& mHost;
  TSetsBox mSetsBox;
  TMersenneTwister mRandom;
  TKennySettings mKenny;
  std::vector<TRedoEntry> mRedo;
  bool mSubmitReady = false;
  TFace mAppraised = kNoFace;
  std::optional<TKennyGift> mPendingGift;
  int mPendingGiftSlot = -1;
};

// THiscore: the high-score screen ("HiscoreWindow", dialog "scripts/hiscore.lua"). It shows
// the local table of the current game mode, or a table downloaded from the high-score
// server, and walks through the service's requests: the table list, then the scores of one
// table. The dialog script owns the buttons' look and its UpdateButtons, which shows and
// enables them from GetState; this class keeps the state, fills the texts and talks to the
// service. The submit button opens "scripts/hiscoresubmit.lua" (THiscoreSubmit), which
// reports back through SubmitFinished.
//
// Script functions while the screen lives: GetState, ScoreAvailable, UpdateText,
// HiscoresOnline (whether a server can be asked) and PressHiscoreButton(name), which the
// dialog's keys use to act as the button of that name.
#pragma once

#include <array>
#include <string>

#include "ui/window.h"

class TTvHiscores;

class THiscore : public TWindow {
 public:
  enum TState : int {
    kLocalView = 0,
    kRequestingCategories = 1,
    kRequestingScores = 2,
    kSubmitting = 3,  // named by the script; the screen never enters it
    kGlobalView = 4,
    kError = 5,
  };
  enum TSubmitResult : int { kNoSubmission = 0, kAccepted = 1, kNotAccepted = 2 };
  static constexpr int kRows = 10;
  // The downloaded list starts at "This Month".
  static constexpr int kFirstTableIndex = 1;
  static constexpr int kPollMs = 20;

  THiscore();
  ~THiscore() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "THiscore"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &THiscore::Create || TWindow::IsKindOf(type);
  }
  // The open screen (the submit dialog reports to it); null when none is open.
  static THiscore* Current();

  void PostCreate(const TWindowStyle& style) override;
  bool OnMessage(TMessage& message) override;
  bool OnKeyDown(int key, int modifiers) override;
  bool Animate() override;

  // Script functions.
  int GetState() const { return mState; }
  bool ScoreAvailable() const;
  void UpdateText();
  bool HiscoresOnline() const;
  void PressHiscoreButton(const std::string& button);

  // The submit dialog has finished: ask for the table list again and say whether the
  // server took the score once it has arrived.
  void SubmitFinished(bool accepted);

  int TableIndex() const { return mTableIndex; }
  int ScrollOffset() const { return mScrollOffset; }
  int SubmitResult() const { return mSubmitResult; }
  const std::string& ErrorMessage() const { return mErrorMessage; }

 private:
  struct TRow {
    TWindow* name = nullptr;
    TWindow* score = nullptr;
    TWindow* rank = nullptr;
    TWindow* accountIcon = nullptr;
  };

  TTvHiscores* Service() const;
  bool HandleButton(const std::string& button);
  void ChangeGameMode(int step);
  void ChangeTable(int step);
  void RequestTables();
  void RequestScores();
  void OpenSubmitDialog();
  void FillList();
  void Show(const std::string& name, bool shown);
  void SetChildText(const std::string& name, const std::string& text);
  void Changed();

  int mState = kLocalView;
  int mSubmitResult = kNoSubmission;
  std::string mErrorMessage;
  int mTableIndex = kFirstTableIndex;
  int mScrollOffset = 0;
  std::array<TRow, kRows> mRows{};
  TWindow* mGameModeText = nullptr;
};

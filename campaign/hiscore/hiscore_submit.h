// THiscoreSubmit: the submit dialog of the high-score screen ("HiscoreSubmit", dialog
// "scripts/hiscoresubmit.lua"). The player sends their best unsubmitted local score under
// their player name, or under a server account with its password (remembered on request);
// with an account, the medals of the locations the player has unlocked follow. When the
// server has answered, the dialog closes and tells the high-score screen.
//
// Script function while it lives: SubmitToServer(playerName, accountName, password,
// remember). The script's SwitchModes(true) shows the waiting view.
#pragma once

#include <string>

#include "ui/window.h"

class TTvHiscores;

class THiscoreSubmit : public TWindow {
 public:
  enum TStage : int { kSubmittingScore = 0, kSubmittingMedals = 1 };
  static constexpr int kPollMs = 20;

  THiscoreSubmit();
  ~THiscoreSubmit() override;

  static TWindow* Create();
  const char* GetClassName() const override { return "THiscoreSubmit"; }
  bool IsKindOf(TWindowCreator type) const override {
    return type == &THiscoreSubmit::Create || TWindow::IsKindOf(type);
  }

  void PostCreate(const TWindowStyle& style) override;
  bool OnMessage(TMessage& message) override;
  bool OnKeyDown(int key, int modifiers) override;
  bool Animate() override;

  void SubmitToServer(const std::string& playerName, const std::string& accountName,
                      const std::string& password, bool remember);

  // The medals XML of the locations the current player has unlocked, one line each.
  static std::string UnlockedMedals();

  int Stage() const { return mStage; }

 private:
  TTvHiscores* Service() const;
  void UpdateSubmitButton();
  void Finish();

  int mStage = kSubmittingScore;
  std::string mPlayerName;
  std::string mAccountName;
  std::string mPassword;
  bool mRemember = false;
  bool mAccepted = false;
  bool mRunning = false;
};

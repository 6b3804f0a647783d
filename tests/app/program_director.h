// TDirector: drives a run of the program (TProgramRun::RunDriven) stage by stage from its
// watch. Each stage waits for its dialog to be on top, so on a slow machine, where opening
// a dialog takes many passes, input never overtakes the screen it is meant for.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "frame/application.h"
#include "frame/input_script.h"
#include "ui/modal_window.h"
#include "ui/window_manager.h"

// One stage of a driven run: once `dialog` has been on top for settleMs of application time
// (and a few passes), `input` (an input script whose times count from then) is given to the
// program.
struct TStage {
  std::string dialog;
  std::string input;
  uint32_t settleMs = 600;
};

class TDirector {
 public:
  explicit TDirector(std::vector<TStage> stages) : mStages(std::move(stages)) {}

  void Step(TApplication& app) {
    TWindowManager* windows = TWindowManager::Get();
    TModalWindow* top = windows ? windows->TopModal() : nullptr;
    const std::string name = top ? top->GetName() : "";
    const uint32_t now = app.GetTime();
    if (name != mTop) {
      mTop = name;
      mSince = now;
      mPasses = 0;
    }
    ++mPasses;
    if (mNext >= mStages.size()) return;
    const TStage& stage = mStages[mNext];
    if (name != stage.dialog || now - mSince < stage.settleMs || mPasses < 3) return;
    std::vector<std::string> errors;
    TInputScript script = TInputScript::Parse(FromNow(stage.input, now), &errors);
    for (const std::string& error : errors) ADD_FAILURE() << stage.dialog << ": " << error;
    app.SetInputScript(std::move(script));
    ++mNext;
  }
  size_t StagesStarted() const { return mNext; }

 private:
  static std::string FromNow(const std::string& input, uint32_t now) {
    std::istringstream lines(input);
    std::string line, out;
    while (std::getline(lines, line)) {
      const size_t space = line.find(' ');
      if (space == std::string::npos) continue;
      out += std::to_string(now + std::stoul(line.substr(0, space))) + line.substr(space) + "\n";
    }
    return out;
  }

  std::vector<TStage> mStages;
  size_t mNext = 0;
  std::string mTop;
  uint32_t mSince = 0;
  int mPasses = 0;
};

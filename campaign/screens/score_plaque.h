// TScorePlaque: the five counting lines of the end-of-level screen (the money carried in,
// matches, sets, the tiles-left bonus and the total). The lines count up one after another:
// each update advances the first unfinished line by a thirtieth of its target (rounded up,
// so every line takes about thirty updates), never past the target. A click finishes the
// counting line at the next update.
#pragma once

#include <array>
#include <cstddef>

class TScorePlaque {
 public:
  static constexpr int kLines = 5;
  static constexpr int kStepsPerLine = 30;

  struct TLine {
    int target = 0;
    int shown = 0;
  };

  // Lines start at 0 and count towards their targets.
  void SetTarget(int line, int target);
  const TLine& Line(int line) const { return mLines[static_cast<size_t>(line)]; }

  // Advances the first unfinished line; answers its index, or -1 when every line is done.
  int Advance();
  // Puts the counting line one short of its target, so the next update ends it. False (the
  // click is not the plaque's) when every line is done.
  bool FinishCurrentLine();
  bool Done() const { return CurrentLine() < 0; }

 private:
  int CurrentLine() const;

  std::array<TLine, kLines> mLines{};
};

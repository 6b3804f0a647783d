#include "campaign/screens/score_plaque.h"

#include <algorithm>

void TScorePlaque::SetTarget(int line, int target) {
  if (line < 0 || line >= kLines) return;
  // A negative amount (a level that cost more than it earned) shows as it is: counting up
  // from 0 would never reach it.
  mLines[static_cast<size_t>(line)] = TLine{target, std::min(target, 0)};
}

// The first line still below its target.
int TScorePlaque::CurrentLine() const {
  for (int i = 0; i < kLines; ++i)
    if (mLines[static_cast<size_t>(i)].shown < mLines[static_cast<size_t>(i)].target) return i;
  return -1;
}

int TScorePlaque::Advance() {
  const int index = CurrentLine();
  if (index < 0) return -1;
  TLine& line = mLines[static_cast<size_t>(index)];
  // ceil(target / 30) in integers; the target is positive here.
  const int step = (line.target + kStepsPerLine - 1) / kStepsPerLine;
  line.shown = std::min(line.target, line.shown + step);
  return index;
}

bool TScorePlaque::FinishCurrentLine() {
  const int index = CurrentLine();
  if (index < 0) return false;
  TLine& line = mLines[static_cast<size_t>(index)];
  line.shown = line.target - 1;
  return true;
}

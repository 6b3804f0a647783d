#include "online/hiscore_table.h"

#include <algorithm>

bool THiscoreTable::Add(THiscoreRow row, bool onePerPlayer) {
  if (onePerPlayer) {
    const auto own = std::find_if(mRows.begin(), mRows.end(),
                                  [&](const THiscoreRow& r) { return r.name == row.name; });
    if (own != mRows.end()) {
      if (own->score >= row.score) return false;
      mRows.erase(own);
    }
  }
  const auto place = std::find_if(mRows.begin(), mRows.end(),
                                  [&](const THiscoreRow& r) { return r.score < row.score; });
  const size_t index = static_cast<size_t>(place - mRows.begin());
  if (index >= kMaxRows) return false;
  mRows.insert(place, std::move(row));
  if (mRows.size() > kMaxRows) mRows.resize(kMaxRows);
  Rank();
  return true;
}

void THiscoreTable::Assign(std::vector<THiscoreRow> rows) {
  std::stable_sort(rows.begin(), rows.end(),
                   [](const THiscoreRow& a, const THiscoreRow& b) { return a.score > b.score; });
  if (rows.size() > kMaxRows) rows.resize(kMaxRows);
  mRows = std::move(rows);
  Rank();
}

const THiscoreRow* THiscoreTable::FirstUnsubmitted(const std::string& name) const {
  for (const THiscoreRow& row : mRows) {
    if (row.name == name && !row.submitted) return &row;
  }
  return nullptr;
}

void THiscoreTable::Rank() {
  for (size_t i = 0; i < mRows.size(); ++i) {
    const bool tied = i > 0 && mRows[i].score == mRows[i - 1].score;
    mRows[i].rank = tied ? mRows[i - 1].rank : static_cast<int>(i) + 1;
  }
}

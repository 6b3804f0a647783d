// THiscoreTable: one local high-score table, the best scores of one game category, highest
// first, at most kMaxRows of them. Equal scores share a rank and the next different score
// gets the rank its position gives (1, 2, 2, 4); a new score goes after the scores that are
// equal to it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One entry of a local or a downloaded table.
struct THiscoreRow {
  int rank = 0;
  int score = 0;
  std::string name;
  std::string gameData;
  std::string serverData;
  std::string version;
  bool valid = false;  // local rows: always; downloaded rows: the server's "anonymous" flag
  bool submitted = false;
  std::string guid;

  bool operator==(const THiscoreRow&) const = default;
};

class THiscoreTable {
 public:
  static constexpr size_t kMaxRows = 500;

  // Adds row by its score and ranks the table again. With onePerPlayer, a player keeps only
  // the best row of their name: a row that is not better than the one they have is not
  // added, a better one replaces it. False when the row did not make it into the table.
  bool Add(THiscoreRow row, bool onePerPlayer);

  // Takes rows read from a saved file: ordered by score, highest first (rows of equal score
  // keep their order), cut to kMaxRows and ranked.
  void Assign(std::vector<THiscoreRow> rows);

  const std::vector<THiscoreRow>& Rows() const { return mRows; }
  std::vector<THiscoreRow>& Rows() { return mRows; }
  bool Empty() const { return mRows.empty(); }

  // The first row of this name that has not been submitted, or null.
  const THiscoreRow* FirstUnsubmitted(const std::string& name) const;

  bool operator==(const THiscoreTable&) const = default;

 private:
  void Rank();

  std::vector<THiscoreRow> mRows;
};

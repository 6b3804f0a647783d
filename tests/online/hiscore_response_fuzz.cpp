// Reads arbitrary bytes as an answer of the high-score server: validity, refusal texts, the
// table list, the score list and the submission answer.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "online/hiscore_response.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const THiscoreResponse response(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<THiscoreTableInfo> tables;
  std::vector<THiscoreRow> rows;
  int accountRow = -2;
  const bool hasTables = response.ReadTables(tables);
  const bool hasScores = response.ReadScores(rows, accountRow);
  if (!hasTables && !tables.empty()) __builtin_trap();
  if (hasScores && (accountRow < -1 || accountRow >= static_cast<int>(rows.size())))
    __builtin_trap();
  if (response.Problem() == THiscoreResponse::kNotHiscoreXml && (hasTables || hasScores))
    __builtin_trap();
  response.Has("medals");
  response.Has("score");
  return 0;
}

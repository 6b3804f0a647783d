// The XML answers of the high-score protocol. Every answer has the root "hiscore"; the
// game fails a request whose answer has a "message" (shown to the player) or a
// "protocolError" child. Texts come in as UTF-8 and are written as the game's 8-bit
// characters, escaped by the engine's XML writer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "online/server/hiscore_config.h"
#include "online/server/score_store.h"

// The id of the refusal the game recognises: it forgets the remembered account.
constexpr char kInvalidLoginId[] = "hiscore.error.invalidUsernameOrPassword";

std::string ProtocolErrorReply(std::string_view text);
std::string MessageReply(std::string_view id, std::string_view text);
std::string TablesReply(const std::vector<TScoreTableSpec>& tables);

// The attributes of one row of a "scores" answer (the game reads name, data, serverData,
// ver, guid, anonymous, score and rank), without the element around them.
std::string ScoreRowAttributes(const TStoredScore& score, int rank);
// A "scores" answer: rows holds ScoreRowAttributes texts; the row accountRow (or none,
// when -1) is marked as the requesting account's own.
std::string ScoresReply(std::string_view tableId, std::string_view category,
                        const std::vector<std::string>& rows, size_t count, int accountRow);

// Texts are UTF-8 (guids are ASCII). A stored score: with a "score" child when it placed in a table
// (the game then says so), else a "submitted" child.
std::string SubmitReply(std::string_view guid, std::string_view placedTable, int64_t rank);
// A guid already stored with other content: counted once, so this one is not accepted.
std::string DuplicateReply(std::string_view guid);
// Medals answer with a "medals" child, which tells the game not to mark scores submitted.
std::string MedalsReply(int added, size_t total);

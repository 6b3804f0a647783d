// THiscoreConfig: what one high-score server knows about the games it serves, the score
// tables it keeps for each game mode, and the limits it enforces.
//
// The configuration file is XML, read with the engine's own reader:
//   <hiscored>
//     <server address="127.0.0.1" port="8642" threads="16" trustedproxy="127.0.0.1"/>
//     <game handle="mahjongcuriomar" key="KPlaxRD7wAAA" maxscore="2000000000">
//       <mode name="mahjongcuriomar_adventure"/>
//       <mode name="mahjongcuriomar_web"/>
//     </game>
//     <table id="alltime" name="All Time" period="all"/>   (also "month", "week", "day")
//     <limits rows="500" reads="20" readburst="60" submits="2" submitburst="20"/>
//     <passwords opslimit="2" memlimit="19922944"/>
//   </hiscored>
// Every element is optional; what is missing keeps the built-in default, which serves
// this game with the four tables all time, this month, this week and today.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "online/server/score_period.h"

struct THiscoreGame {
  std::string handle;              // the "game" parameter of every request
  std::string key;                 // cipher key text of the score and medals parameters
  std::vector<std::string> modes;  // score categories: the "type" parameter
  int64_t minScore = 0;
  int64_t maxScore = INT32_MAX;

  bool HasMode(std::string_view mode) const;
};

// One score table of every game mode: the scores of a period, best first.
struct TScoreTableSpec {
  std::string id;    // the "table" parameter
  std::string name;  // display name shown by the game
  TScorePeriod period = TScorePeriod::kAllTime;
};

struct THiscoreLimits {
  int tableRows = 500;              // rows per table: a "get" receives at most these
  size_t maxParameterLength = 256;  // plain parameters ("game", "type", "username", ...)
  size_t maxCipherLength = 8192;    // the enciphered "score" and "medals" parameters
  size_t maxNameLength = 40;        // account and player names
  size_t maxPasswordLength = 128;
  size_t maxDataLength = 512;  // game data, server data
  size_t maxMedals = 64;       // medals in one submission
  // Per client address; 0 turns a limit off. Reads are "tables" and "get".
  double readsPerSecond = 20;
  double readBurst = 60;
  double submitsPerSecond = 2;
  double submitBurst = 20;
};

// Cost of the argon2id password hash (libsodium's opslimit and memlimit).
struct TPasswordCost {
  unsigned long long opsLimit = 2;
  size_t memLimit = 19 * 1024 * 1024;
};

struct THiscoreConfig {
  std::vector<THiscoreGame> games;
  std::vector<TScoreTableSpec> tables;
  THiscoreLimits limits;
  TPasswordCost passwordCost;

  std::string address = "127.0.0.1";
  int port = 8642;
  // Worker threads of the listener. A submission holds its thread while its score is
  // written to disk, so there are more threads than cores.
  int threads = 16;
  // Requests from these addresses are counted against the last address of their
  // "X-Forwarded-For" header (a reverse proxy on the same machine, usually).
  std::vector<std::string> trustedProxies;

  const THiscoreGame* FindGame(std::string_view handle) const;
  const TScoreTableSpec* FindTable(std::string_view id) const;

  // This game's own configuration: its game handle, key and modes, the four tables.
  static THiscoreConfig Default();
};

// Reads a configuration file's text over config (which keeps what the text does not
// set). A <game> element replaces the built-in games; the first <table> replaces the
// built-in tables. False with a message naming the fault when the text is not usable.
bool ReadHiscoreConfig(std::string_view text, THiscoreConfig& config, std::string& error);

// THiscoreStore: what the high-score service keeps on disk, the local tables by game
// category and the remembered server accounts by player name, and its XML form. The file
// around it (cipher and checksum) is online/hiscore_file.h.
//
// The XML: the header line, then one element per account,
//   <user player="..." name="..." pass="..."/>
// then one element per table,
//   <score name="CATEGORY"><row rank="1" score="900" submit="0" guid="..." name="..."
//       gameData="..." serverData="..." version="..."/>...</score>
// where the last five attributes are left out when empty.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "online/hiscore_table.h"

struct THiscoreAccount {
  std::string player;
  std::string name;
  std::string password;

  bool operator==(const THiscoreAccount&) const = default;
};

struct THiscoreStore {
  std::map<std::string, THiscoreTable> tables;      // by category
  std::map<std::string, THiscoreAccount> accounts;  // by player name

  std::string ToXml() const;
  // Adds what the text holds: every account, and every table with at least one row (in
  // score order, at most 500 rows). What cannot be read is left out.
  void ReadXml(std::string_view text);

  bool operator==(const THiscoreStore&) const = default;
};

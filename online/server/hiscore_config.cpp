#include "online/server/hiscore_config.h"

#include <algorithm>

#include "files/xml_node.h"
#include "online/server/field_rules.h"

bool THiscoreGame::HasMode(std::string_view mode) const {
  return std::find(modes.begin(), modes.end(), mode) != modes.end();
}

const THiscoreGame* THiscoreConfig::FindGame(std::string_view handle) const {
  for (const THiscoreGame& game : games) {
    if (game.handle == handle) return &game;
  }
  return nullptr;
}

const TScoreTableSpec* THiscoreConfig::FindTable(std::string_view id) const {
  for (const TScoreTableSpec& table : tables) {
    if (table.id == id) return &table;
  }
  return nullptr;
}

THiscoreConfig THiscoreConfig::Default() {
  THiscoreConfig config;
  THiscoreGame game;
  game.handle = "mahjongcuriomar";
  game.key = "KPlaxRD7wAAA";
  game.modes = {"mahjongcuriomar_adventure", "mahjongcuriomar_web"};
  config.games.push_back(game);
  config.tables = {{"alltime", "All Time", TScorePeriod::kAllTime},
                   {"month", "This Month", TScorePeriod::kMonth},
                   {"week", "This Week", TScorePeriod::kWeek},
                   {"day", "Today", TScorePeriod::kDay}};
  return config;
}

namespace {

// Reads the integer attribute `name` of node into value when it is present.
template <class T>
bool ReadNumber(const TXmlNode& node, std::string_view name, int64_t min, int64_t max, T& value,
                std::string& error) {
  if (!node.HasAttribute(name)) return true;
  const std::string text = node.GetAttribute(name);
  const std::optional<int64_t> number = ParseDecimal(text, min, max);
  if (!number) {
    error = "<" + node.GetName() + "> " + std::string(name) + "=\"" + text +
            "\" is not a whole number from " + std::to_string(min) + " to " + std::to_string(max);
    return false;
  }
  value = static_cast<T>(*number);
  return true;
}

// Rates are given in requests per second, with up to three decimals ("0.5").
bool ReadRate(const TXmlNode& node, std::string_view name, double& value, std::string& error) {
  if (!node.HasAttribute(name)) return true;
  const std::string text = node.GetAttribute(name);
  const size_t point = text.find('.');
  const std::string whole = text.substr(0, point);
  const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
  const auto wholeValue = ParseDecimal(whole, 0, 1000000);
  const auto fractionValue =
      fraction.empty() ? std::optional<int64_t>(0) : ParseDecimal(fraction, 0, 999);
  if (!wholeValue || !fractionValue || fraction.size() > 3 || fraction.starts_with('-') ||
      (point != std::string::npos && fraction.empty())) {
    error = "<" + node.GetName() + "> " + std::string(name) + "=\"" + text +
            "\" is not a rate such as 20 or 0.5";
    return false;
  }
  double scale = 1;
  for (size_t i = 0; i < fraction.size(); ++i) scale *= 10;
  value = double(*wholeValue) + double(*fractionValue) / scale;
  return true;
}

bool ReadGame(const TXmlNode& node, THiscoreGame& game, std::string& error) {
  game.handle = node.GetAttribute("handle");
  game.key = node.GetAttribute("key");
  if (!IsToken(game.handle, 64)) {
    error = "<game> needs a handle of letters, digits, '_', '-' or '.'";
    return false;
  }
  if (game.key.empty()) {
    error = "<game handle=\"" + game.handle + "\"> needs the game's cipher key";
    return false;
  }
  if (!ReadNumber(node, "minscore", INT32_MIN, INT32_MAX, game.minScore, error) ||
      !ReadNumber(node, "maxscore", INT32_MIN, INT32_MAX, game.maxScore, error)) {
    return false;
  }
  for (const auto& child : node.Children()) {
    if (child->GetName() != "mode") continue;
    const std::string mode = child->GetAttribute("name");
    if (!IsToken(mode, 64)) {
      error = "<game handle=\"" + game.handle + "\"> has a <mode> without a usable name";
      return false;
    }
    game.modes.push_back(mode);
  }
  if (game.modes.empty()) {
    error = "<game handle=\"" + game.handle + "\"> names no <mode>";
    return false;
  }
  return true;
}

bool ReadTable(const TXmlNode& node, TScoreTableSpec& table, std::string& error) {
  table.id = node.GetAttribute("id");
  table.name = node.GetAttribute("name");
  const std::optional<TScorePeriod> period = ScorePeriodFromName(node.GetAttribute("period"));
  if (!IsToken(table.id, 64) || table.name.empty() || !period) {
    error = "<table> needs an id, a name and a period (all, month, week or day)";
    return false;
  }
  table.period = *period;
  return true;
}

bool ReadServer(const TXmlNode& node, THiscoreConfig& config, std::string& error) {
  if (node.HasAttribute("address")) config.address = node.GetAttribute("address");
  std::string proxies = node.GetAttribute("trustedproxy");
  for (size_t start = 0; start < proxies.size();) {
    size_t end = proxies.find_first_of(", ", start);
    if (end == std::string::npos) end = proxies.size();
    if (end > start) config.trustedProxies.push_back(proxies.substr(start, end - start));
    start = end + 1;
  }
  return ReadNumber(node, "port", 0, 65535, config.port, error) &&
         ReadNumber(node, "threads", 1, 256, config.threads, error);
}

bool ReadLimits(const TXmlNode& node, THiscoreLimits& limits, std::string& error) {
  return ReadNumber(node, "rows", 1, 10000, limits.tableRows, error) &&
         ReadNumber(node, "parameterlength", 16, 4096, limits.maxParameterLength, error) &&
         ReadNumber(node, "cipherlength", 64, 65536, limits.maxCipherLength, error) &&
         ReadNumber(node, "namelength", 1, 255, limits.maxNameLength, error) &&
         ReadNumber(node, "passwordlength", 1, 1024, limits.maxPasswordLength, error) &&
         ReadNumber(node, "datalength", 0, 16384, limits.maxDataLength, error) &&
         ReadNumber(node, "medals", 1, 1024, limits.maxMedals, error) &&
         ReadRate(node, "reads", limits.readsPerSecond, error) &&
         ReadRate(node, "readburst", limits.readBurst, error) &&
         ReadRate(node, "submits", limits.submitsPerSecond, error) &&
         ReadRate(node, "submitburst", limits.submitBurst, error);
}

}  // namespace

bool ReadHiscoreConfig(std::string_view text, THiscoreConfig& config, std::string& error) {
  TXmlNode document;
  document.Parse(text);
  const TXmlNode* root = document.FindChild("hiscored");
  if (!root) {
    error = "the file has no <hiscored> element";
    return false;
  }
  bool gamesSeen = false;
  bool tablesSeen = false;
  for (const auto& child : root->Children()) {
    const std::string& name = child->GetName();
    bool ok = true;
    if (name == "server") {
      ok = ReadServer(*child, config, error);
    } else if (name == "game") {
      if (!gamesSeen) config.games.clear();
      gamesSeen = true;
      THiscoreGame game;
      ok = ReadGame(*child, game, error);
      if (ok && config.FindGame(game.handle)) {
        error = "<game handle=\"" + game.handle + "\"> appears twice";
        ok = false;
      }
      if (ok) config.games.push_back(std::move(game));
    } else if (name == "table") {
      if (!tablesSeen) config.tables.clear();
      tablesSeen = true;
      TScoreTableSpec table;
      ok = ReadTable(*child, table, error);
      if (ok && config.FindTable(table.id)) {
        error = "<table id=\"" + table.id + "\"> appears twice";
        ok = false;
      }
      if (ok) config.tables.push_back(std::move(table));
    } else if (name == "limits") {
      ok = ReadLimits(*child, config.limits, error);
    } else if (name == "passwords") {
      ok = ReadNumber(*child, "opslimit", 1, 1000, config.passwordCost.opsLimit, error) &&
           ReadNumber(*child, "memlimit", 8192, int64_t(4) << 30, config.passwordCost.memLimit,
                      error);
    }
    if (!ok) return false;
  }
  return true;
}

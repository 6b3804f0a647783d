#include "game/level_drawing.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace {

std::string Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  return std::string(text.substr(b, e - b));
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool ParseInt(std::string_view text, int& value) {
  std::string trimmed = Trim(text);
  const char* begin = trimmed.data();
  const char* end = begin + trimmed.size();
  auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr == end && !trimmed.empty();
}

}  // namespace

std::string WriteLevelDrawing(const TLevelLayout& layout) {
  std::string out;
  out += "title: " + layout.title + "\n";
  out += "description: " + layout.description + "\n";
  out += "difficulty: " + std::to_string(layout.difficulty) + "\n";
  if (layout.creatorName != "Curiomar") out += "creator: " + layout.creatorName + "\n";
  if (layout.layoutId != -1) out += "layoutid: " + std::to_string(layout.layoutId) + "\n";
  int layers = layout.LayerCount();
  for (int layer = 0; layer < layers; ++layer) {
    out += "layer " + std::to_string(layer) + "\n";
    for (int y = 0; y < TLevelLayout::kRows; ++y) {
      std::string line(TLevelLayout::kColumns, '.');
      for (int x = 0; x < TLevelLayout::kColumns; ++x) {
        uint8_t type = layout.TypeAt(layer, x, y);
        if (type == kCandidatePosition)
          line[x] = 'T';
        else if (type != kNoPosition)
          line[x] = 'o';
      }
      out += line + "\n";
    }
  }
  return out;
}

bool ReadLevelDrawing(std::string_view text, TLevelLayout& layout, std::string* error) {
  TLevelLayout result;
  std::vector<std::string_view> lines = SplitLines(text);
  auto fail = [&](size_t index, const std::string& reason) {
    if (error) *error = "line " + std::to_string(index + 1) + ": " + reason;
    return false;
  };
  std::vector<bool> layerSeen(TLevelLayout::kLayers, false);
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = Trim(lines[i]);
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("layer", 0) == 0 && line.find(':') == std::string::npos) {
      int layer = -1;
      if (!ParseInt(std::string_view(line).substr(5), layer) || layer < 0 ||
          layer >= TLevelLayout::kLayers)
        return fail(i, "layer number must be 0 to 6");
      if (layerSeen[layer]) return fail(i, "layer " + std::to_string(layer) + " drawn twice");
      layerSeen[layer] = true;
      for (int y = 0; y < TLevelLayout::kRows; ++y) {
        size_t row = i + 1 + y;
        if (row >= lines.size()) return fail(row, "a layer needs 16 rows");
        std::string_view cells = lines[row];
        if (cells.size() > TLevelLayout::kColumns) return fail(row, "more than 38 columns");
        for (size_t x = 0; x < cells.size(); ++x) {
          char c = cells[x];
          if (c == 'o')
            result.SetType(layer, static_cast<int>(x), y, kOrdinaryPosition);
          else if (c == 'T')
            result.SetType(layer, static_cast<int>(x), y, kCandidatePosition);
          else if (c != '.' && c != ' ')
            return fail(row, std::string("unknown cell character '") + c + "'");
        }
      }
      i += TLevelLayout::kRows;
      continue;
    }
    size_t colon = line.find(':');
    if (colon == std::string::npos) return fail(i, "expected \"key: value\" or \"layer N\"");
    std::string key = Trim(std::string_view(line).substr(0, colon));
    std::string value = Trim(std::string_view(line).substr(colon + 1));
    if (key == "title")
      result.title = value;
    else if (key == "description")
      result.description = value;
    else if (key == "creator")
      result.creatorName = value;
    else if (key == "difficulty") {
      if (!ParseInt(value, result.difficulty)) return fail(i, "difficulty must be a number");
    } else if (key == "layoutid") {
      if (!ParseInt(value, result.layoutId)) return fail(i, "layoutid must be a number");
    } else {
      return fail(i, "unknown key \"" + key + "\"");
    }
  }
  layout = std::move(result);
  return true;
}

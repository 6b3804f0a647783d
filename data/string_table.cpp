#include "data/string_table.h"

#include "data/integer_format.h"
#include "files/file.h"
#include "files/file_system.h"
#include "files/xml_entities.h"
#include "files/zxml.h"
#include "frame/log.h"

namespace {

constexpr char kFailure[] = "#####";

// The value of the cell whose "<Data" starts at `at`: from the first ">" after it to the
// next "<" (markup inside a cell cuts it short).
std::string CellValue(std::string_view text, size_t at) {
  const size_t open = text.find('>', at);
  if (open == std::string_view::npos) return std::string();
  const size_t close = text.find('<', open + 1);
  return DecodeXmlEntities(text.substr(
      open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1));
}

bool AllDigits(std::string_view field) {
  for (char c : field)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

bool TStringTable::LoadStrings(const std::string& fileName) {
  Clear();
  return AddStrings(fileName);
}

bool TStringTable::AddStrings(const std::string& fileName) {
  std::string bytes;
  if (!ReadWholeFile(fileName, bytes, kReadBinary)) return false;
  AddSpreadsheetText(bytes);
  return true;
}

void TStringTable::AddSpreadsheetText(std::string_view text) {
  std::string inflated;
  if (IsZxml(text.data(), text.size())) {
    if (!UnpackZxml(text.data(), text.size(), inflated)) return;  // logged by the unpacker
    text = inflated;
  }
  text = text.substr(0, text.find('\0'));  // the text is taken as a C string
  size_t row = text.find("<Row");
  while (row != std::string_view::npos) {
    const size_t nextRow = text.find("<Row", row + 4);
    const size_t rowEnd = nextRow == std::string_view::npos ? text.size() : nextRow;
    const size_t label = text.find("<Data", row);
    if (label < rowEnd) {
      const size_t value = text.find("<Data", label + 5);
      mStrings[CellValue(text, label)] = value < rowEnd ? CellValue(text, value) : std::string();
    }
    row = nextRow;
  }
}

bool TStringTable::LoadAll(const std::string& shippedFileName) {
  const bool shipped = LoadStrings(shippedFileName);
  for (const char* prefix : {"user:", "common:"}) {
    const std::string prefixText(prefix);
    std::string name;
    while (ListNextFile(prefixText, name, false)) {
      const std::string rest = name.substr(prefixText.size());
      if (rest.compare(0, 6, "string") == 0 && rest.find(".xml") != std::string::npos)
        AddStrings(name);
    }
  }
  return shipped;
}

const std::string* TStringTable::Find(const std::string& label) const {
  auto it = mStrings.find(label);
  return it == mStrings.end() ? nullptr : &it->second;
}

bool TStringTable::Expand(const std::string& text, const std::string_view* arguments,
                          std::string& out) const {
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      out += text[i++];
      continue;
    }
    const size_t close = text.find('%', i + 1);
    const std::string field =
        text.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
    i = close == std::string::npos ? text.size() : close + 1;
    if (field.empty()) {
      out += '%';
    } else if (AllDigits(field)) {
      const size_t n = field.size() > 2 ? 0 : std::stoul(field);
      if (n < 1 || n > 5) return false;
      const std::string_view argument = arguments[n - 1];
      if (argument.empty() || argument[0] != '%') {
        out += argument;
      } else if (argument == "%%") {
        out += '%';
      } else if (argument.size() >= 2 && argument.back() == '%') {
        const std::string* labelText = Find(std::string(argument.substr(1, argument.size() - 2)));
        if (!labelText) return false;
        out += *labelText;
      } else {
        return false;
      }
    } else {
      const std::string* labelText = Find(field);
      if (!labelText) return false;
      out += *labelText;
    }
  }
  return true;
}

std::string TStringTable::GetString(const std::string& label, std::string_view a1,
                                    std::string_view a2, std::string_view a3, std::string_view a4,
                                    std::string_view a5) const {
  const std::string_view arguments[5] = {a1, a2, a3, a4, a5};
  std::string out;
  const std::string* text = Find(label);
  if (!text || !Expand(*text, arguments, out)) {
    Log(" ##### : Missing string for label '%s'", label.c_str());
    return kFailure;
  }
  return out;
}

std::string TStringTable::FormatCurrency(int amount) const {
  if (amount <= 999) return FormatIntegers(GetString("localizer_currency_tens_format"), {amount});
  if (amount <= 999999)
    return FormatIntegers(GetString("localizer_currency_thousands_format"),
                          {amount / 1000, amount % 1000});
  if (amount <= 999999999)
    return FormatIntegers(GetString("localizer_currency_millions_format"),
                          {amount / 1000000, amount % 1000000 / 1000, amount % 1000});
  return FormatIntegers(
      GetString("localizer_currency_billions_format"),
      {amount / 1000000000, amount % 1000000000 / 1000000, amount % 1000000 / 1000, amount % 1000});
}

TStringTable& StringTable() {
  static TStringTable table;
  return table;
}

std::string GetString(const std::string& label, std::string_view a1, std::string_view a2,
                      std::string_view a3, std::string_view a4, std::string_view a5) {
  return StringTable().GetString(label, a1, a2, a3, a4, a5);
}

std::string FormatCurrency(int amount) {
  return StringTable().FormatCurrency(amount);
}

// The string table: labels mapped to the texts the player sees, read from spreadsheets
// saved as XML (Excel 2003 SpreadsheetML, plain or ZXML). A later entry for a label
// replaces the earlier one.
//
// GetString expands a text from left to right: "%%" writes "%"; "%n%" (n = 1..5) inserts
// argument n, where an argument "%%" inserts "%" and "%label%" inserts that label's text;
// any other "%field%" inserts the text of the label "field". A "%" without a closing one
// takes the rest of the text as its field. Inserted texts are not expanded again. Any
// failure (missing label, argument number out of range, any other argument beginning with
// "%") makes the result "#####" and logs the requested label.
#pragma once

#include <map>
#include <string>
#include <string_view>

class TStringTable {
 public:
  // Empties the table, then AddStrings.
  bool LoadStrings(const std::string& fileName);
  // Merges the rows of one spreadsheet file; false when it cannot be opened.
  bool AddStrings(const std::string& fileName);
  // Merges the rows of spreadsheet text (SpreadsheetML or a ZXML container of it). Each
  // "<Row" starts a row; its first "<Data" cell is the label, the next one the text.
  void AddSpreadsheetText(std::string_view text);
  // The start-up sequence: the shipped table, then every "user:" and then "common:" file
  // whose name begins with "string" and contains ".xml" (the common folder wins). Answers
  // whether the shipped table loaded (labels are localised only then).
  bool LoadAll(const std::string& shippedFileName = "strings.xml");

  void SetString(const std::string& label, const std::string& text) { mStrings[label] = text; }
  // The stored text, unexpanded, or null.
  const std::string* Find(const std::string& label) const;
  const std::map<std::string, std::string>& Strings() const { return mStrings; }
  void Clear() { mStrings.clear(); }

  std::string GetString(const std::string& label, std::string_view a1 = {},
                        std::string_view a2 = {}, std::string_view a3 = {},
                        std::string_view a4 = {}, std::string_view a5 = {}) const;

  // Money as display text with the "localizer_currency_*_format" texts: "$1,234,567".
  std::string FormatCurrency(int amount) const;

 private:
  bool Expand(const std::string& text, const std::string_view* arguments, std::string& out) const;

  std::map<std::string, std::string> mStrings;
};

// The program's string table and shortcuts to it.
TStringTable& StringTable();
std::string GetString(const std::string& label, std::string_view a1 = {}, std::string_view a2 = {},
                      std::string_view a3 = {}, std::string_view a4 = {}, std::string_view a5 = {});
std::string FormatCurrency(int amount);

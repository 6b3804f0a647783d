// The command line as one text, searched for options by plain substring search anywhere in
// the line (case-sensitive), the way every engine and game option is found.
#pragma once

#include <string>
#include <utility>
#include <vector>

class TCommandLine {
 public:
  TCommandLine() = default;
  explicit TCommandLine(std::string text) : mText(std::move(text)) {}

  // Joins program arguments (without the program name) with blanks. An argument with a
  // blank in it is quoted so "-wd=" still finds the whole folder: the value after '=' when
  // there is one, else the whole argument.
  static TCommandLine FromArguments(int argc, const char* const* argv);

  const std::string& Text() const { return mText; }
  std::string& MutableText() { return mText; }

  bool Has(const char* option) const;
  // Text after the first occurrence of option ("" when absent).
  std::string After(const char* option) const;

  // "-wnd=": the hexadecimal handle right after it (0 when absent or not hexadecimal).
  unsigned long long WindowHandle() const;
  // "-wd=": a quoted folder (up to the closing quote, or the end) or text up to the first blank.
  std::string WorkingDirectory() const;
  // "--cheat": the text from 8 characters after the option's first character up to the first
  // blank; "" when the line ends before that.
  std::string CheatCode() const;
  // "options=": key/value pairs joined by "&", ending at a blank.
  std::vector<std::pair<std::string, std::string>> OptionPairs() const;
  // "-host=": the program up to the first blank, at most 259 characters ("" when absent).
  std::string HostProgram() const;
  // "--exit-after=MS": -1 when absent or not a number.
  long ExitAfterMs() const;
  // Value of "--input=" / "--frames=": up to the first blank, or quoted like "-wd=".
  std::string PathOption(const char* option) const;

 private:
  std::string mText;
};

// The game's own options, read from a copy of the command line.
struct TGameOptions {
  std::string url;  // "-url="
  int anon = 0;     // "-anon " value
  bool hasAnon = false;
  bool msn = false;  // "-msn"
  bool aol = false;  // "-aol"
};
TGameOptions ParseGameOptions(const std::string& commandLine);

// atoi without undefined behaviour on overflow: leading blanks, an optional sign, digits.
int ParseDecimal(const std::string& text);

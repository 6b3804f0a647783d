#include "frame/command_line.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>

TCommandLine TCommandLine::FromArguments(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (!argv[i]) continue;
    std::string arg = argv[i];
    if (!text.empty()) text += ' ';
    if (arg.find(' ') == std::string::npos || arg.find('"') != std::string::npos) {
      text += arg;
      continue;
    }
    const size_t equals = arg.find('=');
    if (equals != std::string::npos && arg.find(' ') > equals) {
      text += arg.substr(0, equals + 1) + '"' + arg.substr(equals + 1) + '"';
    } else {
      text += '"' + arg + '"';
    }
  }
  return TCommandLine(std::move(text));
}

bool TCommandLine::Has(const char* option) const {
  return mText.find(option) != std::string::npos;
}

std::string TCommandLine::After(const char* option) const {
  const size_t at = mText.find(option);
  if (at == std::string::npos) return {};
  return mText.substr(at + std::strlen(option));
}

unsigned long long TCommandLine::WindowHandle() const {
  const std::string rest = After("-wnd=");
  unsigned long long value = 0;
  size_t i = 0;
  if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) i = 2;
  for (int digits = 0; i < rest.size() && std::isxdigit(static_cast<unsigned char>(rest[i]));
       ++i, ++digits) {
    if (digits >= 16) return 0;  // longer than any window id: not a handle
    const char c = rest[i];
    const int digit = std::isdigit(static_cast<unsigned char>(c))
                          ? c - '0'
                          : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return value;
}

namespace {

// A quoted value runs to the closing quote (or the end); a plain one to the first blank.
std::string QuotedOrWord(const std::string& rest) {
  if (!rest.empty() && rest[0] == '"') {
    const size_t close = rest.find('"', 1);
    return rest.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  return rest.substr(0, rest.find(' '));
}

}  // namespace

std::string TCommandLine::WorkingDirectory() const {
  if (!Has("-wd=")) return {};
  return QuotedOrWord(After("-wd="));
}

std::string TCommandLine::PathOption(const char* option) const {
  if (!Has(option)) return {};
  return QuotedOrWord(After(option));
}

std::string TCommandLine::CheatCode() const {
  const size_t at = mText.find("--cheat");
  // The code starts 8 characters after the option's first character ("--cheat" and one
  // separator); a line that ends before that gives an empty code.
  if (at == std::string::npos || at + 8 >= mText.size()) return {};
  const std::string rest = mText.substr(at + 8);
  return rest.substr(0, rest.find(' '));
}

std::vector<std::pair<std::string, std::string>> TCommandLine::OptionPairs() const {
  std::vector<std::pair<std::string, std::string>> pairs;
  if (!Has("options=")) return pairs;
  std::string rest = After("options=");
  while (!rest.empty() && rest[0] != ' ') {
    const size_t equals = rest.find('=');
    if (equals == std::string::npos) break;
    std::string key = rest.substr(0, equals);
    const std::string tail = rest.substr(equals + 1);
    // A value ends at the first "&" or blank, whichever comes first: an "&" further on
    // belongs to another option and must not pull that option's text into this value.
    const size_t end = tail.find_first_of("& ");
    pairs.emplace_back(std::move(key), tail.substr(0, end));
    // An "&" is skipped; a blank is kept so that the next pass stops there.
    if (end == std::string::npos) {
      rest.clear();
    } else if (tail[end] == '&') {
      rest = tail.substr(end + 1);
    } else {
      rest = tail.substr(end);
    }
  }
  return pairs;
}

long TCommandLine::ExitAfterMs() const {
  if (!Has("--exit-after=")) return -1;
  const std::string rest = After("--exit-after=");
  if (rest.empty() || !std::isdigit(static_cast<unsigned char>(rest[0]))) return -1;
  const int value = ParseDecimal(rest);
  return value < 0 ? -1 : value;
}

int ParseDecimal(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) {
      value = static_cast<long long>(INT_MAX) + (negative ? 1 : 0);
      break;
    }
  }
  return static_cast<int>(negative ? -value : value);
}

TGameOptions ParseGameOptions(const std::string& commandLine) {
  TGameOptions options;
  // "-url=" and "-anon " take the text after the option up to the next " -".
  auto valueOf = [&](const char* option, std::string& out) {
    const size_t at = commandLine.find(option);
    if (at == std::string::npos) return false;
    std::string rest = commandLine.substr(at + std::strlen(option));
    const size_t next = rest.find(" -");
    out = rest.substr(0, next);
    return true;
  };
  valueOf("-url=", options.url);
  std::string anon;
  if (valueOf("-anon ", anon)) {
    options.hasAnon = true;
    options.anon = ParseDecimal(anon);
  }
  options.msn = commandLine.find("-msn") != std::string::npos;
  options.aol = commandLine.find("-aol") != std::string::npos;
  return options;
}

std::string TCommandLine::HostProgram() const {
  constexpr size_t kMaxProgram = 259;
  const std::string rest = After("-host=");
  return rest.substr(0, std::min(rest.find(' '), kMaxProgram));
}

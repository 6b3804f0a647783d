// Splits XML text into tokens: runs of characters separated by white space, the single
// characters "<", ">" and "=", and double-quoted strings. Multi-byte UTF-8 sequences are
// read as one unit so that only lead bytes are compared with delimiters.
#pragma once

#include <string>

class TGetChar;

struct TXmlToken {
  std::string text;
  bool quoted = false;   // came from "..."
  bool escaped = false;  // began with a character reference, so it is never markup
  bool end = false;      // the source is exhausted (text is then empty)

  // A bare delimiter ("<", ">" or "=") as written in the source, not quoted or escaped.
  bool Is(char delimiter) const {
    return !quoted && !escaped && text.size() == 1 && text[0] == delimiter;
  }
};

class TXmlTokenizer {
 public:
  explicit TXmlTokenizer(TGetChar& source) : mSource(source) {}

  TXmlToken Next();

 private:
  // One character: its lead byte and up to three following bytes.
  struct TUnit {
    unsigned char bytes[4];
    int count = 0;     // bytes that belong to the unit
    int consumed = 0;  // bytes actually taken from the source (padding is not)
    int Lead() const { return count ? bytes[0] : -1; }
  };

  TUnit Read();
  void PutBack(const TUnit& unit);

  TGetChar& mSource;
};

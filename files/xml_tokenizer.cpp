#include "files/xml_tokenizer.h"

#include "files/get_char.h"
#include "files/xml_entities.h"

namespace {

// The C library's white-space set in the "C" locale, independent of the process locale.
bool IsSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDelimiter(int c) {
  return c == '<' || c == '>' || c == '=';
}

}  // namespace

TXmlTokenizer::TUnit TXmlTokenizer::Read() {
  TUnit unit;
  const int lead = mSource.GetChar();
  if (lead < 0) return unit;
  unit.bytes[0] = static_cast<unsigned char>(lead);
  unit.count = unit.consumed = 1;
  int more = lead >= 240 ? 3 : lead >= 224 ? 2 : lead >= 192 ? 1 : 0;
  while (more-- > 0) {
    const int next = mSource.GetChar();
    if (next < 0) {
      unit.bytes[unit.count++] = 255;  // a sequence cut short is completed with 255
    } else {
      unit.bytes[unit.count++] = static_cast<unsigned char>(next);
      ++unit.consumed;
    }
  }
  return unit;
}

void TXmlTokenizer::PutBack(const TUnit& unit) {
  for (int i = unit.consumed - 1; i >= 0; --i) mSource.Unget(unit.bytes[i]);
}

TXmlToken TXmlTokenizer::Next() {
  TXmlToken token;
  TUnit unit = Read();
  while (unit.count && IsSpace(unit.Lead())) unit = Read();
  if (!unit.count) {
    token.end = true;
    return token;
  }
  std::string raw;
  const int lead = unit.Lead();
  if (IsDelimiter(lead)) {
    token.text.assign(1, static_cast<char>(lead));
    return token;
  }
  if (lead == '"') {
    token.quoted = true;
    for (unit = Read(); unit.count && unit.Lead() != '"'; unit = Read())
      raw.append(reinterpret_cast<const char*>(unit.bytes), unit.count);
  } else {
    for (; unit.count && !IsSpace(unit.Lead()) && !IsDelimiter(unit.Lead()); unit = Read())
      raw.append(reinterpret_cast<const char*>(unit.bytes), unit.count);
    if (unit.count) {
      PutBack(unit);
      // "name/>" yields "name", then "/", then ">".
      if (unit.Lead() == '>' && raw.size() > 1 && raw.back() == '/') {
        mSource.Unget('/');
        raw.pop_back();
      }
    }
  }
  token.text = DecodeXmlEntities(raw, &token.escaped);
  return token;
}

#include "files/xml_entities.h"

namespace {

struct TNamedEntity {
  std::string_view name;  // without the leading "&", with the ";"
  char value;
};

constexpr TNamedEntity kNamedEntities[] = {
    {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''},
};

// Decodes the reference that starts at text[at] (an "&"). Returns the number of bytes it
// spans, 0 when it is no reference we know.
size_t DecodeOne(std::string_view text, size_t at, char* value) {
  std::string_view rest = text.substr(at + 1);
  for (const TNamedEntity& entity : kNamedEntities) {
    if (rest.substr(0, entity.name.size()) == entity.name) {
      *value = entity.value;
      return entity.name.size() + 1;
    }
  }
  if (rest.empty() || rest[0] != '#') return 0;
  size_t i = 1;
  unsigned code = 0;
  while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9') {
    code = (code * 10 + unsigned(rest[i] - '0')) % 256;  // only the low byte counts
    ++i;
  }
  if (i == 1 || i >= rest.size() || rest[i] != ';') return 0;
  *value = static_cast<char>(code);
  return i + 2;
}

}  // namespace

std::string DecodeXmlEntities(std::string_view text, bool* startsWithEntity) {
  if (startsWithEntity) *startsWithEntity = false;
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '&') {
      char value = 0;
      if (size_t span = DecodeOne(text, i, &value)) {
        if (i == 0 && startsWithEntity) *startsWithEntity = true;
        out += value;
        i += span;
        continue;
      }
    }
    out += text[i++];
  }
  return out;
}

void AppendXmlEscaped(std::string& out, std::string_view text, TXmlEscape escape) {
  const bool all = escape == TXmlEscape::kAll;
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += all ? "&apos;" : "'";
        break;
      default:
        if (all && (byte < 32 || byte > 127)) {
          out += "&#";
          out += std::to_string(byte);
          out += ';';
        } else {
          out += c;
        }
    }
  }
}

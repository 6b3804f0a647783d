#include "game/level_file.h"

#include <cctype>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

// The few element shapes a level file uses: elements with text or with children.
// Attributes are skipped; mixed content keeps only the text.
struct TElement {
  std::string name;
  std::string text;
  std::vector<TElement> children;
};

std::string EscapeXml(std::string_view text) {
  std::string out;
  for (char c : text) {
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
      default:
        out += c;
    }
  }
  return out;
}

std::string DecodeEntities(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    size_t end = text.find(';', i);
    if (end == std::string_view::npos) {
      out += text.substr(i);
      break;
    }
    std::string_view entity = text.substr(i + 1, end - i - 1);
    if (entity == "amp")
      out += '&';
    else if (entity == "lt")
      out += '<';
    else if (entity == "gt")
      out += '>';
    else if (entity == "quot")
      out += '"';
    else if (entity == "apos")
      out += '\'';
    else if (entity.size() > 1 && entity[0] == '#') {
      long code = std::strtol(std::string(entity.substr(1)).c_str(), nullptr, 10);
      if (code > 0 && code < 128)
        out += static_cast<char>(code);
      else if (code >= 128 && code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
      } else if (code >= 0x800 && code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
      }
    } else {
      out += text.substr(i, end - i + 1);
    }
    i = end;
  }
  return out;
}

std::string Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  return std::string(text.substr(b, e - b));
}

class TParser {
 public:
  explicit TParser(std::string_view text) : mText(text) {}

  std::optional<TElement> ParseDocument(std::string& error) {
    SkipMisc();
    std::optional<TElement> root = ParseElement(0);
    if (!root) {
      error = mError.empty() ? "no root element" : mError;
      return std::nullopt;
    }
    return root;
  }

 private:
  static constexpr int kMaxDepth = 64;

  bool StartsWith(std::string_view s) const { return mText.substr(mPos, s.size()) == s; }

  // Skips white space, the declaration, comments and a doctype before the root.
  void SkipMisc() {
    for (;;) {
      while (mPos < mText.size() && std::isspace(static_cast<unsigned char>(mText[mPos]))) ++mPos;
      if (StartsWith("<?")) {
        SkipPast("?>");
      } else if (StartsWith("<!--")) {
        SkipPast("-->");
      } else if (StartsWith("<!")) {
        SkipPast(">");
      } else {
        return;
      }
    }
  }

  void SkipPast(std::string_view end) {
    size_t found = mText.find(end, mPos);
    mPos = found == std::string_view::npos ? mText.size() : found + end.size();
  }

  std::optional<TElement> Fail(const char* reason) {
    if (mError.empty()) mError = reason;
    return std::nullopt;
  }

  std::optional<TElement> ParseElement(int depth) {
    if (depth > kMaxDepth) return Fail("elements nested too deeply");
    if (!StartsWith("<")) return Fail("expected an element");
    ++mPos;
    size_t nameStart = mPos;
    while (mPos < mText.size() && !std::isspace(static_cast<unsigned char>(mText[mPos])) &&
           mText[mPos] != '>' && mText[mPos] != '/')
      ++mPos;
    TElement element;
    element.name = std::string(mText.substr(nameStart, mPos - nameStart));
    if (element.name.empty()) return Fail("element without a name");
    // Attributes are not used by level files; skip to the end of the tag, respecting quotes.
    char quote = 0;
    while (mPos < mText.size()) {
      char c = mText[mPos];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>' || c == '/') {
        break;
      }
      ++mPos;
    }
    if (StartsWith("/>")) {
      mPos += 2;
      return element;
    }
    if (!StartsWith(">")) return Fail("unterminated start tag");
    ++mPos;
    std::string rawText;
    for (;;) {
      if (mPos >= mText.size()) return Fail("unterminated element");
      if (StartsWith("</")) {
        size_t close = mText.find('>', mPos);
        if (close == std::string_view::npos) return Fail("unterminated end tag");
        if (Trim(mText.substr(mPos + 2, close - mPos - 2)) != element.name)
          return Fail("mismatched end tag");
        mPos = close + 1;
        break;
      }
      if (StartsWith("<!--")) {
        SkipPast("-->");
      } else if (StartsWith("<![CDATA[")) {
        size_t end = mText.find("]]>", mPos);
        if (end == std::string_view::npos) return Fail("unterminated CDATA");
        // CDATA is literal text: escape it so the entity decoding below leaves it alone.
        rawText += EscapeXml(mText.substr(mPos + 9, end - mPos - 9));
        mPos = end + 3;
      } else if (StartsWith("<?")) {
        SkipPast("?>");
      } else if (StartsWith("<")) {
        std::optional<TElement> child = ParseElement(depth + 1);
        if (!child) return std::nullopt;
        element.children.push_back(std::move(*child));
      } else {
        size_t next = mText.find('<', mPos);
        if (next == std::string_view::npos) next = mText.size();
        rawText += mText.substr(mPos, next - mPos);
        mPos = next;
      }
    }
    element.text = Trim(DecodeEntities(rawText));
    return element;
  }

  std::string_view mText;
  size_t mPos = 0;
  std::string mError;
};

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

void ApplyChildren(const TElement& parent, TLevelLayout& layout, std::string& data) {
  for (const TElement& child : parent.children) {
    std::string name = Lower(child.name);
    if (name == "level")
      ApplyChildren(child, layout, data);
    else if (name == "creatorname")
      layout.creatorName = child.text;
    else if (name == "leveltitle")
      layout.title = child.text;
    else if (name == "leveldescription")
      layout.description = child.text;
    else if (name == "gamedifficulty")
      layout.difficulty = std::atoi(child.text.c_str());
    else if (name == "layoutid")
      layout.layoutId = std::atoi(child.text.c_str());
    else if (name == "leveldata")
      data = child.text;
  }
}

}  // namespace

std::string WriteLevelXml(const TLevelLayout& layout) {
  std::string data = layout.EncodeLayoutData();
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<level>\n";
  auto field = [&xml](const char* name, const std::string& value) {
    xml += "  <";
    xml += name;
    xml += ">";
    xml += EscapeXml(value);
    xml += "</";
    xml += name;
    xml += ">\n";
  };
  field("creatorName", layout.creatorName);
  field("levelTitle", layout.title);
  field("levelDescription", layout.description);
  field("numTiles", std::to_string(layout.PositionCount()));
  field("numLayers", std::to_string(layout.LayerCount()));
  field("gameDifficulty", std::to_string(layout.difficulty));
  field("layoutID", std::to_string(layout.layoutId));
  field("layoutSize", std::to_string(data.size()));
  field("levelData", data);
  field("hasrated", "0");
  field("ratinggiven", "-1");
  field("isdeleted", "0");
  xml += "</level>\n";
  return xml;
}

bool ReadLevelXml(std::string_view text, TLevelLayout& layout, std::string* error) {
  std::string reason;
  std::optional<TElement> root = TParser(text).ParseDocument(reason);
  if (!root) {
    if (error) *error = reason;
    return false;
  }
  TLevelLayout result;
  result.creatorName.clear();
  std::string data;
  ApplyChildren(*root, result, data);
  result.DecodeLayoutData(data);
  layout = std::move(result);
  return true;
}

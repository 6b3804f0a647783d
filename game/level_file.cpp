#include "game/level_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "files/lower_case.h"
#include "files/xml_entities.h"
#include "files/xml_node.h"

namespace {

// Elements below the root may nest this deep; a level file needs three levels.
constexpr int kMaxDepth = 64;

// The engine's XML reader forgives any damage. A level file is refused instead when it is
// not well formed, so that a cut or damaged file never replaces a layout with part of one.
// TCheckedNode stands in for each element while the reader builds the tree: it forwards
// what the reader adds to the element's node in the real tree and notes what the reader
// saw (content, end tags) in the shared TWellFormed record.
class TCheckedNode;

struct TWellFormed {
  std::vector<std::unique_ptr<TCheckedNode>> nodes;  // every element's stand-in
  TCheckedNode* root = nullptr;
  const TXmlNode* rootElement = nullptr;  // the root's node in the real tree
  bool rootClosed = false;                // anything after the root element is ignored
  std::string error;

  void Fail(const char* reason) {
    if (error.empty()) error = reason;
  }
};

// Declarations ("?xml") and comments or doctypes ("!--", "!DOCTYPE") are no elements.
bool IsMarkupDeclaration(const std::string& name) {
  return !name.empty() && (name[0] == '?' || name[0] == '!');
}

class TCheckedNode : public TXmlNode {
 public:
  // depth -1 is the document, 0 the root element.
  TCheckedNode(TXmlNode& target, TWellFormed& check, int depth, bool inRoot)
      : mTarget(target), mCheck(check), mDepth(depth), mInRoot(inRoot) {}

  TXmlNode* CreateChild(std::string name) override {
    const bool declaration = IsMarkupDeclaration(name);
    TXmlNode* child = mTarget.AddChild(std::move(name));
    if (mCheck.rootClosed) return child;
    const bool isRoot = mDepth < 0 && !declaration && !mCheck.root;
    if (mDepth >= 0) mHasContent = true;
    if (mDepth + 1 > kMaxDepth) mCheck.Fail("elements nested too deeply");
    mCheck.nodes.push_back(
        std::make_unique<TCheckedNode>(*child, mCheck, mDepth + 1, mInRoot || isRoot));
    TCheckedNode* node = mCheck.nodes.back().get();
    if (isRoot) {
      mCheck.root = node;
      mCheck.rootElement = child;
    }
    return node;
  }

  void EndElement(const std::string& closingToken) override {
    if (mCheck.rootClosed) return;
    if (mDepth < 0) {
      mCheck.Fail("end tag outside the root element");
      return;
    }
    if (closingToken.compare(1, std::string::npos, mTarget.GetName()) != 0)
      mCheck.Fail("mismatched end tag");
    mClosed = true;
    if (this == mCheck.root) mCheck.rootClosed = true;
  }

  void AddText(std::string_view text) override {
    if (mDepth >= 0) {
      mTarget.AddText(text);
      mHasContent = true;
    } else if (!mCheck.rootClosed) {
      mCheck.Fail("text outside the root element");
    }
  }

  void AddAttribute(std::string name, std::string value, bool quoted) override {
    mTarget.AddAttribute(std::move(name), std::move(value), quoted);
  }

  // An element with content must have been ended by its end tag; one without content may
  // have been written as "<name/>".
  bool Unterminated() const { return mInRoot && mHasContent && !mClosed; }

 private:
  TXmlNode& mTarget;
  TWellFormed& mCheck;
  int mDepth;
  bool mInRoot;
  bool mHasContent = false;
  bool mClosed = false;
};

// Parses text into document and returns its root element; null (reason in error) when the
// text is no well-formed document.
const TXmlNode* ParseLevelDocument(std::string_view text, TXmlNode& document, std::string& error) {
  TWellFormed check;
  TCheckedNode reader(document, check, -1, false);
  reader.Parse(text);
  if (check.error.empty()) {
    if (!check.root) {
      check.Fail("no root element");
    } else if (!check.rootClosed) {
      // Also "<level/>" alone: the reader does not tell it from a start tag cut short.
      check.Fail("unterminated element");
    } else {
      for (const auto& node : check.nodes)
        if (node->Unterminated()) check.Fail("unterminated element");
    }
  }
  error = check.error;
  return error.empty() ? check.rootElement : nullptr;
}

int16_t Int16Field(const std::string& text) {
  return static_cast<int16_t>(
      std::clamp<long long>(std::strtoll(text.c_str(), nullptr, 10), INT16_MIN, INT16_MAX));
}

int32_t Int32Field(const std::string& text) {
  return static_cast<int32_t>(
      std::clamp<long long>(std::strtoll(text.c_str(), nullptr, 10), INT32_MIN, INT32_MAX));
}

// Child names are compared lower-cased; unknown children are skipped and a "level" child
// is read as if its children were the root's. Numbers follow the C atoi rule.
void ApplyChildren(const TXmlNode& parent, TLevelInfo& info) {
  for (const auto& child : parent.Children()) {
    const std::string name = LowerCaseAscii(child->GetName());
    const std::string& text = child->GetText();
    if (name == "level")
      ApplyChildren(*child, info);
    else if (name == "creatorname")
      info.creatorName = text;
    else if (name == "leveltitle")
      info.title = text;
    else if (name == "leveldescription")
      info.description = text;
    else if (name == "numtiles")
      info.tileCount = Int16Field(text);
    else if (name == "numlayers")
      info.layerCount = Int16Field(text);
    else if (name == "gamedifficulty")
      info.difficulty = Int16Field(text);
    else if (name == "leveldata")
      info.layoutData = text;
    else if (name == "layoutid")
      info.layoutId = Int32Field(text);
    else if (name == "hasrated")
      info.rated = text == "1";
    else if (name == "ratinggiven")
      info.rating = Int32Field(text);
    else if (name == "isdeleted")
      info.deleted = text == "1";
  }
}

}  // namespace

// The shipped form keeps each field on one line, so it is written here rather than by
// TXmlNode::ToString, whose indented form puts every text on a line of its own.
std::string WriteLevelXml(const TLevelLayout& layout) {
  std::string data = layout.EncodeLayoutData();
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<level>\n";
  auto field = [&xml](const char* name, const std::string& value) {
    xml += "  <";
    xml += name;
    xml += ">";
    AppendXmlEscaped(xml, value, TXmlEscape::kMarkup);
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

bool ReadLevelInfo(std::string_view text, TLevelInfo& info, std::string* error) {
  TXmlNode document;
  std::string reason;
  const TXmlNode* root = ParseLevelDocument(text, document, reason);
  if (!root) {
    if (error) *error = reason;
    return false;
  }
  TLevelInfo result;
  ApplyChildren(*root, result);
  result.fileName = std::move(info.fileName);
  result.path = std::move(info.path);
  info = std::move(result);
  return true;
}

bool ReadLevelXml(std::string_view text, TLevelLayout& layout, std::string* error) {
  TLevelInfo info;
  if (!ReadLevelInfo(text, info, error)) return false;
  TLevelLayout result;
  result.creatorName = info.creatorName;
  result.title = info.title;
  result.description = info.description;
  result.difficulty = info.difficulty;
  result.layoutId = info.layoutId;
  result.DecodeLayoutData(info.layoutData);
  layout = std::move(result);
  return true;
}

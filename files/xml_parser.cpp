#include "files/xml_parser.h"

#include <vector>

#include "files/xml_node.h"

namespace {

// Declarations and comments never have content.
bool IsSpecialName(const std::string& name) {
  return name == "?xml" || name == "!DOCTYPE" || name.compare(0, 3, "!--") == 0;
}

}  // namespace

void TXmlParser::ParseInto(TXmlNode& root) {
  std::vector<TXmlNode*> open{&root};
  while (!open.empty()) {
    TXmlToken token = mTokens.Next();
    if (token.end) return;
    if (token.text.empty()) {
      // An empty quoted token ends the content of the current element.
      open.pop_back();
      continue;
    }
    if (!token.Is('<')) {
      open.back()->AddText(token.text);
      continue;
    }
    TXmlNode* opened = nullptr;
    switch (ParseTag(*open.back(), &opened)) {
      case TTagResult::kOpened:
        open.push_back(opened);
        break;
      case TTagResult::kEmpty:
        break;
      case TTagResult::kClosing:
        open.pop_back();
        break;
      case TTagResult::kExhausted:
        return;
    }
  }
}

TXmlParser::TTagResult TXmlParser::ParseTag(TXmlNode& parent, TXmlNode** opened) {
  enum { kName, kAttributeName, kAttributeValue } state = kName;
  TXmlNode* element = nullptr;
  bool closing = false;
  bool special = false;
  std::string pending;  // attribute name waiting for its value
  for (;;) {
    TXmlToken token = mTokens.Next();
    if (token.end) return TTagResult::kExhausted;
    if (token.Is('>')) break;
    if (closing) continue;  // whatever follows the name of a closing tag is ignored
    switch (state) {
      case kName:
        if (!token.text.empty() && token.text[0] == '/') {
          closing = true;
          parent.EndElement(token.text);
        } else {
          special = IsSpecialName(token.text);
          element = parent.CreateChild(std::move(token.text));
          state = kAttributeName;
        }
        break;
      case kAttributeName:
        if (token.Is('='))
          state = kAttributeValue;
        else
          pending = std::move(token.text);
        break;
      case kAttributeValue:
        element->AddAttribute(pending, std::move(token.text), token.quoted);
        state = kAttributeName;
        break;
    }
  }
  if (closing) return TTagResult::kClosing;
  if (!element || special || pending == "/" || pending == "?") return TTagResult::kEmpty;
  *opened = element;
  return TTagResult::kOpened;
}

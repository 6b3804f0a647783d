// Builds a TXmlNode tree from the tokens of one source, through the node's virtual
// CreateChild / AddText / AddAttribute / EndElement operations. Nesting is tracked with an
// explicit stack, so any depth of input is safe.
#pragma once

#include "files/xml_tokenizer.h"

class TGetChar;
class TXmlNode;

class TXmlParser {
 public:
  explicit TXmlParser(TGetChar& source) : mTokens(source) {}

  // Parses the whole source as the content of root.
  void ParseInto(TXmlNode& root);

 private:
  enum class TTagResult {
    kOpened,    // an element with content was opened: its content follows
    kEmpty,     // an element without content, or a tag that named nothing
    kClosing,   // a closing tag
    kExhausted  // the source ended inside the tag
  };

  // Reads a tag after its "<" into parent; *opened receives the element with content.
  TTagResult ParseTag(TXmlNode& parent, TXmlNode** opened);

  TXmlTokenizer mTokens;
};

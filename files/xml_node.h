// TXmlNode: the tree built by the engine's small, forgiving XML reader, and its writer.
//
// The reader is a tokenizer, not a conforming parser: text is split at white space and at
// "<", ">" and "="; an element's text is all its text tokens joined by single spaces; a
// malformed document gives whatever tree these rules build (an unclosed element ends at the
// end of the source, a stray closing tag ends the current element). Nothing is reported:
// callers detect problems by missing children or attributes. Declarations ("?xml",
// "!DOCTYPE") and comments ("!--...") become ordinary children without content.
//
// Typical use:
//   TXmlNode root;
//   root.LoadFile("levels/level_001.xml");
//   if (TXmlNode* level = root.FindChild("level")) ...
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TGetChar;

struct TXmlAttribute {
  std::string name;
  std::string value;
  bool quoted = false;  // the value was (or is to be) written in double quotes
};

class TXmlNode {
 public:
  TXmlNode() = default;
  explicit TXmlNode(std::string name) : mName(std::move(name)) {}
  virtual ~TXmlNode();
  TXmlNode(const TXmlNode&) = delete;
  TXmlNode& operator=(const TXmlNode&) = delete;

  // Parses a whole file of the virtual file system (plain text or a "ZXML" container,
  // told apart by content) into this node's children. A missing file leaves it unchanged.
  void LoadFile(const std::string& fileName);
  // Parses text (a "ZXML" container when it starts with those four bytes) into this
  // node's children. Every byte of the view is data, NUL and 255 included.
  void Parse(std::string_view text);
  // Parses the bytes of any source into this node's children.
  void Parse(TGetChar& source);

  const std::string& GetName() const { return mName; }
  const std::string& GetText() const { return mText; }
  void SetText(std::string text) { mText = std::move(text); }

  // First child of exactly this name (case-sensitive), or null.
  TXmlNode* FindChild(std::string_view name) const;
  const std::vector<std::unique_ptr<TXmlNode>>& Children() const { return mChildren; }
  // Appends a new, empty child and returns it.
  TXmlNode* AddChild(std::string name) { return CreateChild(std::move(name)); }

  // Iteration over the children: ResetChildren, then NextChild until it returns false.
  void ResetChildren() { mChildCursor = 0; }
  bool NextChild(std::string* name, TXmlNode** child);

  // Value of the first attribute of exactly this name, "" when there is none.
  std::string GetAttribute(std::string_view name, bool* quoted = nullptr) const;
  bool HasAttribute(std::string_view name) const;
  const std::vector<TXmlAttribute>& Attributes() const { return mAttributes; }
  // Changes the first attribute of this name or appends one; either way it becomes quoted.
  void SetAttribute(std::string_view name, std::string value);
  void SetAttribute(std::string_view name, int value);

  // Iteration over the attributes: ResetAttributes, then NextAttribute until false.
  void ResetAttributes() { mAttributeCursor = 0; }
  bool NextAttribute(std::string* name, std::string* value);

  // The node and its subtree as indented XML text; reading it back gives the same names,
  // values and (white-space-normalised) texts.
  std::string ToString() const;

  // Operations the reader calls while it builds the tree; a subclass may build other
  // structures by overriding them.
  virtual TXmlNode* CreateChild(std::string name);
  virtual void EndElement(const std::string& /*closingToken*/) {}
  // Appends text, after one space when there is text already.
  virtual void AddText(std::string_view text);
  // Appends an attribute record, even when one of that name exists.
  virtual void AddAttribute(std::string name, std::string value, bool quoted);

 private:
  void WriteOpening(std::string& out, const std::string& pad) const;

  std::string mName;
  std::string mText;
  std::vector<std::unique_ptr<TXmlNode>> mChildren;
  std::vector<TXmlAttribute> mAttributes;
  size_t mChildCursor = 0;
  size_t mAttributeCursor = 0;
  size_t mSizeHint = 4096;  // expected length of ToString's output
};

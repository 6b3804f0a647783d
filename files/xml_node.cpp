#include "files/xml_node.h"

#include <cstdio>

#include "files/file.h"
#include "files/get_char.h"
#include "files/xml_entities.h"
#include "files/xml_parser.h"
#include "files/zxml.h"

TXmlNode* TXmlNode::FindChild(std::string_view name) const {
  for (const auto& child : mChildren)
    if (child->mName == name) return child.get();
  return nullptr;
}

bool TXmlNode::NextChild(std::string* name, TXmlNode** child) {
  if (mChildCursor >= mChildren.size()) return false;
  TXmlNode* next = mChildren[mChildCursor++].get();
  if (name) *name = next->mName;
  if (child) *child = next;
  return true;
}

std::string TXmlNode::GetAttribute(std::string_view name, bool* quoted) const {
  for (const TXmlAttribute& attribute : mAttributes) {
    if (attribute.name == name) {
      if (quoted) *quoted = attribute.quoted;
      return attribute.value;
    }
  }
  if (quoted) *quoted = false;
  return std::string();
}

bool TXmlNode::HasAttribute(std::string_view name) const {
  for (const TXmlAttribute& attribute : mAttributes)
    if (attribute.name == name) return true;
  return false;
}

void TXmlNode::SetAttribute(std::string_view name, std::string value) {
  for (TXmlAttribute& attribute : mAttributes) {
    if (attribute.name == name) {
      attribute.value = std::move(value);
      attribute.quoted = true;
      return;
    }
  }
  mAttributes.push_back({std::string(name), std::move(value), true});
}

void TXmlNode::SetAttribute(std::string_view name, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  SetAttribute(name, std::string(text));
}

bool TXmlNode::NextAttribute(std::string* name, std::string* value) {
  if (mAttributeCursor >= mAttributes.size()) return false;
  const TXmlAttribute& next = mAttributes[mAttributeCursor++];
  if (name) *name = next.name;
  if (value) *value = next.value;
  return true;
}

TXmlNode* TXmlNode::CreateChild(std::string name) {
  mChildren.push_back(std::make_unique<TXmlNode>(std::move(name)));
  return mChildren.back().get();
}

void TXmlNode::AddText(std::string_view text) {
  if (!mText.empty()) mText += ' ';
  mText += text;
}

void TXmlNode::AddAttribute(std::string name, std::string value, bool quoted) {
  mAttributes.push_back({std::move(name), std::move(value), quoted});
}

void TXmlNode::Parse(TGetChar& source) {
  TXmlParser(source).ParseInto(*this);
}

// Trees read from outside may be nested very deeply, so destruction and writing walk the
// tree with explicit stacks instead of recursion.
TXmlNode::~TXmlNode() {
  std::vector<std::unique_ptr<TXmlNode>> pending = std::move(mChildren);
  while (!pending.empty()) {
    std::unique_ptr<TXmlNode> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->mChildren) pending.push_back(std::move(child));
    node->mChildren.clear();
  }
}

std::string TXmlNode::ToString() const {
  std::string out;
  out.reserve(mSizeHint);
  struct TFrame {
    const TXmlNode* node;
    size_t nextChild;
  };
  std::vector<TFrame> stack;
  WriteOpening(out, std::string());
  stack.push_back({this, 0});
  while (!stack.empty()) {
    TFrame& frame = stack.back();
    const std::string pad(4 * (stack.size() - 1), ' ');
    if (frame.nextChild < frame.node->mChildren.size()) {
      const TXmlNode* child = frame.node->mChildren[frame.nextChild++].get();
      child->WriteOpening(out, pad + "    ");
      stack.push_back({child, 0});
      continue;
    }
    out += pad;
    out += "</";
    AppendXmlEscaped(out, frame.node->mName);
    out += ">\n";
    stack.pop_back();
  }
  return out;
}

// Writes the opening tag with its attributes (one per line) and the text. The name is
// escaped here as in the closing tag, so that any name reads back as one token.
void TXmlNode::WriteOpening(std::string& out, const std::string& pad) const {
  out += pad;
  out += '<';
  AppendXmlEscaped(out, mName);
  for (const TXmlAttribute& attribute : mAttributes) {
    out += '\n';
    out += pad;
    out += "    ";
    AppendXmlEscaped(out, attribute.name);
    out += '=';
    if (attribute.quoted) out += '"';
    AppendXmlEscaped(out, attribute.value);
    if (attribute.quoted) out += '"';
  }
  out += ">\n";
  if (!mText.empty()) {
    out += pad;
    AppendXmlEscaped(out, mText);
    out += '\n';
  }
}

void TXmlNode::Parse(std::string_view text) {
  if (IsZxml(text.data(), text.size())) {
    std::string inflated;
    // A damaged container was logged by the unpacker and reads as empty.
    if (!UnpackZxml(text.data(), text.size(), inflated)) return;
    TGetCharString source(inflated.data(), inflated.size());
    Parse(source);
    return;
  }
  TGetCharString source(text.data(), text.size());
  Parse(source);
}

void TXmlNode::LoadFile(const std::string& fileName) {
  // Plain documents are read in text mode (carriage returns dropped); a compressed
  // container is recognised by its first four bytes and read again untranslated.
  TFile file;
  if (!file.Open(fileName, kReadText)) return;
  char magic[4] = {};
  const size_t got = file.Read(magic, sizeof magic);
  std::string text;
  if (IsZxml(magic, got)) {
    file.Close();
    if (!ReadWholeFile(fileName, text, kReadBinary)) return;
  } else {
    text.assign(magic, got);
    char buffer[16384];
    while (size_t count = file.Read(buffer, sizeof buffer)) text.append(buffer, count);
  }
  Parse(std::string_view(text));
}

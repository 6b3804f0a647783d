// Parses arbitrary bytes with the XML reader, writes the tree out and reads that back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/xml_node.h"

namespace {

size_t Depth(const TXmlNode& root) {
  size_t deepest = 0;
  std::vector<std::pair<const TXmlNode*, size_t>> stack{{&root, 0}};
  while (!stack.empty()) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    if (depth > deepest) deepest = depth;
    for (const auto& child : node->Children()) stack.push_back({child.get(), depth + 1});
  }
  return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TXmlNode root;
  root.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const auto& child : root.Children()) {
    child->GetAttribute("a");
    child->FindChild("b");
  }
  // Writing indents by depth, so only trees of sensible depth are written out.
  if (Depth(root) > 64) return 0;
  const std::string text = root.ToString();
  TXmlNode again;
  again.Parse(text);
  // The written form names every element that had a name; reading it back finds them.
  if (!root.Children().empty() && !root.Children()[0]->GetName().empty() &&
      root.Children()[0]->GetName().find_first_of(" \t\n\v\f\r") == std::string::npos &&
      again.Children().empty())
    __builtin_trap();
  again.ToString();
  return 0;
}

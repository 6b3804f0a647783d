#include "online/hiscore_xml.h"

#include <cstdlib>

#include "files/xml_entities.h"
#include "files/xml_node.h"

void AppendXmlAttribute(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendXmlEscaped(out, value);
  out += '"';
}

void AppendXmlAttribute(std::string& out, std::string_view name, int value) {
  AppendXmlAttribute(out, name, std::to_string(value));
}

void AppendXmlAttributeIfSet(std::string& out, std::string_view name, std::string_view value) {
  if (!value.empty()) AppendXmlAttribute(out, name, value);
}

int IntAttribute(const TXmlNode& node, std::string_view name) {
  const long long value = std::strtoll(node.GetAttribute(name).c_str(), nullptr, 10);
  if (value > 2147483647LL) return 2147483647;
  if (value < -2147483648LL) return -2147483647 - 1;
  return static_cast<int>(value);
}

// Small helpers for the XML texts of the high-score service: the saved file, the requests
// it sends and the responses it reads.
#pragma once

#include <string>
#include <string_view>

class TXmlNode;

// Every XML text of the service starts with this line.
inline constexpr std::string_view kHiscoreXmlHeader = "<?xml version=\"1.0\"?>\n";

// Appends ` name="value"` with the value escaped, so that any bytes read back the same.
void AppendXmlAttribute(std::string& out, std::string_view name, std::string_view value);
void AppendXmlAttribute(std::string& out, std::string_view name, int value);
// The same, but nothing when the value is empty.
void AppendXmlAttributeIfSet(std::string& out, std::string_view name, std::string_view value);

// The attribute read as a decimal integer the way atoi reads it, clamped to int; 0 when
// it is missing.
int IntAttribute(const TXmlNode& node, std::string_view name);

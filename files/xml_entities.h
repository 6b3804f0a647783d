// Character references of the XML reader and writer. Decoding knows the five named entities
// ("&amp;", "&lt;", "&gt;", "&quot;", "&apos;") and decimal references ("&#233;", taken
// modulo 256); anything else after "&" is left as it stands. Encoding writes the named
// entities and a decimal reference for every byte outside 32..127, so that decoding the
// output gives back the same bytes. The string table reuses the decoder for its cells.
#pragma once

#include <string>
#include <string_view>

// Returns text with its references replaced. *startsWithEntity (optional) tells whether
// the text began with a reference that was decoded.
std::string DecodeXmlEntities(std::string_view text, bool* startsWithEntity = nullptr);

// Which bytes AppendXmlEscaped writes as references.
enum class TXmlEscape {
  kAll,     // "&", "<", ">", '"', "'" and every byte below 32 or above 127
  kMarkup,  // only "&", "<", ">" and '"': apostrophes and UTF-8 text stay readable
};

// Appends text to out with the bytes escape names written as references.
void AppendXmlEscaped(std::string& out, std::string_view text,
                      TXmlEscape escape = TXmlEscape::kAll);

// Text inside XML documents that the service writes.
#pragma once

#include <string>
#include <string_view>

namespace tarvelo::service {

// Appends `text` escaped for element content and double-quoted attribute values:
// & < > " become entity references, a carriage return a character reference (so that it
// survives the reader's line-end normalisation). The text must be valid (see below).
void append_escaped(std::string& out, std::string_view text);

// True when `text` is well-formed UTF-8 made only of characters that XML 1.0 allows.
bool is_valid_xml_text(std::string_view text);

// The offset of the first '&' in a document that starts no character or entity reference of XML
// (a decimal or hexadecimal character reference, or one of the five predefined entities); '&' in
// comments, CDATA sections and processing instructions does not count. npos when there is none.
std::size_t find_bare_ampersand(std::string_view document);

// A short, printable rendering of untrusted text for messages: at most `limit` bytes of
// printable ASCII, anything else shown as '?', and "..." when it was cut.
std::string printable_excerpt(std::string_view text, std::size_t limit = 80);

}  // namespace tarvelo::service

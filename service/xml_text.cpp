#include "service/xml_text.h"

#include <cstdint>
#include <utility>

namespace tarvelo::service {

void append_escaped(std::string& out, std::string_view text) {
  std::size_t plain_from = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::string_view replacement;
    switch (text[i]) {
      case '&':
        replacement = "&amp;";
        break;
      case '<':
        replacement = "&lt;";
        break;
      case '>':
        replacement = "&gt;";
        break;
      case '"':
        replacement = "&quot;";
        break;
      case '\r':
        replacement = "&#13;";
        break;
      default:
        continue;
    }
    out.append(text.substr(plain_from, i - plain_from));
    out.append(replacement);
    plain_from = i + 1;
  }
  out.append(text.substr(plain_from));
}

namespace {

bool is_xml_char(std::uint32_t c) {
  if (c < 0x20) return c == 0x9 || c == 0xA || c == 0xD;
  if (c <= 0xD7FF) return true;
  if (c < 0xE000) return false;  // surrogates
  if (c <= 0xFFFD) return true;
  return c >= 0x10000 && c <= 0x10FFFF;
}

}  // namespace

bool is_valid_xml_text(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::uint32_t c = 0;
    std::size_t length = 0;
    std::uint32_t smallest = 0;  // shortest form check: overlong encodings are invalid
    if (lead < 0x80) {
      c = lead;
      length = 1;
    } else if ((lead & 0xE0) == 0xC0) {
      c = lead & 0x1Fu;
      length = 2;
      smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      c = lead & 0x0Fu;
      length = 3;
      smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      c = lead & 0x07u;
      length = 4;
      smallest = 0x10000;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3Fu);
    }
    if (c < smallest || !is_xml_char(c)) return false;
    i += length;
  }
  return true;
}

namespace {

bool is_reference(std::string_view after_ampersand) {
  const std::size_t semicolon = after_ampersand.find(';');
  if (semicolon == std::string_view::npos || semicolon == 0) return false;
  const std::string_view name = after_ampersand.substr(0, semicolon);
  if (name == "lt" || name == "gt" || name == "amp" || name == "quot" || name == "apos") {
    return true;
  }
  if (name.front() != '#' || name.size() < 2) return false;
  const bool hex = name[1] == 'x';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty()) return false;
  for (const char c : digits) {
    const bool decimal = c >= '0' && c <= '9';
    const bool hex_letter = (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!decimal && !(hex && hex_letter)) return false;
  }
  return true;
}

}  // namespace

std::size_t find_bare_ampersand(std::string_view document) {
  constexpr std::pair<std::string_view, std::string_view> kSkipped[] = {
      {"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}};
  std::size_t i = 0;
  while ((i = document.find_first_of("&<", i)) != std::string_view::npos) {
    if (document[i] == '&') {
      if (!is_reference(document.substr(i + 1))) return i;
      ++i;
      continue;
    }
    std::size_t resume = i + 1;
    for (const auto& [open, close] : kSkipped) {
      if (document.substr(i).starts_with(open)) {
        const std::size_t end = document.find(close, i + open.size());
        if (end == std::string_view::npos) return std::string_view::npos;  // left to the parser
        resume = end + close.size();
        break;
      }
    }
    i = resume;
  }
  return std::string_view::npos;
}

std::string printable_excerpt(std::string_view text, std::size_t limit) {
  std::string out;
  const bool cut = text.size() > limit;
  const std::string_view shown = cut ? text.substr(0, limit) : text;
  out.reserve(shown.size() + 3);
  for (const char ch : shown) {
    const auto c = static_cast<unsigned char>(ch);
    out.push_back(c >= 0x20 && c < 0x7F ? ch : '?');
  }
  if (cut) out.append("...");
  return out;
}

}  // namespace tarvelo::service

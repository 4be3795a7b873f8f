#include "service/media_type.h"

#include <cstring>

#include "service/http_message.h"

namespace tarvelo::service {
namespace {

bool is_token_char(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return c != '\0' && std::strchr("!#$%&'*+-.^_`|~", c) != nullptr;
}

// Takes a token from the front of `text`; empty when there is none.
std::string_view take_token(std::string_view& text) {
  std::size_t n = 0;
  while (n < text.size() && is_token_char(text[n])) ++n;
  const std::string_view token = text.substr(0, n);
  text.remove_prefix(n);
  return token;
}

// Takes a quoted string (with backslash escapes) from the front of `text`, which starts at '"'.
std::optional<std::string> take_quoted(std::string_view& text) {
  std::string value;
  std::size_t i = 1;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"') {
      text.remove_prefix(i + 1);
      return value;
    }
    if (c == '\\') {
      if (++i == text.size()) break;
    }
    value.push_back(text[i]);
    ++i;
  }
  return std::nullopt;
}

// Unquoted values are taken up to the next ';' or blank: strictly a token, but URIs such as an
// unquoted action are common, so ':' and '/' are let through as well.
std::string_view take_bare_value(std::string_view& text) {
  std::size_t n = 0;
  while (n < text.size()) {
    const auto c = static_cast<unsigned char>(text[n]);
    if (c <= 0x20 || c == 0x7F || c == ';' || c == '"') break;
    ++n;
  }
  const std::string_view value = text.substr(0, n);
  text.remove_prefix(n);
  return value;
}

}  // namespace

bool MediaType::is(std::string_view type_subtype) const {
  return equals_ignore_case(essence, type_subtype);
}

std::optional<std::string_view> MediaType::parameter(std::string_view name) const {
  for (const auto& [key, value] : parameters) {
    if (equals_ignore_case(key, name)) return std::string_view(value);
  }
  return std::nullopt;
}

std::optional<MediaType> parse_media_type(std::string_view text) {
  text = trim_blanks(text);
  const char* const start = text.data();
  if (take_token(text).empty() || text.empty() || text.front() != '/') return std::nullopt;
  text.remove_prefix(1);
  if (take_token(text).empty()) return std::nullopt;

  MediaType media;
  media.essence = std::string_view(start, static_cast<std::size_t>(text.data() - start));
  for (;;) {
    text = trim_blanks(text);
    if (text.empty()) return media;
    if (text.front() != ';') return std::nullopt;
    text.remove_prefix(1);
    text = trim_blanks(text);
    if (text.empty()) return media;  // a trailing ';' is harmless
    const std::string_view name = take_token(text);
    if (name.empty() || text.empty() || text.front() != '=') return std::nullopt;
    text.remove_prefix(1);
    std::optional<std::string> value;
    if (!text.empty() && text.front() == '"') {
      value = take_quoted(text);
    } else {
      const std::string_view bare = take_bare_value(text);
      if (!bare.empty()) value = std::string(bare);
    }
    if (!value) return std::nullopt;
    media.parameters.emplace_back(name, std::move(*value));
  }
}

}  // namespace tarvelo::service

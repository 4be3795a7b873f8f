// Content-Type values: "type/subtype" followed by parameters such as charset or action.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvelo::service {

struct MediaType {
  std::string_view essence;  // "type/subtype" as written; compare without regard to case
  std::vector<std::pair<std::string_view, std::string>> parameters;  // values unquoted

  bool is(std::string_view type_subtype) const;
  // The value of the first parameter of that name (names compare without regard to case).
  std::optional<std::string_view> parameter(std::string_view name) const;
};

// Nothing when the text is not a media type with well-formed parameters.
std::optional<MediaType> parse_media_type(std::string_view text);

}  // namespace tarvelo::service

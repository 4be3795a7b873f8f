// A raw HTTP request read into the service's request view, leniently: the request line, the
// header fields up to the empty line, and everything after it as the body. The views point into
// the text given, which the caller keeps alive.
#pragma once

#include <optional>
#include <string_view>

#include "service/http_message.h"

namespace tarvelo::fuzzing {

inline std::optional<tarvelo::service::HttpRequest> parse_raw_request(std::string_view raw) {
  tarvelo::service::HttpRequest request;
  auto next_line = [&raw]() -> std::optional<std::string_view> {
    const std::size_t end = raw.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view line = raw.substr(0, end);
    raw.remove_prefix(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  };

  const auto request_line = next_line();
  if (!request_line) return std::nullopt;
  const std::size_t first_space = request_line->find(' ');
  const std::size_t last_space = request_line->rfind(' ');
  if (first_space == std::string_view::npos || last_space == first_space) return std::nullopt;
  request.method = request_line->substr(0, first_space);
  const std::string_view target =
      request_line->substr(first_space + 1, last_space - first_space - 1);
  const std::size_t mark = target.find('?');
  request.path = target.substr(0, mark);
  if (mark != std::string_view::npos) request.query = target.substr(mark + 1);

  for (;;) {
    const auto line = next_line();
    if (!line) return std::nullopt;
    if (line->empty()) break;
    const std::size_t colon = line->find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    request.headers.emplace_back(line->substr(0, colon), line->substr(colon + 1));
  }
  request.body = raw;
  return request;
}

}  // namespace tarvelo::fuzzing

// HTTP replies and requests as raw bytes, for scripted servers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvelo_test {

// "HTTP/1.1 <status>", the header lines ("Name: value"), a Content-Length and the body.
std::string HttpReply(std::string_view status, const std::vector<std::string>& headers,
                      std::string_view body);

struct ParsedRequest {
  std::string method, target, version;
  std::vector<std::pair<std::string, std::string>> headers;  // in order, values trimmed
  std::string body;

  // The first header of that name (compared without regard to case), if any.
  std::optional<std::string> Header(std::string_view name) const;
  int HeaderCount(std::string_view name) const;
};

// The request line, the header lines, and whatever follows the blank line as the body.
ParsedRequest ParseRequest(std::string_view raw);

}  // namespace tarvelo_test

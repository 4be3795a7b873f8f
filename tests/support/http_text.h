// Building HTTP replies and reading HTTP requests as raw bytes, for scripted servers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvelo_test {

// "HTTP/1.1 <status>\r\n", each header line with "\r\n", "Content-Length: <n>\r\n\r\n", body.
// status is e.g. "200 OK"; headers are "Name: value" lines.
std::string HttpReply(std::string_view status, const std::vector<std::string>& headers,
                      std::string_view body);

// A request as it arrived.
struct ParsedRequest {
  std::string method;
  std::string target;
  std::string version;
  std::vector<std::pair<std::string, std::string>> headers;  // in order, values trimmed
  std::string body;

  // The first header of that name (case-insensitive), if any.
  std::optional<std::string> Header(std::string_view name) const;
  int HeaderCount(std::string_view name) const;
};

// Reads the request line, the header lines and whatever follows the blank line as the body.
ParsedRequest ParseRequest(std::string_view raw);

}  // namespace tarvelo_test

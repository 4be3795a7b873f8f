#include "support/http_text.h"

#include <strings.h>

#include <algorithm>
#include <sstream>

namespace tarvelo_test {
namespace {

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  return first == std::string::npos
             ? ""
             : text.substr(first, text.find_last_not_of(" \t\r") + 1 - first);
}

}  // namespace

std::string HttpReply(std::string_view status, const std::vector<std::string>& headers,
                      std::string_view body) {
  std::string reply = "HTTP/1.1 " + std::string(status) + "\r\n";
  for (const std::string& header : headers) reply += header + "\r\n";
  return reply + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
}

std::optional<std::string> ParsedRequest::Header(std::string_view name) const {
  for (const auto& [headerName, value] : headers)
    if (strcasecmp(headerName.c_str(), std::string(name).c_str()) == 0) return value;
  return std::nullopt;
}

int ParsedRequest::HeaderCount(std::string_view name) const {
  return static_cast<int>(std::count_if(headers.begin(), headers.end(), [&](const auto& header) {
    return strcasecmp(header.first.c_str(), std::string(name).c_str()) == 0;
  }));
}

ParsedRequest ParseRequest(std::string_view raw) {
  ParsedRequest request;
  const std::size_t headEnd = std::min(raw.find("\r\n\r\n"), raw.size());
  if (headEnd < raw.size()) request.body = raw.substr(headEnd + 4);
  std::istringstream head{std::string(raw.substr(0, headEnd))};
  std::string line;
  std::getline(head, line);
  std::istringstream(line) >> request.method >> request.target >> request.version;
  while (std::getline(head, line)) {
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos)
      request.headers.emplace_back(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
  }
  return request;
}

}  // namespace tarvelo_test

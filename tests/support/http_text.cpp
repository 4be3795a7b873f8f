#include "support/http_text.h"

#include <algorithm>

namespace tarvelo_test {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string HttpReply(std::string_view status, const std::vector<std::string>& headers,
                      std::string_view body) {
  std::string reply = "HTTP/1.1 ";
  reply += status;
  reply += "\r\n";
  for (const auto& header : headers) reply += header + "\r\n";
  reply += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  reply += body;
  return reply;
}

std::optional<std::string> ParsedRequest::Header(std::string_view name) const {
  for (const auto& [headerName, value] : headers)
    if (SameName(headerName, name)) return value;
  return std::nullopt;
}

int ParsedRequest::HeaderCount(std::string_view name) const {
  return static_cast<int>(std::count_if(headers.begin(), headers.end(), [&](const auto& header) {
    return SameName(header.first, name);
  }));
}

ParsedRequest ParseRequest(std::string_view raw) {
  ParsedRequest request;
  const std::size_t headEnd = raw.find("\r\n\r\n");
  const std::string_view head = raw.substr(0, headEnd);
  if (headEnd != std::string_view::npos) request.body = raw.substr(headEnd + 4);

  std::size_t lineStart = 0;
  bool first = true;
  while (lineStart <= head.size()) {
    const std::size_t lineEnd = std::min(head.find("\r\n", lineStart), head.size());
    const std::string_view line = head.substr(lineStart, lineEnd - lineStart);
    if (first) {
      const std::size_t space1 = line.find(' ');
      const std::size_t space2 = line.find(' ', space1 + 1);
      request.method = line.substr(0, space1);
      if (space1 != std::string_view::npos)
        request.target = line.substr(space1 + 1, space2 - space1 - 1);
      if (space2 != std::string_view::npos) request.version = line.substr(space2 + 1);
      first = false;
    } else if (const std::size_t colon = line.find(':'); colon != std::string_view::npos) {
      request.headers.emplace_back(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
    }
    lineStart = lineEnd + 2;
  }
  return request;
}

}  // namespace tarvelo_test

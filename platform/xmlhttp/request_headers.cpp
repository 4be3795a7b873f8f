#include "request_headers.h"

#include <algorithm>

#include "ascii_case.h"

namespace xmlhttp {
namespace {

bool IsTokenChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

bool IsHttpToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenChar);
}

HeaderProblem CheckRequestHeader(std::string_view name, std::string_view value) {
  if (!IsHttpToken(name)) return HeaderProblem::kBadName;
  if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
    return HeaderProblem::kBadValue;
  if (ascii::EqualsIgnoringCase(name, "Content-Length") ||
      ascii::EqualsIgnoringCase(name, "Transfer-Encoding"))
    return HeaderProblem::kReservedName;
  return HeaderProblem::kNone;
}

void RequestHeaders::Set(std::string_view name, std::string_view value) {
  value = TrimBlanks(value);
  for (auto& [existingName, existingValue] : headers_)
    if (ascii::EqualsIgnoringCase(existingName, name)) {
      existingValue += ", ";
      existingValue += value;
      return;
    }
  headers_.emplace_back(name, value);
}

bool RequestHeaders::Has(std::string_view name) const {
  return std::any_of(headers_.begin(), headers_.end(), [&](const auto& header) {
    return ascii::EqualsIgnoringCase(header.first, name);
  });
}

std::vector<std::string> RequestHeaders::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(headers_.size());
  for (const auto& [name, value] : headers_)
    lines.push_back(value.empty() ? name + ";" : name + ": " + value);
  return lines;
}

}  // namespace xmlhttp

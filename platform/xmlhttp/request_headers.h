// The headers a caller adds to a request, checked so that nothing can be injected into the
// request's framing.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xmlhttp {

enum class HeaderProblem {
  kNone,
  kBadName,       // empty, or not an HTTP token (CR, LF, NUL, space, ':' ...)
  kBadValue,      // holds CR, LF or NUL
  kReservedName,  // Content-Length and Transfer-Encoding are the component's own
};

// A non-empty run of the characters HTTP allows in names and methods.
bool IsHttpToken(std::string_view text);

// Name and value in UTF-8.
HeaderProblem CheckRequestHeader(std::string_view name, std::string_view value);

class RequestHeaders {
 public:
  // Adds a checked header; a name set before (in any case) gets ", " and the new value.
  // Blanks around the value are dropped.
  void Set(std::string_view name, std::string_view value);
  bool Has(std::string_view name) const;
  void Clear() { headers_.clear(); }

  // The headers as "Name: value" lines (an empty value as "Name;", so that it is still sent).
  std::vector<std::string> Lines() const;

 private:
  std::vector<std::pair<std::string, std::string>> headers_;
};

}  // namespace xmlhttp

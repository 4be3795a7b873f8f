// Reading the parts of an absolute http or https URL.
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace xmlhttp {

struct HttpUrl {
  std::string scheme;  // "http" or "https", lower case
  std::string host;    // without brackets for IPv6 addresses
  std::string port;    // explicit or the scheme's default
  std::string target;  // path and query, as sent in the request line
};

enum class UrlProblem { kMalformed, kUnsupportedScheme };

std::variant<HttpUrl, UrlProblem> ParseHttpUrl(std::string_view url);

}  // namespace xmlhttp

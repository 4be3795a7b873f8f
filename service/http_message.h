// An HTTP request and reply as the request handling sees them, free of any socket library.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvelo::service {

using HeaderView = std::pair<std::string_view, std::string_view>;

// Views only: whoever builds the request keeps the text it points into alive.
struct HttpRequest {
  std::string_view method;
  std::string_view path;   // the target up to '?'
  std::string_view query;  // the target after '?', empty without one
  std::vector<HeaderView> headers;
  std::string_view body;
};

struct HttpReply {
  int status = 200;
  std::string content_type;
  std::string body;
  // Fields besides Content-Type and Content-Length, which the server writes itself.
  std::vector<std::pair<std::string, std::string>> headers;
};

// The fields of one name, compared without regard to case: how many there are and the first value
// with optional white space around it removed.
struct HeaderField {
  std::size_t count = 0;
  std::string_view value;
};
HeaderField find_header(const std::vector<HeaderView>& headers, std::string_view name);

bool equals_ignore_case(std::string_view a, std::string_view b);
std::string_view trim_blanks(std::string_view text);

// A refusal in plain text; the message ends with a line break.
HttpReply plain_reply(int status, std::string_view message);

}  // namespace tarvelo::service

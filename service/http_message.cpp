#include "service/http_message.h"

namespace tarvelo::service {
namespace {

char lower_ascii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

bool equals_ignore_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower_ascii(a[i]) != lower_ascii(b[i])) return false;
  }
  return true;
}

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

HeaderField find_header(const std::vector<HeaderView>& headers, std::string_view name) {
  HeaderField field;
  for (const auto& [key, value] : headers) {
    if (!equals_ignore_case(key, name)) continue;
    if (field.count++ == 0) field.value = trim_blanks(value);
  }
  return field;
}

HttpReply plain_reply(int status, std::string_view message) {
  HttpReply reply;
  reply.status = status;
  reply.content_type = "text/plain; charset=utf-8";
  reply.body.reserve(message.size() + 1);
  reply.body.append(message);
  reply.body.push_back('\n');
  return reply;
}

}  // namespace tarvelo::service

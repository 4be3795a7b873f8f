// The service's request handling on raw requests, with no socket: every request gets a reply of
// a status the service uses, SOAP and WSDL replies are well-formed XML, plain refusals are
// text lines, the early screening agrees with the full handling, and no call reaches the
// operation without exactly the right credentials.
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "raw_request.h"
#include "service/request_handler.h"

namespace {

using tarvelo::service::HttpReply;
using tarvelo::service::HttpRequest;
using tarvelo::service::Settings;

bool equals_ignore_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The one spelling of tolvex / kqv=47 that may pass: "Basic", a blank, then the base64 text,
// with blanks and tabs around it.
bool carries_the_credentials(const HttpRequest& request) {
  int count = 0;
  std::string_view value;
  for (const auto& [name, field] : request.headers) {
    if (equals_ignore_case(name, "Authorization")) {
      ++count;
      value = trimmed(field);
    }
  }
  return count == 1 && value.size() > 6 && equals_ignore_case(value.substr(0, 5), "Basic") &&
         value[5] == ' ' && trimmed(value.substr(6)) == "dG9sdmV4Omtxdj00Nw==";
}

std::string describe(const HttpReply& reply) {
  return std::to_string(reply.status) + " " + reply.content_type + "\n" + reply.body.substr(0, 300);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string raw(reinterpret_cast<const char*>(bytes), size);
  const auto parsed = tarvelo::fuzzing::parse_raw_request(raw);
  if (!parsed) return 0;
  const HttpRequest& request = *parsed;
  Settings settings;
  settings.service_namespace = "http://tempuri.org/";
  settings.max_body = 2048;  // small, so that bodies over the limit are reached too

  HttpReply reply;
  try {
    reply = tarvelo::service::handle_request(request, settings);
  } catch (...) {
    FUZZ_CHECK(false, "handle_request threw");
  }

  const int status = reply.status;
  FUZZ_CHECK(status == 200 || status == 400 || status == 401 || status == 404 || status == 405 ||
                 status == 413 || status == 415 || status == 500,
             describe(reply));

  HttpRequest head = request;
  head.body = {};
  const auto screened = tarvelo::service::screen_request(head, settings);
  if (screened) {
    FUZZ_CHECK(screened->status == status,
               "screened " + std::to_string(screened->status) + ", handled " + describe(reply));
  }

  const std::string_view type = reply.content_type;
  if (type.starts_with("text/plain")) {
    FUZZ_CHECK(!reply.body.empty() && reply.body.back() == '\n', describe(reply));
  } else {
    FUZZ_CHECK(type.starts_with("application/soap+xml") || type.starts_with("text/xml"),
               describe(reply));
    pugi::xml_document document;
    const pugi::xml_parse_result read = document.load_buffer(reply.body.data(), reply.body.size());
    FUZZ_CHECK(read, std::string(read.description()) + "\n" + describe(reply));
  }

  // A call is answered with 200 by the operation only; refusals and faults have other statuses
  // (and may quote what the request sent, so their bodies prove nothing).
  if (request.method == "POST" && status == 200) {
    FUZZ_CHECK(reply.body.find("<simpleMethodResult>Hello ") != std::string::npos, describe(reply));
    FUZZ_CHECK(carries_the_credentials(request),
               "a call reached the operation: " + describe(reply));
    FUZZ_CHECK(request.body.size() <= settings.max_body, "a body over the limit was read");
  }
  return 0;
}

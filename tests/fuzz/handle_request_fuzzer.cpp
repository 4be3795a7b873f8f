// The service's request handling on raw requests, with no socket: every reply has a status the
// service uses, SOAP and WSDL replies are well-formed XML, plain refusals end with a line break,
// the early screening agrees with the full handling, and only a call with exactly the right
// credentials and a body within the limit reaches the operation.
#include <pugixml.hpp>
#include <set>

#include "fuzz_check.h"
#include "raw_request.h"
#include "service/request_handler.h"

using namespace tarvelo::service;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const auto request =
      tarvelo::fuzzing::parse_raw_request({reinterpret_cast<const char*>(bytes), size});
  if (!request) return 0;
  Settings settings;
  settings.service_namespace = "http://tempuri.org/";
  settings.max_body = 2048;  // small, so that bodies over the limit are reached too
  const HttpReply reply = handle_request(*request, settings);
  const std::string what =
      std::to_string(reply.status) + " " + reply.content_type + "\n" + reply.body.substr(0, 300);
  fuzz_check(std::set<int>({200, 400, 401, 404, 405, 413, 415, 500}).count(reply.status), what);

  HttpRequest head = *request;
  head.body = {};
  if (const auto screened = screen_request(head, settings)) {
    fuzz_check(screened->status == reply.status, "screened " + std::to_string(screened->status));
  }

  if (reply.content_type.starts_with("text/plain")) {
    fuzz_check(reply.body.ends_with('\n'), what);
  } else {
    fuzz_check(reply.content_type.starts_with("application/soap+xml") ||
                   reply.content_type.starts_with("text/xml"),
               what);
    pugi::xml_document document;
    fuzz_check(document.load_buffer(reply.body.data(), reply.body.size()), what);
  }

  // Only the operation answers a call with 200. The right credentials: "Basic", one blank and the
  // base64 of tolvex:kqv=47, alone in their field, blanks around them allowed.
  if (request->method == "POST" && reply.status == 200) {
    const HeaderField authorization = find_header(request->headers, "Authorization");
    const std::string_view value = authorization.value;
    fuzz_check(reply.body.find("<simpleMethodResult>Hello ") != std::string::npos, what);
    fuzz_check(authorization.count == 1 && equals_ignore_case(value.substr(0, 6), "basic ") &&
                   trim_blanks(value.substr(6)) == "dG9sdmV4Omtxdj00Nw==",
               "a call reached the operation: " + what);
    fuzz_check(request->body.size() <= settings.max_body, "a body over the limit was read");
  }
  return 0;
}

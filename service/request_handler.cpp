#include "service/request_handler.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "service/basic_auth.h"
#include "service/media_type.h"
#include "service/soap_envelope.h"
#include "service/soap_reply.h"
#include "service/wsdl.h"
#include "service/xml_text.h"

namespace tarvelo::service {
namespace {

bool is_read_method(std::string_view method) {
  return method == "GET" || method == "HEAD";
}

HttpReply refuse_method(std::string_view method) {
  HttpReply reply = plain_reply(405, "The method " + printable_excerpt(method, 20) +
                                         " is not allowed here: POST a SOAP call, or GET ?wsdl");
  reply.headers.emplace_back("Allow", "GET, HEAD, POST");
  return reply;
}

HttpReply refuse_credentials(AuthVerdict verdict) {
  std::string_view message;
  switch (verdict) {
    case AuthVerdict::missing:
      message = "Authentication required: send the user name and password by HTTP Basic";
      break;
    case AuthVerdict::malformed:
      message =
          "The Authorization header is malformed: expected \"Basic\", a space and the "
          "base64 of user:password";
      break;
    default:
      message = "The user name or the password is wrong";
      break;
  }
  HttpReply reply = plain_reply(401, message);
  reply.headers.emplace_back("WWW-Authenticate", R"(Basic realm="tarvelo")");
  return reply;
}

HttpReply refuse_length(std::string_view why) {
  return plain_reply(400, why);
}

// The declared body length, or a refusal of a malformed or ambiguous declaration.
std::variant<std::uint64_t, HttpReply> declared_length(const HttpRequest& request) {
  const HeaderField length = find_header(request.headers, "Content-Length");
  const HeaderField coding = find_header(request.headers, "Transfer-Encoding");
  if (coding.count > 0) {
    if (length.count > 0) {
      return refuse_length("A request may not carry both Content-Length and Transfer-Encoding");
    }
    if (coding.count > 1 || !equals_ignore_case(coding.value, "chunked")) {
      return refuse_length("The only transfer coding accepted is chunked");
    }
    return std::uint64_t{0};
  }
  if (length.count == 0) return std::uint64_t{0};
  std::uint64_t value = 0;
  const char* const end = length.value.data() + length.value.size();
  const auto [stop, error] = std::from_chars(length.value.data(), end, value);
  if (length.count > 1 || length.value.empty() || error != std::errc{} || stop != end) {
    return refuse_length("The Content-Length header is malformed");
  }
  return value;
}

HttpReply refuse_size(std::uint64_t size, std::size_t limit) {
  return plain_reply(413, "The request body of " + std::to_string(size) +
                              " bytes is larger than this service accepts (" +
                              std::to_string(limit) + " bytes)");
}

struct SoapMediaType {
  SoapVersion version = SoapVersion::soap12;
  std::optional<std::string> action;  // the action parameter of application/soap+xml
};

// Which SOAP version the request speaks, judged by its Content-Type; a 415 for anything else.
std::variant<SoapMediaType, HttpReply> soap_media_type(const HttpRequest& request) {
  const HeaderField field = find_header(request.headers, "Content-Type");
  const std::optional<MediaType> media =
      field.count == 1 ? parse_media_type(field.value) : std::nullopt;
  SoapMediaType soap;
  if (media && media->is("application/soap+xml")) {
    soap.version = SoapVersion::soap12;
    if (const auto action = media->parameter("action")) soap.action = std::string(*action);
  } else if (media && media->is("text/xml")) {
    soap.version = SoapVersion::soap11;
  } else {
    return plain_reply(415, "The content type " +
                                (field.count == 0 ? std::string("(none)")
                                                  : '"' + printable_excerpt(field.value) + '"') +
                                " is not SOAP: send SOAP 1.2 as application/soap+xml or SOAP 1.1"
                                " as text/xml");
  }
  if (const auto charset = media->parameter("charset")) {
    if (!equals_ignore_case(*charset, "utf-8") && !equals_ignore_case(*charset, "us-ascii")) {
      return plain_reply(
          415, "The charset \"" + printable_excerpt(*charset) + "\" is not accepted: send UTF-8");
    }
  }
  return soap;
}

std::string_view unquoted(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// A call names its action in the SOAPAction header (SOAP 1.1, where the header is required) or in
// the action parameter (SOAP 1.2, optional). An empty action leaves the choice to the Body.
std::optional<SoapFault> check_action(const HttpRequest& request, const SoapMediaType& media,
                                      std::string_view service_namespace) {
  std::string_view action;
  if (media.version == SoapVersion::soap11) {
    const HeaderField field = find_header(request.headers, "SOAPAction");
    if (field.count != 1) {
      return SoapFault{FaultCode::sender, "a SOAP 1.1 call needs exactly one SOAPAction header"};
    }
    action = unquoted(field.value);
  } else if (media.action) {
    action = *media.action;
  }
  const std::string expected = operation_action(service_namespace);
  if (action.empty() || action == expected) return std::nullopt;
  return SoapFault{FaultCode::sender, "the action \"" + printable_excerpt(action) +
                                          "\" is not an operation of this service; simpleMethod's"
                                          " action is \"" +
                                          printable_excerpt(expected) + "\""};
}

HttpReply soap_reply(SoapVersion version, int status, std::string body) {
  HttpReply reply;
  reply.status = status;
  reply.content_type = std::string(soap_content_type(version));
  reply.body = std::move(body);
  return reply;
}

HttpReply fault_reply(SoapVersion version, const SoapFault& fault) {
  return soap_reply(version, fault_http_status(version, fault.code),
                    fault_envelope(version, fault));
}

HttpReply answer_call(const HttpRequest& request, const Settings& settings,
                      const SoapMediaType& media) {
  if (std::optional<SoapFault> refusal = check_action(request, media, settings.service_namespace)) {
    return fault_reply(media.version, *refusal);
  }
  const EnvelopeReading reading =
      read_request_envelope(request.body, media.version, settings.service_namespace);
  if (const auto* refusal = std::get_if<SoapFault>(&reading)) {
    return fault_reply(media.version, *refusal);
  }
  const auto& call = std::get<SimpleMethodCall>(reading);
  return soap_reply(media.version, 200,
                    simple_method_response(media.version, settings.service_namespace, call.srt));
}

HttpReply answer_read(const HttpRequest& request, const Settings& settings) {
  if (!equals_ignore_case(request.query, "wsdl")) {
    return plain_reply(200,
                       "tarvelo-service answers simpleMethod here: POST SOAP 1.2 as "
                       "application/soap+xml or SOAP 1.1 as text/xml, with HTTP Basic "
                       "credentials. Its description is at ?wsdl");
  }
  const HeaderField host = find_header(request.headers, "Host");
  if (host.count != 1 || !is_valid_authority(host.value)) {
    return plain_reply(400,
                       "The description names this service's address from the Host header: "
                       "send exactly one valid Host");
  }
  HttpReply reply;
  reply.content_type = "text/xml; charset=utf-8";
  reply.body = service_description(settings.service_namespace, host.value);
  return reply;
}

}  // namespace

std::optional<HttpReply> screen_request(const HttpRequest& request, const Settings& settings) {
  if (request.path != kServicePath) {
    return plain_reply(404,
                       "Not found: this service answers at " + std::string(kServicePath) + " only");
  }
  if (is_read_method(request.method)) return std::nullopt;
  if (request.method != "POST") return refuse_method(request.method);

  auto length = declared_length(request);
  if (auto* refusal = std::get_if<HttpReply>(&length)) return std::move(*refusal);
  if (std::get<std::uint64_t>(length) > settings.max_body) {
    return refuse_size(std::get<std::uint64_t>(length), settings.max_body);
  }
  const AuthVerdict verdict = check_basic_credentials(find_header(request.headers, "Authorization"),
                                                      settings.user, settings.password);
  if (verdict != AuthVerdict::accepted) return refuse_credentials(verdict);

  auto media = soap_media_type(request);
  if (auto* refusal = std::get_if<HttpReply>(&media)) return std::move(*refusal);
  return std::nullopt;
}

HttpReply handle_request(const HttpRequest& request, const Settings& settings) {
  SoapVersion version = SoapVersion::soap12;
  try {
    if (std::optional<HttpReply> refusal = screen_request(request, settings)) return *refusal;
    if (is_read_method(request.method)) return answer_read(request, settings);
    if (request.body.size() > settings.max_body) {
      return refuse_size(request.body.size(), settings.max_body);
    }
    const auto media = std::get<SoapMediaType>(soap_media_type(request));
    version = media.version;
    return answer_call(request, settings, media);
  } catch (...) {
  }
  try {
    return fault_reply(
        version, SoapFault{FaultCode::receiver, "the service failed while it answered; try again"});
  } catch (...) {
    HttpReply bare;  // allocates nothing
    bare.status = 500;
    return bare;
  }
}

}  // namespace tarvelo::service

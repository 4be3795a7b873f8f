// Reading a request envelope: which operation it calls and with what, or why it is refused.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "service/soap_protocol.h"

namespace tarvelo::service {

struct SimpleMethodCall {
  std::string srt;  // valid UTF-8 of XML characters; empty when the parameter is absent
};

using EnvelopeReading = std::variant<SimpleMethodCall, SoapFault>;

// Reads `body` as an envelope of `version` that calls simpleMethod in `service_namespace`.
// Malformed XML, anything but an envelope, an unknown operation or a header block that must be
// understood become the fault to answer with.
EnvelopeReading read_request_envelope(std::string_view body, SoapVersion version,
                                      std::string_view service_namespace);

}  // namespace tarvelo::service

// The envelopes the service answers with: the operation's result and faults.
#pragma once

#include <string>
#include <string_view>

#include "service/soap_protocol.h"

namespace tarvelo::service {

// "application/soap+xml; charset=utf-8" for SOAP 1.2, "text/xml; charset=utf-8" for SOAP 1.1.
std::string_view soap_content_type(SoapVersion version);

// The reply to simpleMethod: its result is "Hello " followed by `srt`. The result element
// carries neither a prefix nor attributes, so that it can be found as plain text.
std::string simple_method_response(SoapVersion version, std::string_view service_namespace,
                                   std::string_view srt);

std::string fault_envelope(SoapVersion version, const SoapFault& fault);

// SOAP 1.2: 400 for the sender's faults, 500 for the rest. SOAP 1.1: 500 for every fault.
int fault_http_status(SoapVersion version, FaultCode code);

}  // namespace tarvelo::service

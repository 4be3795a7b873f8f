// The service description that ordinary SOAP clients read before they call.
#pragma once

#include <string>
#include <string_view>

namespace tarvelo::service {

// True for a Host field value that can stand as the authority of an http URL.
bool is_valid_authority(std::string_view host);

// A WSDL 1.1 document for simpleMethod (document/literal, one string in, one string out) with a
// SOAP 1.1 and a SOAP 1.2 binding, both at "http://" + `authority` + the service path.
std::string service_description(std::string_view service_namespace, std::string_view authority);

}  // namespace tarvelo::service

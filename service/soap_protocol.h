// The two SOAP versions the service speaks, their faults and the one operation it offers.
#pragma once

#include <string>
#include <string_view>

namespace tarvelo::service {

enum class SoapVersion { soap11, soap12 };

inline constexpr std::string_view kSoap11EnvelopeNamespace =
    "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr std::string_view kSoap12EnvelopeNamespace =
    "http://www.w3.org/2003/05/soap-envelope";

inline constexpr std::string_view envelope_namespace(SoapVersion version) {
  return version == SoapVersion::soap12 ? kSoap12EnvelopeNamespace : kSoap11EnvelopeNamespace;
}

inline constexpr std::string_view version_name(SoapVersion version) {
  return version == SoapVersion::soap12 ? "SOAP 1.2" : "SOAP 1.1";
}

// Who is to blame. The SOAP 1.1 names are Client and Server for sender and receiver.
enum class FaultCode { version_mismatch, must_understand, sender, receiver };

struct SoapFault {
  FaultCode code = FaultCode::sender;
  std::string reason;
};

inline constexpr std::string_view kOperationName = "simpleMethod";
inline constexpr std::string_view kParameterName = "srt";
inline constexpr std::string_view kResponseName = "simpleMethodResponse";
inline constexpr std::string_view kResultName = "simpleMethodResult";

// The action URI of simpleMethod: the namespace and the operation's name, with a '/' between
// them unless the namespace ends in one.
inline std::string operation_action(std::string_view service_namespace) {
  std::string action(service_namespace);
  if (action.empty() || action.back() != '/') action.push_back('/');
  action.append(kOperationName);
  return action;
}

}  // namespace tarvelo::service

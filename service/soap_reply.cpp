#include "service/soap_reply.h"

#include "service/xml_text.h"

namespace tarvelo::service {
namespace {

constexpr std::string_view kDeclaration = R"(<?xml version="1.0" encoding="utf-8"?>)";

void open_envelope(std::string& out, SoapVersion version) {
  out.append(kDeclaration);
  out.append(R"(<soap:Envelope xmlns:soap=")");
  out.append(envelope_namespace(version));
  out.append(R"(" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")");
  out.append(R"( xmlns:xsd="http://www.w3.org/2001/XMLSchema">)");
}

constexpr std::string_view kCloseEnvelope = "</soap:Body></soap:Envelope>";

std::string_view code_name(SoapVersion version, FaultCode code) {
  switch (code) {
    case FaultCode::version_mismatch:
      return "soap:VersionMismatch";
    case FaultCode::must_understand:
      return "soap:MustUnderstand";
    case FaultCode::sender:
      return version == SoapVersion::soap12 ? "soap:Sender" : "soap:Client";
    case FaultCode::receiver:
      return version == SoapVersion::soap12 ? "soap:Receiver" : "soap:Server";
  }
  return "soap:Receiver";
}

// A SOAP 1.2 node that refuses an envelope's version says which envelopes it does accept.
constexpr std::string_view kUpgradeHeader =
    R"(<soap:Header><soap:Upgrade>)"
    R"(<soap:SupportedEnvelope qname="v12:Envelope" xmlns:v12="http://www.w3.org/2003/05/soap-envelope"/>)"
    R"(<soap:SupportedEnvelope qname="v11:Envelope" xmlns:v11="http://schemas.xmlsoap.org/soap/envelope/"/>)"
    R"(</soap:Upgrade></soap:Header>)";

}  // namespace

std::string_view soap_content_type(SoapVersion version) {
  return version == SoapVersion::soap12 ? "application/soap+xml; charset=utf-8"
                                        : "text/xml; charset=utf-8";
}

std::string simple_method_response(SoapVersion version, std::string_view service_namespace,
                                   std::string_view srt) {
  std::string out;
  out.reserve(400 + service_namespace.size() + srt.size() + srt.size() / 4);
  open_envelope(out, version);
  out.append(R"(<soap:Body><simpleMethodResponse xmlns=")");
  append_escaped(out, service_namespace);
  out.append(R"("><simpleMethodResult>Hello )");
  append_escaped(out, srt);
  out.append("</simpleMethodResult></simpleMethodResponse>");
  out.append(kCloseEnvelope);
  return out;
}

std::string fault_envelope(SoapVersion version, const SoapFault& fault) {
  std::string out;
  out.reserve(600 + fault.reason.size());
  open_envelope(out, version);
  if (version == SoapVersion::soap12 && fault.code == FaultCode::version_mismatch) {
    out.append(kUpgradeHeader);
  }
  out.append("<soap:Body><soap:Fault>");
  if (version == SoapVersion::soap12) {
    out.append("<soap:Code><soap:Value>");
    out.append(code_name(version, fault.code));
    out.append(R"(</soap:Value></soap:Code><soap:Reason><soap:Text xml:lang="en">)");
    append_escaped(out, fault.reason);
    out.append("</soap:Text></soap:Reason>");
  } else {
    out.append("<faultcode>");
    out.append(code_name(version, fault.code));
    out.append("</faultcode><faultstring>");
    append_escaped(out, fault.reason);
    out.append("</faultstring>");
  }
  out.append("</soap:Fault>");
  out.append(kCloseEnvelope);
  return out;
}

int fault_http_status(SoapVersion version, FaultCode code) {
  return version == SoapVersion::soap12 && code == FaultCode::sender ? 400 : 500;
}

}  // namespace tarvelo::service

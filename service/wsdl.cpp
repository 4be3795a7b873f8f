#include "service/wsdl.h"

#include "service/settings.h"
#include "service/soap_protocol.h"
#include "service/xml_text.h"

namespace tarvelo::service {

bool is_valid_authority(std::string_view host) {
  if (host.empty() || host.size() > 255) return false;
  for (const char c : host) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum && std::string_view("-._~!$&'()*+,;=:[]%").find(c) == std::string_view::npos) {
      return false;
    }
  }
  return true;
}

namespace {

// Appends `text` with every "$NS", "$ACTION" and "$ADDRESS" replaced by the escaped value.
void expand(std::string& out, std::string_view text, std::string_view ns, std::string_view action,
            std::string_view address) {
  while (!text.empty()) {
    const std::size_t mark = text.find('$');
    out.append(text.substr(0, mark));
    if (mark == std::string_view::npos) return;
    text.remove_prefix(mark);
    bool expanded = false;
    for (const auto& [name, value] :
         {std::pair{std::string_view("$NS"), ns}, std::pair{std::string_view("$ACTION"), action},
          std::pair{std::string_view("$ADDRESS"), address}}) {
      if (text.starts_with(name)) {
        append_escaped(out, value);
        text.remove_prefix(name.size());
        expanded = true;
        break;
      }
    }
    if (!expanded) {
      out.push_back('$');
      text.remove_prefix(1);
    }
  }
}

constexpr std::string_view kTemplate = R"(<?xml version="1.0" encoding="utf-8"?>
<wsdl:definitions xmlns:wsdl="http://schemas.xmlsoap.org/wsdl/" xmlns:soap="http://schemas.xmlsoap.org/wsdl/soap/" xmlns:soap12="http://schemas.xmlsoap.org/wsdl/soap12/" xmlns:s="http://www.w3.org/2001/XMLSchema" xmlns:tns="$NS" targetNamespace="$NS">
  <wsdl:types>
    <s:schema elementFormDefault="qualified" targetNamespace="$NS">
      <s:element name="simpleMethod">
        <s:complexType>
          <s:sequence>
            <s:element minOccurs="0" maxOccurs="1" name="srt" type="s:string"/>
          </s:sequence>
        </s:complexType>
      </s:element>
      <s:element name="simpleMethodResponse">
        <s:complexType>
          <s:sequence>
            <s:element minOccurs="0" maxOccurs="1" name="simpleMethodResult" type="s:string"/>
          </s:sequence>
        </s:complexType>
      </s:element>
    </s:schema>
  </wsdl:types>
  <wsdl:message name="simpleMethodSoapIn">
    <wsdl:part name="parameters" element="tns:simpleMethod"/>
  </wsdl:message>
  <wsdl:message name="simpleMethodSoapOut">
    <wsdl:part name="parameters" element="tns:simpleMethodResponse"/>
  </wsdl:message>
  <wsdl:portType name="ServiceSoap">
    <wsdl:operation name="simpleMethod">
      <wsdl:input message="tns:simpleMethodSoapIn"/>
      <wsdl:output message="tns:simpleMethodSoapOut"/>
    </wsdl:operation>
  </wsdl:portType>
  <wsdl:binding name="ServiceSoap" type="tns:ServiceSoap">
    <soap:binding transport="http://schemas.xmlsoap.org/soap/http"/>
    <wsdl:operation name="simpleMethod">
      <soap:operation soapAction="$ACTION" style="document"/>
      <wsdl:input>
        <soap:body use="literal"/>
      </wsdl:input>
      <wsdl:output>
        <soap:body use="literal"/>
      </wsdl:output>
    </wsdl:operation>
  </wsdl:binding>
  <wsdl:binding name="ServiceSoap12" type="tns:ServiceSoap">
    <soap12:binding transport="http://schemas.xmlsoap.org/soap/http"/>
    <wsdl:operation name="simpleMethod">
      <soap12:operation soapAction="$ACTION" style="document"/>
      <wsdl:input>
        <soap12:body use="literal"/>
      </wsdl:input>
      <wsdl:output>
        <soap12:body use="literal"/>
      </wsdl:output>
    </wsdl:operation>
  </wsdl:binding>
  <wsdl:service name="Service">
    <wsdl:port name="ServiceSoap" binding="tns:ServiceSoap">
      <soap:address location="$ADDRESS"/>
    </wsdl:port>
    <wsdl:port name="ServiceSoap12" binding="tns:ServiceSoap12">
      <soap12:address location="$ADDRESS"/>
    </wsdl:port>
  </wsdl:service>
</wsdl:definitions>
)";

}  // namespace

std::string service_description(std::string_view service_namespace, std::string_view authority) {
  const std::string action = operation_action(service_namespace);
  std::string address = "http://";
  address.append(authority);
  address.append(kServicePath);

  std::string out;
  out.reserve(kTemplate.size() + 4 * service_namespace.size() + 2 * address.size());
  expand(out, kTemplate, service_namespace, action, address);
  return out;
}

}  // namespace tarvelo::service

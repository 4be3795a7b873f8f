// Envelopes the service cannot carry out are answered with SOAP faults, well-formed and telling.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "request_builder.h"
#include "service/soap_protocol.h"
#include "service/soap_reply.h"

namespace tarvelo::service {
namespace {

using testing::RequestBuilder;
using testing::soap11_envelope;
using testing::tool_envelope;

const std::string kEnv12 = R"(xmlns:e="http://www.w3.org/2003/05/soap-envelope")";
const std::string kEnv11 = R"(xmlns:e="http://schemas.xmlsoap.org/soap/envelope/")";

std::string envelope(const std::string& ns_declaration, const std::string& inside) {
  return "<e:Envelope " + ns_declaration + ">" + inside + "</e:Envelope>";
}

const std::string kCall =
    R"(<simpleMethod xmlns="http://tempuri.org/"><srt>x</srt></simpleMethod>)";

struct Fault {
  std::string code;
  std::string reason;
  bool offers_upgrade = false;
};

// Parses a fault reply of either version; a failed expectation when it is not one.
Fault parse_fault(const HttpReply& reply, SoapVersion version) {
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(reply.body.data(), reply.body.size());
  EXPECT_TRUE(parsed) << parsed.description() << "\n" << reply.body;
  const pugi::xml_node root = document.document_element();
  EXPECT_STREQ(root.name(), "soap:Envelope");
  EXPECT_EQ(root.attribute("xmlns:soap").value(), std::string(envelope_namespace(version)));
  const pugi::xml_node fault = root.child("soap:Body").child("soap:Fault");
  EXPECT_TRUE(fault) << reply.body;
  Fault result;
  if (version == SoapVersion::soap12) {
    result.code = fault.child("soap:Code").child_value("soap:Value");
    result.reason = fault.child("soap:Reason").child_value("soap:Text");
    result.offers_upgrade = root.child("soap:Header").child("soap:Upgrade") != pugi::xml_node();
  } else {
    result.code = fault.child_value("faultcode");
    result.reason = fault.child_value("faultstring");
  }
  return result;
}

struct FaultCase {
  const char* name;
  RequestBuilder request;
  SoapVersion version;
  int status;
  std::string code;
  std::string reason_part;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
  *out << c.name;
}

RequestBuilder call12(const std::string& body) {
  return RequestBuilder::soap12_call(body);
}
RequestBuilder call11(const std::string& body) {
  return RequestBuilder::soap11_call(body, "\"http://tempuri.org/simpleMethod\"");
}

class FaultAnswers : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultAnswers, CarryCodeReasonAndStatus) {
  const FaultCase& c = GetParam();
  const HttpReply reply = c.request.handle();
  EXPECT_EQ(reply.status, c.status) << reply.body;
  EXPECT_EQ(reply.content_type, soap_content_type(c.version));
  const Fault fault = parse_fault(reply, c.version);
  EXPECT_EQ(fault.code, c.code);
  EXPECT_NE(fault.reason.find(c.reason_part), std::string::npos) << fault.reason;
  EXPECT_EQ(fault.offers_upgrade,
            c.code == "soap:VersionMismatch" && c.version == SoapVersion::soap12);
}

INSTANTIATE_TEST_SUITE_P(
    Soap12, FaultAnswers,
    ::testing::Values(
        FaultCase{"truncated_xml", call12(tool_envelope("x").substr(0, 120)), SoapVersion::soap12,
                  400, "soap:Sender", "not well-formed XML"},
        FaultCase{"empty_body", call12(""), SoapVersion::soap12, 400, "soap:Sender",
                  "not well-formed XML"},
        FaultCase{"unescaped_ampersand", call12(tool_envelope("Tom & Jerry")), SoapVersion::soap12,
                  400, "soap:Sender", "'&' that starts no reference"},
        FaultCase{"unescaped_less_than", call12(tool_envelope("a < b")), SoapVersion::soap12, 400,
                  "soap:Sender", "not well-formed XML"},
        FaultCase{"utf16_body", call12("\xFF\xFE<\0e\0/\0>\0"), SoapVersion::soap12, 400,
                  "soap:Sender", "not well-formed XML"},
        FaultCase{"not_an_envelope", call12("<hello/>"), SoapVersion::soap12, 400, "soap:Sender",
                  "not a SOAP Envelope"},
        FaultCase{"soap11_envelope_as_soap12", call12(soap11_envelope("x")), SoapVersion::soap12,
                  500, "soap:VersionMismatch", "SOAP 1.1 envelope was sent as SOAP 1.2"},
        FaultCase{"envelope_in_foreign_namespace",
                  call12(envelope(R"(xmlns:e="urn:other")", "<e:Body>" + kCall + "</e:Body>")),
                  SoapVersion::soap12, 500, "soap:VersionMismatch", "urn:other"},
        FaultCase{
            "unknown_operation",
            call12(envelope(kEnv12,
                            R"(<e:Body><otherMethod xmlns="http://tempuri.org/"/></e:Body>)")),
            SoapVersion::soap12, 400, "soap:Sender",
            "unknown operation {http://tempuri.org/}otherMethod"},
        FaultCase{"operation_in_foreign_namespace", call12(tool_envelope("x", "urn:elsewhere")),
                  SoapVersion::soap12, 400, "soap:Sender",
                  "unknown operation {urn:elsewhere}simpleMethod"},
        FaultCase{"no_body", call12(envelope(kEnv12, "<e:Header/>")), SoapVersion::soap12, 400,
                  "soap:Sender", "no Body"},
        FaultCase{"empty_body_element", call12(envelope(kEnv12, "<e:Body> </e:Body>")),
                  SoapVersion::soap12, 400, "soap:Sender", "calls no operation"},
        FaultCase{"two_operations",
                  call12(envelope(kEnv12, "<e:Body>" + kCall + kCall + "</e:Body>")),
                  SoapVersion::soap12, 400, "soap:Sender", "more than one element"},
        FaultCase{"element_after_body",
                  call12(envelope(kEnv12, "<e:Body>" + kCall + "</e:Body><e:Body/>")),
                  SoapVersion::soap12, 400, "soap:Sender", "not <e:Body>"},
        FaultCase{"header_after_body",
                  call12(envelope(kEnv12, "<e:Body>" + kCall + "</e:Body><e:Header/>")),
                  SoapVersion::soap12, 400, "soap:Sender", "not <e:Header>"},
        FaultCase{"text_in_envelope",
                  call12(envelope(kEnv12, "stray<e:Body>" + kCall + "</e:Body>")),
                  SoapVersion::soap12, 400, "soap:Sender", "text outside"},
        FaultCase{"markup_in_parameter", call12(tool_envelope("a<b>c</b>")), SoapVersion::soap12,
                  400, "soap:Sender", "holds markup"},
        FaultCase{"parameter_twice", call12(tool_envelope("a</srt><srt>b")), SoapVersion::soap12,
                  400, "soap:Sender", "more than once"},
        FaultCase{"invalid_utf8", call12(tool_envelope("caf\xE9")), SoapVersion::soap12, 400,
                  "soap:Sender", "not UTF-8 text"},
        FaultCase{"character_xml_forbids", call12(tool_envelope("a&#1;b")), SoapVersion::soap12,
                  400, "soap:Sender", "not UTF-8 text"},
        FaultCase{
            "document_type_declaration",
            call12(R"(<!DOCTYPE e:Envelope [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;">]>)" +
                   tool_envelope("&b;").substr(38)),
            SoapVersion::soap12, 400, "soap:Sender", "document type declaration"},
        FaultCase{"processing_instruction", call12(tool_envelope("<?do something?>x")),
                  SoapVersion::soap12, 400, "soap:Sender", "processing instructions"},
        FaultCase{"undeclared_prefix",
                  call12(envelope(kEnv12, "<e:Body><t:simpleMethod/></e:Body>")),
                  SoapVersion::soap12, 400, "soap:Sender", "prefix that is not declared"},
        FaultCase{
            "header_that_must_be_understood",
            call12(envelope(
                kEnv12,
                R"(<e:Header><s:Session xmlns:s="urn:session" e:mustUnderstand="true"/></e:Header><e:Body>)" +
                    kCall + "</e:Body>")),
            SoapVersion::soap12, 500, "soap:MustUnderstand", "{urn:session}Session"},
        FaultCase{"foreign_action",
                  call12(tool_envelope("x"))
                      .set("Content-Type", "application/soap+xml; action=\"urn:delete-all\""),
                  SoapVersion::soap12, 400, "soap:Sender",
                  "\"urn:delete-all\" is not an operation"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Soap11, FaultAnswers,
    ::testing::Values(
        FaultCase{"soap12_envelope_as_soap11", call11(tool_envelope("x")), SoapVersion::soap11, 500,
                  "soap:VersionMismatch", "SOAP 1.2 envelope was sent as SOAP 1.1"},
        FaultCase{"truncated_xml", call11("<e:Envelope"), SoapVersion::soap11, 500, "soap:Client",
                  "not well-formed XML"},
        FaultCase{"missing_soap_action", call11(soap11_envelope("x")).remove("SOAPAction"),
                  SoapVersion::soap11, 500, "soap:Client", "needs exactly one SOAPAction"},
        FaultCase{"foreign_soap_action",
                  call11(soap11_envelope("x")).set("SOAPAction", "\"urn:other\""),
                  SoapVersion::soap11, 500, "soap:Client", "\"urn:other\" is not an operation"},
        FaultCase{
            "unknown_operation",
            call11(envelope(kEnv11, R"(<e:Body><nope xmlns="http://tempuri.org/"/></e:Body>)")),
            SoapVersion::soap11, 500, "soap:Client", "unknown operation"},
        FaultCase{
            "header_that_must_be_understood",
            call11(envelope(
                kEnv11,
                R"(<e:Header><s:T xmlns:s="urn:s" e:mustUnderstand="1"/></e:Header><e:Body>)" +
                    kCall + "</e:Body>")),
            SoapVersion::soap11, 500, "soap:MustUnderstand", "{urn:s}T"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FaultEnvelope, NamesTheReceiverAsToBlameForInternalFailures) {
  const SoapFault internal{FaultCode::receiver, "broke <inside> & out"};
  HttpReply reply;
  reply.body = fault_envelope(SoapVersion::soap12, internal);
  EXPECT_EQ(parse_fault(reply, SoapVersion::soap12).code, "soap:Receiver");
  EXPECT_EQ(fault_http_status(SoapVersion::soap12, internal.code), 500);
  EXPECT_EQ(parse_fault(reply, SoapVersion::soap12).reason, internal.reason);
  reply.body = fault_envelope(SoapVersion::soap11, internal);
  EXPECT_EQ(parse_fault(reply, SoapVersion::soap11).code, "soap:Server");
}

}  // namespace
}  // namespace tarvelo::service

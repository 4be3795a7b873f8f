// The service description: what ordinary SOAP clients read before they call.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "request_builder.h"

namespace tarvelo::service {
namespace {

using testing::RequestBuilder;
using testing::soap11_envelope;
using testing::test_settings;
using testing::tool_envelope;

constexpr const char* kWsdlNs = "http://schemas.xmlsoap.org/wsdl/";
constexpr const char* kWsdlSoap11Ns = "http://schemas.xmlsoap.org/wsdl/soap/";
constexpr const char* kWsdlSoap12Ns = "http://schemas.xmlsoap.org/wsdl/soap12/";
constexpr const char* kSchemaNs = "http://www.w3.org/2001/XMLSchema";

std::string local_after_prefix(const std::string& qualified) {
  const std::size_t colon = qualified.find(':');
  return colon == std::string::npos ? qualified : qualified.substr(colon + 1);
}

// Reads a WSDL the way a client does: by namespaces, whatever the prefixes.
class Description {
 public:
  explicit Description(const std::string& text) {
    const pugi::xml_parse_result parsed = document_.load_string(text.c_str());
    EXPECT_TRUE(parsed) << parsed.description();
    root_ = document_.document_element();
  }

  pugi::xml_node root() const { return root_; }

  // The qualified name that `ns` + `local` has in this document.
  std::string name(const std::string& ns, const std::string& local) const {
    for (const pugi::xml_attribute a : root_.attributes()) {
      const std::string attribute = a.name();
      if (a.value() != ns) continue;
      if (attribute == "xmlns") return local;
      if (attribute.starts_with("xmlns:")) return attribute.substr(6) + ":" + local;
    }
    return "(undeclared " + ns + ")";
  }

  pugi::xml_node child_named(pugi::xml_node parent, const std::string& ns, const std::string& local,
                             const std::string& attribute_name = "",
                             const std::string& attribute_value = "") const {
    const std::string qualified = name(ns, local);
    for (const pugi::xml_node child : parent.children(qualified.c_str())) {
      if (attribute_name.empty() ||
          child.attribute(attribute_name.c_str()).value() == attribute_value) {
        return child;
      }
    }
    return {};
  }

 private:
  pugi::xml_document document_;
  pugi::xml_node root_;
};

std::string fetch(const RequestBuilder& request, const Settings& settings = test_settings()) {
  const HttpReply reply = request.handle(settings);
  EXPECT_EQ(reply.status, 200) << reply.body;
  EXPECT_EQ(reply.content_type, "text/xml; charset=utf-8");
  return reply.body;
}

TEST(Wsdl, DescribesSimpleMethodAsOneStringInAndOneOut) {
  const Description wsdl(fetch(RequestBuilder::get("wsdl")));
  const pugi::xml_node root = wsdl.root();
  EXPECT_EQ(root.name(), wsdl.name(kWsdlNs, "definitions"));
  EXPECT_STREQ(root.attribute("targetNamespace").value(), "http://tempuri.org/");

  const pugi::xml_node schema =
      wsdl.child_named(wsdl.child_named(root, kWsdlNs, "types"), kSchemaNs, "schema");
  EXPECT_STREQ(schema.attribute("targetNamespace").value(), "http://tempuri.org/");
  EXPECT_STREQ(schema.attribute("elementFormDefault").value(), "qualified");
  const std::string element = wsdl.name(kSchemaNs, "element");
  const std::string string_type = wsdl.name(kSchemaNs, "string");
  for (const auto& [wrapper, field] : {std::pair{"simpleMethod", "srt"},
                                       std::pair{"simpleMethodResponse", "simpleMethodResult"}}) {
    const pugi::xml_node declared = wsdl.child_named(schema, kSchemaNs, "element", "name", wrapper);
    ASSERT_TRUE(declared) << wrapper;
    const pugi::xml_node fields = declared.child(wsdl.name(kSchemaNs, "complexType").c_str())
                                      .child(wsdl.name(kSchemaNs, "sequence").c_str());
    const pugi::xml_node only = fields.child(element.c_str());
    EXPECT_STREQ(only.attribute("name").value(), field);
    EXPECT_EQ(only.attribute("type").value(), string_type);
    EXPECT_FALSE(only.next_sibling(element.c_str())) << wrapper << " has one field";
  }

  const pugi::xml_node operation = wsdl.child_named(wsdl.child_named(root, kWsdlNs, "portType"),
                                                    kWsdlNs, "operation", "name", "simpleMethod");
  ASSERT_TRUE(operation);
  for (const auto& [direction, element_name] :
       {std::pair{"input", "simpleMethod"}, std::pair{"output", "simpleMethodResponse"}}) {
    const std::string message = local_after_prefix(
        wsdl.child_named(operation, kWsdlNs, direction).attribute("message").value());
    const pugi::xml_node part = wsdl.child_named(
        wsdl.child_named(root, kWsdlNs, "message", "name", message), kWsdlNs, "part");
    EXPECT_EQ(local_after_prefix(part.attribute("element").value()), element_name) << direction;
  }
}

TEST(Wsdl, BindsSoap11AndSoap12DocumentLiteralAtTheAddressFromHost) {
  const Description wsdl(fetch(RequestBuilder::get("WSDL", "example.test:9090")));
  const pugi::xml_node root = wsdl.root();
  const pugi::xml_node service = wsdl.child_named(root, kWsdlNs, "service");

  for (const char* soap_ns : {kWsdlSoap11Ns, kWsdlSoap12Ns}) {
    SCOPED_TRACE(soap_ns);
    // The binding whose protocol element is in this SOAP binding's namespace.
    pugi::xml_node binding;
    const std::string binding_element = wsdl.name(kWsdlNs, "binding");
    for (const pugi::xml_node candidate : root.children(binding_element.c_str())) {
      if (wsdl.child_named(candidate, soap_ns, "binding")) binding = candidate;
    }
    ASSERT_TRUE(binding);
    EXPECT_STREQ(wsdl.child_named(binding, soap_ns, "binding").attribute("transport").value(),
                 "http://schemas.xmlsoap.org/soap/http");
    const pugi::xml_node operation =
        wsdl.child_named(binding, kWsdlNs, "operation", "name", "simpleMethod");
    const pugi::xml_node soap_operation = wsdl.child_named(operation, soap_ns, "operation");
    EXPECT_STREQ(soap_operation.attribute("style").value(), "document");
    EXPECT_STREQ(soap_operation.attribute("soapAction").value(), "http://tempuri.org/simpleMethod");
    for (const char* direction : {"input", "output"}) {
      EXPECT_STREQ(
          wsdl.child_named(wsdl.child_named(operation, kWsdlNs, direction), soap_ns, "body")
              .attribute("use")
              .value(),
          "literal");
    }

    const std::string binding_name = binding.attribute("name").value();
    pugi::xml_node port;
    const std::string port_element = wsdl.name(kWsdlNs, "port");
    for (const pugi::xml_node candidate : service.children(port_element.c_str())) {
      if (local_after_prefix(candidate.attribute("binding").value()) == binding_name) {
        port = candidate;
      }
    }
    ASSERT_TRUE(port);
    EXPECT_STREQ(wsdl.child_named(port, soap_ns, "address").attribute("location").value(),
                 "http://example.test:9090/Service.asmx");
  }
}

TEST(Wsdl, TheAdvertisedSoapActionIsAccepted) {
  const Description wsdl(fetch(RequestBuilder::get("wsdl")));
  const pugi::xml_node operation = wsdl.root().find_node([](pugi::xml_node node) {
    return std::string(node.attribute("soapAction").value()).size() > 0;
  });
  const std::string action = operation.attribute("soapAction").value();
  const HttpReply reply =
      RequestBuilder::soap11_call(soap11_envelope("x"), '"' + action + '"').handle();
  EXPECT_EQ(reply.status, 200) << reply.body;
}

TEST(Wsdl, EscapesTheNamespaceAndFollowsTheSettings) {
  Settings settings = test_settings();
  settings.service_namespace = "urn:tarvelo:a&b";
  const Description wsdl(fetch(RequestBuilder::get("wsdl"), settings));
  EXPECT_STREQ(wsdl.root().attribute("targetNamespace").value(), "urn:tarvelo:a&b");
  const pugi::xml_node operation = wsdl.root().find_node([](pugi::xml_node node) {
    return std::string(node.attribute("soapAction").value()).size() > 0;
  });
  EXPECT_STREQ(operation.attribute("soapAction").value(), "urn:tarvelo:a&b/simpleMethod");
}

TEST(Wsdl, RefusesAHostThatCannotStandInAnAddress) {
  for (const char* host : {"", "a\"b", "a b", "x/y", "<tag>"}) {
    const HttpReply reply = RequestBuilder::get("wsdl", host).handle();
    EXPECT_EQ(reply.status, 400) << "Host: " << host;
    EXPECT_NE(reply.body.find("Host"), std::string::npos);
  }
  RequestBuilder twice = RequestBuilder::get("wsdl");
  twice.headers.emplace_back("Host", "other:1");
  EXPECT_EQ(twice.handle().status, 400);
  EXPECT_EQ(RequestBuilder::get("wsdl").remove("Host").handle().status, 400);
  EXPECT_EQ(RequestBuilder::get("wsdl", "[::1]:8080").handle().status, 200);
  // A NUL inside the field would make the description malformed XML.
  EXPECT_EQ(RequestBuilder::get("wsdl", std::string("127.0.0.1\0x", 11)).handle().status, 400);
}

TEST(Wsdl, WithoutTheQueryAPlainPageNamesTheDescription) {
  for (const char* method : {"GET", "HEAD"}) {
    RequestBuilder request = RequestBuilder::get("");
    request.method = method;
    const HttpReply reply = request.handle();
    EXPECT_EQ(reply.status, 200);
    EXPECT_EQ(reply.content_type, "text/plain; charset=utf-8");
    EXPECT_NE(reply.body.find("?wsdl"), std::string::npos);
  }
}

}  // namespace
}  // namespace tarvelo::service

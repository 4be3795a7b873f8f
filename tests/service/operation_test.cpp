// simpleMethod answered in-process: the text comes back after "Hello ", intact and well-formed.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "request_builder.h"
#include "service/soap_protocol.h"

namespace tarvelo::service {
namespace {

using testing::RequestBuilder;
using testing::soap11_envelope;
using testing::test_settings;
using testing::tool_envelope;

// What tarvelo looks at: the text between the first plain result tags.
std::string marked_result(const std::string& body) {
  const std::string begin = "<simpleMethodResult>";
  const std::size_t start = body.find(begin);
  if (start == std::string::npos) return "(no begin marker)";
  const std::size_t end = body.find("</simpleMethodResult>", start + begin.size());
  if (end == std::string::npos) return "(no end marker)";
  return body.substr(start + begin.size(), end - start - begin.size());
}

// Parses a successful reply, checks its shape and returns the result's text.
std::string parsed_result(const HttpReply& reply, SoapVersion version,
                          const std::string& service_ns = "http://tempuri.org/") {
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(
      reply.body.data(), reply.body.size(), pugi::parse_default | pugi::parse_ws_pcdata);
  EXPECT_TRUE(parsed) << parsed.description() << "\n" << reply.body;
  const pugi::xml_node envelope = document.document_element();
  EXPECT_STREQ(envelope.name(), "soap:Envelope");
  EXPECT_EQ(envelope.attribute("xmlns:soap").value(), std::string(envelope_namespace(version)));
  const pugi::xml_node response = envelope.child("soap:Body").child("simpleMethodResponse");
  EXPECT_EQ(response.attribute("xmlns").value(), service_ns);
  const pugi::xml_node result = response.child("simpleMethodResult");
  EXPECT_TRUE(result) << reply.body;
  EXPECT_FALSE(result.first_attribute()) << "the result element must carry no attributes";
  return result.child_value();
}

struct RoundTrip {
  const char* name;
  std::string srt_markup;     // as written inside <srt>
  std::string expected_text;  // what follows "Hello " in the result
};

void PrintTo(const RoundTrip& c, std::ostream* out) {
  *out << c.name;
}

class OperationRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(OperationRoundTrip, AnswersHelloAndTheTextInBothSoapVersions) {
  const RoundTrip& c = GetParam();
  const HttpReply reply12 = RequestBuilder::soap12_call(tool_envelope(c.srt_markup)).handle();
  ASSERT_EQ(reply12.status, 200) << reply12.body;
  EXPECT_EQ(reply12.content_type, "application/soap+xml; charset=utf-8");
  EXPECT_EQ(parsed_result(reply12, SoapVersion::soap12), "Hello " + c.expected_text);
  EXPECT_EQ(marked_result(reply12.body).substr(0, 6), "Hello ");

  const HttpReply reply11 = RequestBuilder::soap11_call(soap11_envelope(c.srt_markup),
                                                        "\"http://tempuri.org/simpleMethod\"")
                                .handle();
  ASSERT_EQ(reply11.status, 200) << reply11.body;
  EXPECT_EQ(reply11.content_type, "text/xml; charset=utf-8");
  EXPECT_EQ(parsed_result(reply11, SoapVersion::soap11), "Hello " + c.expected_text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, OperationRoundTrip,
    ::testing::Values(RoundTrip{"plain", "world", "world"}, RoundTrip{"empty", "", ""},
                      RoundTrip{"blanks_kept", "  two  ", "  two  "},
                      RoundTrip{"markup_characters", "Tom &amp; Jerry &lt;b&gt; &quot;q&quot; 'a'",
                                "Tom & Jerry <b> \"q\" 'a'"},
                      RoundTrip{
                          "central_european",
                          "P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD",
                          "P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD"},
                      RoundTrip{"beyond_the_basic_plane", "&#x1F600;", "\xF0\x9F\x98\x80"},
                      RoundTrip{"cdata", "<![CDATA[a<b&c]]>", "a<b&c"},
                      RoundTrip{"line_breaks", "one\ntwo", "one\ntwo"},
                      RoundTrip{"carriage_return_survives", "a&#13;b", "a\rb"},
                      RoundTrip{"comment_dropped", "x<!-- note -->y", "xy"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Operation, EscapesWhatMarkupWouldBreakInTheRawReply) {
  const HttpReply reply =
      RequestBuilder::soap12_call(tool_envelope("&amp;&lt;&gt;&quot;")).handle();
  ASSERT_EQ(reply.status, 200);
  EXPECT_EQ(marked_result(reply.body), "Hello &amp;&lt;&gt;&quot;");
}

TEST(Operation, MissingParameterReadsAsEmptyText) {
  const std::string body =
      R"(<e:Envelope xmlns:e="http://www.w3.org/2003/05/soap-envelope"><e:Body>)"
      R"(<simpleMethod xmlns="http://tempuri.org/"/></e:Body></e:Envelope>)";
  const HttpReply reply = RequestBuilder::soap12_call(body).handle();
  ASSERT_EQ(reply.status, 200) << reply.body;
  EXPECT_EQ(parsed_result(reply, SoapVersion::soap12), "Hello ");
}

TEST(Operation, AcceptsOtherWaysOfWritingTheSameCall) {
  const std::vector<std::pair<const char*, std::string>> bodies = {
      {"prefixed names",
       R"(<e:Envelope xmlns:e="http://www.w3.org/2003/05/soap-envelope"><e:Body>)"
       R"(<t:simpleMethod xmlns:t="http://tempuri.org/"><t:srt>x</t:srt></t:simpleMethod>)"
       R"(</e:Body></e:Envelope>)"},
      {"unqualified parameter",
       R"(<e:Envelope xmlns:e="http://www.w3.org/2003/05/soap-envelope"><e:Body>)"
       R"(<t:simpleMethod xmlns:t="http://tempuri.org/"><srt>x</srt></t:simpleMethod>)"
       R"(</e:Body></e:Envelope>)"},
      {"white space and a header block that need not be understood",
       "<e:Envelope xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\">\n  <e:Header>"
       "<h:Trace xmlns:h=\"urn:trace\">1</h:Trace>"
       "<h:Other xmlns:h=\"urn:trace\" e:mustUnderstand=\"true\" "
       "e:role=\"http://www.w3.org/2003/05/soap-envelope/role/none\"/></e:Header>\n"
       "  <e:Body>\n    <simpleMethod xmlns=\"http://tempuri.org/\"><srt>x</srt>"
       "<extra>ignored</extra></simpleMethod>\n  </e:Body>\n</e:Envelope>\n"},
      {"byte order mark", "\xEF\xBB\xBF" + tool_envelope("x")},
  };
  for (const auto& [what, body] : bodies) {
    const HttpReply reply = RequestBuilder::soap12_call(body).handle();
    ASSERT_EQ(reply.status, 200) << what << "\n" << reply.body;
    EXPECT_EQ(parsed_result(reply, SoapVersion::soap12), "Hello x") << what;
  }
}

TEST(Operation, ContentTypeParametersAndMatchingActionsAreAccepted) {
  for (const char* type :
       {"application/soap+xml; charset=utf-8", "Application/SOAP+XML;charset=\"UTF-8\"",
        "application/soap+xml; action=\"http://tempuri.org/simpleMethod\"",
        "application/soap+xml; action=\"\""}) {
    const HttpReply reply =
        RequestBuilder::soap12_call(tool_envelope("x")).set("Content-Type", type).handle();
    EXPECT_EQ(reply.status, 200) << type << "\n" << reply.body;
  }
  for (const char* action : {"\"\"", "http://tempuri.org/simpleMethod"}) {
    const HttpReply reply = RequestBuilder::soap11_call(soap11_envelope("x"), action).handle();
    EXPECT_EQ(reply.status, 200) << action << "\n" << reply.body;
  }
}

TEST(Operation, AnswersInTheConfiguredNamespace) {
  Settings settings = test_settings();
  settings.service_namespace = "http://example.test/a?b=1&c=\"2\"";
  const std::string escaped_ns = "http://example.test/a?b=1&amp;c=&quot;2&quot;";
  const HttpReply reply =
      RequestBuilder::soap12_call(tool_envelope("x", escaped_ns)).handle(settings);
  ASSERT_EQ(reply.status, 200) << reply.body;
  EXPECT_EQ(parsed_result(reply, SoapVersion::soap12, settings.service_namespace), "Hello x");

  // The default namespace is then another service's.
  EXPECT_EQ(RequestBuilder::soap12_call(tool_envelope("x")).handle(settings).status, 400);
}

}  // namespace
}  // namespace tarvelo::service

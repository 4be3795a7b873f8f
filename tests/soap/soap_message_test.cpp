#include "soap/soap_message.h"

#include <gtest/gtest.h>

#include <cstring>
#include <pugixml.hpp>
#include <string>

#include "soap/service_location.h"
#include "tarvelo_config.h"
#include "text/marked_value.h"

namespace {

// The body for the text "Hi", piece by piece.
constexpr char kBodyForHi[] =
    "<?xml"
    " version=\"1.0\""
    " encoding=\"utf-8\""
    "?>"
    "<soap12:Envelope"
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
    " xmlns:soap12=\"http://www.w3.org/2003/05/soap-envelope\""
    ">"
    "<soap12:Body>"
    "<simpleMethod"
    " xmlns=\"" TARVELO_SERVICE_NAMESPACE
    "\""
    ">"
    "<srt>"
    "Hi"
    "</srt></simpleMethod></soap12:Body></soap12:Envelope>";

TEST(SoapRequestBody, IsTheFixedPiecesAroundTheTextOnOneLine) {
  EXPECT_EQ(std::string(kBodyForHi), BuildSoapRequestBody("Hi").str());
  const std::string strHi(kBodyForHi);
  const std::size_t nText = strHi.find("Hi</srt>");
  EXPECT_EQ(strHi.substr(0, nText), GetSoapEnvelopePrefix().str());
  EXPECT_EQ(strHi.substr(nText + 2), GetSoapEnvelopeSuffix());
}

struct BodyTextCase {
  const char* pszTyped;
  const char* pszInBody;
};

// "Příliš žluťoučký kůň" in Windows-1250.
constexpr char kAnsiText[] =
    "P\xF8\xEDli\xB9 \x9Elu\x9D"
    "ou\xE8k\xFD k\xF9\xF2";

TEST(SoapRequestBody, EscapesOnlyAmpersandAndAngleBrackets) {
  const BodyTextCase cases[] = {
      {"", ""},  // "<srt></srt>", never a self-closing tag
      {"Tom & Jerry", "Tom &amp; Jerry"},
      {"<b>bold</b>", "&lt;b&gt;bold&lt;/b&gt;"},
      {"a&amp;b", "a&amp;amp;b"},  // a typed entity reference is text too
      {"]]>", "]]&gt;"},
      {"  padded\t ", "  padded\t "},
      {"\"double\" 'single'", "\"double\" 'single'"},
      {"line\r\nbreak", "line\r\nbreak"},
      {kAnsiText, kAnsiText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pszTyped);
    const CString strBody = BuildSoapRequestBody(c.pszTyped);
    EXPECT_EQ(GetSoapEnvelopePrefix() + c.pszInBody + GetSoapEnvelopeSuffix(), strBody);
    EXPECT_EQ(CString(c.pszInBody), EscapeSoapText(c.pszTyped));
  }
}

// Whatever the operator types, an XML reader finds the envelope's structure intact and reads
// back exactly the typed text as the operation's parameter.
TEST(SoapRequestBody, IsWellFormedAndCarriesTheTypedTextExactly) {
  const char* const texts[] = {
      "Hello", "",           "Tom & Jerry", "<srt>inner</srt>",      "a < b > c",
      "]]>",   "  blanks  ", "\"q\" 'q'",   "&lt;not an entity&gt;", "</simpleMethod>",
  };
  for (const char* pszText : texts) {
    SCOPED_TRACE(pszText);
    const CString strBody = BuildSoapRequestBody(pszText);
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_string(strBody, pugi::parse_default | pugi::parse_ws_pcdata);
    ASSERT_TRUE(parsed) << parsed.description();
    const pugi::xml_node envelope = doc.document_element();
    EXPECT_STREQ("soap12:Envelope", envelope.name());
    EXPECT_STREQ("http://www.w3.org/2003/05/soap-envelope",
                 envelope.attribute("xmlns:soap12").value());
    const pugi::xml_node method = envelope.child("soap12:Body").child("simpleMethod");
    ASSERT_TRUE(method);
    EXPECT_STREQ(GetServiceNamespace(), method.attribute("xmlns").value());
    const pugi::xml_node srt = method.child("srt");
    ASSERT_TRUE(srt);
    EXPECT_STREQ(pszText, srt.text().get());
    EXPECT_FALSE(srt.next_sibling()) << "the text must not add elements";
  }
}

// Restores the deployment's host when a test is done with it.
class HostOverride {
 public:
  explicit HostOverride(const char* pszHost) { SetServiceHost(pszHost); }
  ~HostOverride() { SetServiceHost(nullptr); }
  HostOverride(const HostOverride&) = delete;
  HostOverride& operator=(const HostOverride&) = delete;
};

TEST(SoapEndpointUrl, IsTheServiceHostWithTheServicePath) {
  EXPECT_EQ(CString("http://" TARVELO_SERVICE_HOST "/Service.asmx"), GetSoapEndpointUrl());
  {
    const HostOverride host("127.0.0.1:40123");
    EXPECT_EQ(CString("http://127.0.0.1:40123/Service.asmx"), GetSoapEndpointUrl());
  }
  EXPECT_EQ(CString("http://" TARVELO_SERVICE_HOST "/Service.asmx"), GetSoapEndpointUrl());
}

struct ReplyCase {
  const char* pszName;
  std::string strReply;
  int nPassed;
  const char* pszResult;
  const char* pszError;
};

std::string Envelope(const std::string& strInner) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
         "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>" +
         strInner + "</soap:Body></soap:Envelope>";
}

std::string Result(const std::string& strValue) {
  return Envelope("<simpleMethodResponse xmlns=\"http://tempuri.org/\"><simpleMethodResult>" +
                  strValue + "</simpleMethodResult></simpleMethodResponse>");
}

TEST(SoapReply, PassesWhenTheFirstResultValueStartsWithHello) {
  constexpr char kNoBegin[] = "Error begin search params not found ?";
  constexpr char kNoEnd[] = "Error search end params not found ?";
  const ReplyCase cases[] = {
      {"exactly Hello", Result("Hello"), 1, "Hello", ""},
      {"Hello and more", Result("Hello, you sent Hi"), 1, "Hello", ""},
      {"Hello then nested markup", Result("Hello<b>x</b>"), 1, "Hello", ""},
      {"Hello then a high byte", Result("Hello\xE8"), 1, "Hello", ""},
      {"bare element, nothing around it", "<simpleMethodResult>Hello</simpleMethodResult>", 1,
       "Hello", ""},
      {"a value longer than the buffer", Result("Hello" + std::string(900, '!')), 1, "Hello", ""},
      {"first four letters", Result("Hell"), 0, "Hell", ""},
      {"lower case", Result("hello"), 0, "hello", ""},
      {"a leading blank", Result(" Hello"), 0, " Hell", ""},
      {"a leading line break", Result("\r\nHello"), 0, "\r\nHel", ""},
      {"an entity reference is not decoded", Result("Hell&#111;"), 0, "Hell&", ""},
      {"markup inside the first five", Result("Hel<i>lo</i>"), 0, "Hel<i", ""},
      {"an empty value", Result(""), 0, "", ""},
      {"two results, the first decides", Result("Nope") + Result("Hello"), 0, "Nope", ""},
      {"two results, the first passes", Result("Hello") + Result("Nope"), 1, "Hello", ""},
      {"attributes on the element",
       Envelope("<simpleMethodResult xsi:type=\"xsd:string\">Hello</simpleMethodResult>"), 0, "",
       kNoBegin},
      {"a namespace prefix on the element",
       Envelope("<m:simpleMethodResult xmlns:m=\"urn:x\">Hello</m:simpleMethodResult>"), 0, "",
       kNoBegin},
      {"a self-closing element", Envelope("<simpleMethodResult/>"), 0, "", kNoBegin},
      {"a SOAP fault",
       Envelope("<soap:Fault><soap:Code><soap:Value>soap:Sender</soap:Value></soap:Code>"
                "<soap:Reason><soap:Text xml:lang=\"en\">Hello</soap:Text></soap:Reason>"
                "</soap:Fault>"),
       0, "", kNoBegin},
      {"an empty reply", "", 0, "", kNoBegin},
      {"no closing tag", Envelope("<simpleMethodResult>Hello"), 0, "", kNoEnd},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pszName);
    // Buffers left dirty by an earlier exchange, and a search position left far along by an
    // earlier extraction: neither may leak into the judgement.
    char szResult[kSoapReplyBufferSize];
    char szError[kSoapReplyBufferSize];
    std::strcpy(szResult, "Hello from before");
    std::strcpy(szError, "stale message");
    g_nSearchPos = 100000;
    EXPECT_EQ(c.nPassed, JudgeSoapReply(c.strReply.c_str(), szResult, szError));
    EXPECT_STREQ(c.pszResult, szResult);
    EXPECT_STREQ(c.pszError, szError);
  }
}

}  // namespace

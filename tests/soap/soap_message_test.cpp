#include "soap/soap_message.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tarvelo_config.h"
#include "text/marked_value.h"

namespace {

TEST(SoapRequestBody, IsTheFixedPiecesAroundTheTextOnOneLine) {
  EXPECT_EQ(std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                        "<soap12:Envelope"
                        " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                        " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
                        " xmlns:soap12=\"http://www.w3.org/2003/05/soap-envelope\">"
                        "<soap12:Body><simpleMethod xmlns=\"" TARVELO_SERVICE_NAMESPACE "\">"
                        "<srt>Hi</srt></simpleMethod></soap12:Body></soap12:Envelope>"),
            BuildSoapRequestBody("Hi").str());
  EXPECT_EQ(CString("http://" TARVELO_SERVICE_HOST "/Service.asmx"), GetSoapEndpointUrl());
}

// The service receives exactly the text that was typed, as character data.
TEST(SoapRequestBody, EscapesOnlyAmpersandAndAngleBrackets) {
  const struct {
    const char* pszTyped;
    const char* pszInBody;
  } cases[] = {
      {"", ""},  // "<srt></srt>", never a self-closing tag
      {"a&b<c>d", "a&amp;b&lt;c&gt;d"},
      {" \"q\" 'q'\t\r\n\xE8 ", " \"q\" 'q'\t\r\n\xE8 "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pszTyped);
    EXPECT_EQ(GetSoapEnvelopePrefix() + c.pszInBody + GetSoapEnvelopeSuffix(),
              BuildSoapRequestBody(c.pszTyped));
  }
}

std::string Result(const std::string& strValue) {
  return "<r><simpleMethodResult>" + strValue + "</simpleMethodResult></r>";
}

TEST(SoapReply, PassesWhenTheFirstResultValueStartsWithHello) {
  const struct {
    std::string strReply;
    int nPassed;
    const char* pszResult;
    const char* pszError;
  } cases[] = {
      {Result("Hello"), 1, "Hello", ""},
      {Result("Hello, you sent Hi" + std::string(900, '!')), 1, "Hello", ""},
      {Result("Hell"), 0, "Hell", ""},
      {Result("hello"), 0, "hello", ""},
      {Result(" Hello"), 0, " Hell", ""},
      {Result("Nope") + Result("Hello"), 0, "Nope", ""},  // the first one decides
      {"<simpleMethodResult>Hello", 0, "", "Error search end params not found ?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.strReply.substr(0, 80));
    // Buffers and a search position left behind by an earlier exchange.
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

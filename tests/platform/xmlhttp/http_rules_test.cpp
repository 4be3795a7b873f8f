// The HTTP pieces the component builds on: request headers that cannot break the request, URLs,
// and the code page a reply is read in.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <variant>

#include "http_url.h"
#include "reply_charset.h"
#include "request_headers.h"

namespace {

struct HeaderCase {
  const char* name;
  std::string headerName;
  std::string value;
  xmlhttp::HeaderProblem problem;
};

void PrintTo(const HeaderCase& value, std::ostream* out) {
  *out << value.name;
}

class CheckRequestHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(CheckRequestHeaderTest, RefusesWhatCouldBreakTheRequest) {
  EXPECT_EQ(xmlhttp::CheckRequestHeader(GetParam().headerName, GetParam().value),
            GetParam().problem);
}

using P = xmlhttp::HeaderProblem;
INSTANTIATE_TEST_SUITE_P(
    Headers, CheckRequestHeaderTest,
    ::testing::Values(HeaderCase{"Ordinary", "Content-Type", "application/soap+xml", P::kNone},
                      HeaderCase{"EmptyValue", "X-Empty", "", P::kNone},
                      HeaderCase{"ValueWithCrLf", "X-A", "1\r\nX-Evil: 1", P::kBadValue},
                      HeaderCase{"NameWithSpace", "X A", "1", P::kBadName},
                      HeaderCase{"NameWithColon", "X:A", "1", P::kBadName},
                      HeaderCase{"EmptyName", "", "1", P::kBadName},
                      HeaderCase{"NonAsciiName", "X-\xC3\xA9", "1", P::kBadName},
                      HeaderCase{"TransferEncoding", "Transfer-Encoding", "chunked",
                                 P::kReservedName}),
    [](const auto& info) { return info.param.name; });

TEST(RequestHeaders, JoinsRepeatedNamesAndKeepsEmptyValues) {
  xmlhttp::RequestHeaders headers;
  headers.Set("X-List", " a ");
  headers.Set("Content-Type", "text/xml");
  headers.Set("x-list", "b");
  headers.Set("X-Empty", "");
  EXPECT_TRUE(headers.Has("content-type"));
  EXPECT_FALSE(headers.Has("Authorization"));
  EXPECT_EQ(headers.Lines(),
            (std::vector<std::string>{"X-List: a, b", "Content-Type: text/xml", "X-Empty;"}));
}

TEST(ParseHttpUrl, ReadsHostPortAndTarget) {
  const auto plain = xmlhttp::ParseHttpUrl("http://localhost:8080/Service.asmx");
  ASSERT_TRUE(std::holds_alternative<xmlhttp::HttpUrl>(plain));
  EXPECT_EQ(std::get<xmlhttp::HttpUrl>(plain).host, "localhost");
  EXPECT_EQ(std::get<xmlhttp::HttpUrl>(plain).port, "8080");
  EXPECT_EQ(std::get<xmlhttp::HttpUrl>(plain).target, "/Service.asmx");

  const auto secure = xmlhttp::ParseHttpUrl("HTTPS://[::1]/a/b?x=1&y=2");
  ASSERT_TRUE(std::holds_alternative<xmlhttp::HttpUrl>(secure));
  EXPECT_EQ(std::get<xmlhttp::HttpUrl>(secure).scheme, "https");
  EXPECT_EQ(std::get<xmlhttp::HttpUrl>(secure).host, "::1");
  EXPECT_EQ(std::get<xmlhttp::HttpUrl>(secure).port, "443");
  EXPECT_EQ(std::get<xmlhttp::HttpUrl>(secure).target, "/a/b?x=1&y=2");

  const auto bare = xmlhttp::ParseHttpUrl("http://example.test");
  ASSERT_TRUE(std::holds_alternative<xmlhttp::HttpUrl>(bare));
  EXPECT_EQ(std::get<xmlhttp::HttpUrl>(bare).port, "80");
  EXPECT_EQ(std::get<xmlhttp::HttpUrl>(bare).target, "/");
}

TEST(ParseHttpUrl, RefusesOtherSchemesAndWhatIsNoAbsoluteUrl) {
  using xmlhttp::UrlProblem;
  const auto problem = [](const char* url) {
    const auto parsed = xmlhttp::ParseHttpUrl(url);
    return std::holds_alternative<UrlProblem>(parsed) ? std::get<UrlProblem>(parsed)
                                                      : static_cast<UrlProblem>(-1);
  };
  EXPECT_EQ(problem("ftp://example.test/file"), UrlProblem::kUnsupportedScheme);
  EXPECT_EQ(problem("file:///etc/passwd"), UrlProblem::kUnsupportedScheme);
  EXPECT_EQ(problem("/Service.asmx"), UrlProblem::kMalformed);
  EXPECT_EQ(problem("localhost:8080/Service.asmx"), UrlProblem::kMalformed);
  EXPECT_EQ(problem(""), UrlProblem::kMalformed);
  EXPECT_EQ(problem("http://"), UrlProblem::kMalformed);
  EXPECT_EQ(problem("http://host name/"), UrlProblem::kMalformed);
}

TEST(ChooseReplyEncoding, TakesTheBomThenTheCharsetParameterElseUtf8) {
  const auto codePage = [](std::string_view body, std::string_view contentType) {
    return xmlhttp::ChooseReplyEncoding(body, contentType).codePage;
  };
  EXPECT_EQ(codePage("x", "text/xml; charset=utf-8"), CP_UTF8);
  EXPECT_EQ(codePage("x", "text/plain; format=flowed ;  CHARSET = \"Windows-1250\" "), 1250u);
  EXPECT_EQ(codePage("x", "text/plain;charset=cp1252;action=x"), 1252u);
  EXPECT_EQ(codePage("x", "text/plain; charset=ISO-8859-1"), 1252u) << "read as browsers read it";
  EXPECT_EQ(codePage("x", "text/plain; mycharset=cp1250"), CP_UTF8);
  EXPECT_EQ(codePage("x", "text/plain; charset=utf-16"), CP_UTF8);
  EXPECT_EQ(codePage("x", ""), CP_UTF8);

  const auto withBom = xmlhttp::ChooseReplyEncoding("\xEF\xBB\xBFx", "text/xml; charset=cp1250");
  EXPECT_EQ(withBom.codePage, CP_UTF8);
  EXPECT_EQ(withBom.bomLength, 3u);
  EXPECT_EQ(xmlhttp::ChooseReplyEncoding("\xEF\xBBx", "").bomLength, 0u);
}

}  // namespace

// What the component puts on the wire: the request line, the headers set and only the headers
// that belong there, the body as UTF-8, credentials, redirects and connections.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "support/http_text.h"
#include "support/scripted_server.h"
#include "windows.h"
#include "xmlhttp_test_support.h"

namespace xmlhttp_test {
namespace {

using tarvelo_test::HttpReply;
using tarvelo_test::ParsedRequest;
using tarvelo_test::ParseRequest;
using tarvelo_test::ScriptedServer;
using tarvelo_test::ScriptStep;

const std::string kOk = HttpReply("200 OK", {"Content-Type: text/plain; charset=utf-8"}, "ok");
const std::string kTolvexBasic = "Basic dG9sdmV4Omtxdj00Nw==";  // "tolvex:kqv=47"

// The dialog's default text: ASCII with Windows-1250 letters, as the program holds it.
std::u16string DefaultTextFromCodePage1250() {
  const char ansi[] =
      "added string to hello and check code page (\xE8\xE6\x9E\xF0\x9A\xC8\xC6\x8E\xD0\x8A)";
  std::u16string wide(sizeof ansi, u'\0');
  const int units = MultiByteToWideChar(1250, 0, ansi, -1, wide.data(), sizeof ansi);
  wide.resize(units > 0 ? units - 1 : 0);
  return wide;
}

struct BodyCase {
  const char* name;
  std::optional<std::u16string> body;
  std::string wire;
};

void PrintTo(const BodyCase& value, std::ostream* out) {
  *out << value.name;
}

class RequestBodyTest : public XmlHttpTest, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(RequestBodyTest, GoesAsUtf8WithTheHeadersThatBelongAndNoOthers) {
  const BodyCase& param = GetParam();
  ScriptedServer server({ScriptStep::Reply(kOk)});
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(Open(request.get(), u"POST", server.Url("/Service.asmx"), kServiceCredentials), S_OK);
  ASSERT_EQ(SetHeader(request.get(), u"Content-Type", u"application/soap+xml"), S_OK);
  ASSERT_EQ(Send(request.get(), param.body), S_OK);
  EXPECT_EQ(ResponseText(request.get()), u"ok");

  // Basic credentials go with the first request: one round trip.
  const auto raw = server.Requests();
  ASSERT_EQ(raw.size(), 1u);
  const ParsedRequest sent = ParseRequest(raw[0]);
  EXPECT_EQ(sent.method, "POST");
  EXPECT_EQ(sent.target, "/Service.asmx");
  EXPECT_EQ(sent.version, "HTTP/1.1");
  EXPECT_EQ(sent.Header("Host"), "127.0.0.1:" + std::to_string(server.port()));
  EXPECT_EQ(sent.HeaderCount("Content-Type"), 1);
  EXPECT_EQ(sent.Header("Content-Type"), "application/soap+xml");
  EXPECT_EQ(sent.Header("Content-Length"), std::to_string(param.wire.size()));
  EXPECT_EQ(sent.Header("Authorization"), kTolvexBasic);
  EXPECT_EQ(sent.body, param.wire);
  for (const char* absent : {"Expect", "Accept-Encoding", "Transfer-Encoding", "TE", "Upgrade"})
    EXPECT_EQ(sent.HeaderCount(absent), 0) << absent << " changes the exchange";
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, RequestBodyTest,
    ::testing::Values(
        BodyCase{"SoapEnvelope", u"<soap12:Envelope><srt>Tom</srt></soap12:Envelope>",
                 "<soap12:Envelope><srt>Tom</srt></soap12:Envelope>"},
        BodyCase{"LettersFromCodePage1250", DefaultTextFromCodePage1250(),
                 "added string to hello and check code page (\xC4\x8D\xC4\x87\xC5\xBE\xC4\x91"
                 "\xC5\xA1\xC4\x8C\xC4\x86\xC5\xBD\xC4\x90\xC5\xA0)"},
        BodyCase{"SurrogatesPairedAndLone", std::u16string{u'a', 0xD83D, 0xDE00, 0xD800, u'b'},
                 "a\xF0\x9F\x98\x80\xEF\xBF\xBD"
                 "b"},
        BodyCase{"LargeBodyWithoutExpect", std::u16string(2 << 20, u'x'),
                 std::string(2 << 20, 'x')},
        BodyCase{"NoBody", std::nullopt, ""}, BodyCase{"EmptyBody", u"", ""}),
    [](const auto& info) { return info.param.name; });

TEST_F(XmlHttpTest, SendsNoCredentialsAndNoContentTypeUnlessGiven) {
  ScriptedServer server({ScriptStep::Reply(kOk)});
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(Open(request.get(), u"post", server.Url("/plain")), S_OK);
  ASSERT_EQ(Send(request.get(), u"text"), S_OK);
  const auto raw = server.Requests();
  ASSERT_EQ(raw.size(), 1u);
  const ParsedRequest sent = ParseRequest(raw[0]);
  EXPECT_EQ(sent.method, "POST") << "the standard methods go in upper case";
  EXPECT_EQ(sent.HeaderCount("Authorization"), 0);
  EXPECT_EQ(sent.HeaderCount("Content-Type"), 0);
  EXPECT_EQ(sent.body, "text");
}

TEST_F(XmlHttpTest, SendsHeadersAsSetJoiningRepeatsAndKeepingEmptyValues) {
  ScriptedServer server({ScriptStep::Reply(kOk)});
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(Open(request.get(), u"GET", server.Url("/h")), S_OK);
  ASSERT_EQ(SetHeader(request.get(), u"X-List", u"a"), S_OK);
  ASSERT_EQ(SetHeader(request.get(), u"x-list", u"b"), S_OK);
  ASSERT_EQ(SetHeader(request.get(), u"X-Empty", u""), S_OK);
  ASSERT_EQ(SetHeader(request.get(), u"X-Text", u"na\u00EFve"), S_OK);
  ASSERT_EQ(Send(request.get(), u"ignored for GET"), S_OK);
  const auto raw = server.Requests();
  ASSERT_EQ(raw.size(), 1u);
  const ParsedRequest sent = ParseRequest(raw[0]);
  EXPECT_EQ(sent.method, "GET");
  EXPECT_EQ(sent.Header("X-List"), "a, b");
  EXPECT_EQ(sent.Header("X-Empty"), "");
  EXPECT_EQ(sent.Header("X-Text"), "na\xC3\xAFve");
  EXPECT_EQ(sent.body, "");
  EXPECT_EQ(sent.HeaderCount("Content-Length"), 0);
}

struct InjectionCase {
  const char* name;
  std::u16string header;
  std::u16string value;
};

void PrintTo(const InjectionCase& value, std::ostream* out) {
  *out << value.name;
}

class HeaderInjectionTest : public XmlHttpTest,
                            public ::testing::WithParamInterface<InjectionCase> {};

TEST_P(HeaderInjectionTest, IsRefusedAndNothingOfItIsSent) {
  ScriptedServer server({ScriptStep::Reply(kOk)});
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(Open(request.get(), u"POST", server.Url("/")), S_OK);
  EXPECT_EQ(SetHeader(request.get(), GetParam().header, GetParam().value), E_INVALIDARG);
  const ErrorReport report = TakeErrorReport(request.get());
  EXPECT_TRUE(report.present);
  EXPECT_FALSE(report.description.empty());

  ASSERT_EQ(Send(request.get(), u"body"), S_OK);
  const auto raw = server.Requests();
  ASSERT_EQ(raw.size(), 1u);
  const ParsedRequest sent = ParseRequest(raw[0]);
  EXPECT_EQ(sent.HeaderCount("X-Evil"), 0) << raw[0];
  EXPECT_EQ(sent.Header("Content-Length"), "4");
  EXPECT_EQ(sent.body, "body");
}

INSTANTIATE_TEST_SUITE_P(
    Headers, HeaderInjectionTest,
    ::testing::Values(InjectionCase{"CrLfInValue", u"X-A", u"1\r\nX-Evil: 1"},
                      InjectionCase{"LfInValue", u"X-A", u"1\nX-Evil: 1"},
                      InjectionCase{"CrInValue", u"X-A", u"1\rX-Evil: 1"},
                      InjectionCase{"CrLfInName", u"X-Evil: 1\r\nX-A", u"1"},
                      InjectionCase{"NulInValue", u"X-A", std::u16string(u"1\0X-Evil: 1", 11)},
                      InjectionCase{"LengthOverridden", u"Content-Length", u"0"}),
    [](const auto& info) { return info.param.name; });

TEST_F(XmlHttpTest, HeaderBeforeOpenIsRefused) {
  Ref<IXMLHTTPRequest> request = NewRequest();
  EXPECT_EQ(SetHeader(request.get(), u"Content-Type", u"text/xml"), E_UNEXPECTED);
  const ErrorReport report = TakeErrorReport(request.get());
  EXPECT_TRUE(report.present);
  EXPECT_NE(Narrow(report.description).find("after open"), std::string::npos);
}

TEST_F(XmlHttpTest, LocalhostReachesAServerOnTheIpv4Loopback) {
  ScriptedServer server({ScriptStep::Reply(kOk)});
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(
      Open(request.get(), u"GET", "http://localhost:" + std::to_string(server.port()) + "/local"),
      S_OK);
  ASSERT_EQ(Send(request.get(), std::nullopt), S_OK);
  EXPECT_EQ(ResponseText(request.get()), u"ok");
  EXPECT_EQ(server.AcceptedConnections(), 1);
}

// ---- Credentials -----------------------------------------------------------------------------

const std::string kDigestChallenge =
    HttpReply("401 Unauthorized",
              {"WWW-Authenticate: Basic realm=\"Service\"",
               "WWW-Authenticate: Digest realm=\"Service\", qop=\"auth\", nonce=\"4a5b6c\", "
               "opaque=\"0paque\""},
              "denied");

// A Digest challenge is answered by libcurl (its answer is checked where the program meets it,
// in the exchange's tests): the request goes once more, as it went, with Digest credentials.
TEST_F(XmlHttpTest, DigestChallengeIsAnsweredOnce) {
  ScriptedServer server({ScriptStep::Reply(kDigestChallenge), ScriptStep::Reply(kOk)});
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(Open(request.get(), u"POST", server.Url("/Service.asmx"), kServiceCredentials), S_OK);
  ASSERT_EQ(Send(request.get(), u"<srt/>"), S_OK);
  EXPECT_EQ(ResponseText(request.get()), u"ok");

  const auto raw = server.Requests();
  ASSERT_EQ(raw.size(), 2u);
  EXPECT_EQ(ParseRequest(raw[0]).Header("Authorization"), kTolvexBasic);
  const ParsedRequest answer = ParseRequest(raw[1]);
  EXPECT_EQ(answer.method, "POST");
  EXPECT_EQ(answer.body, "<srt/>");
  EXPECT_EQ(answer.HeaderCount("Authorization"), 1);
  const std::string authorization = answer.Header("Authorization").value_or("");
  EXPECT_TRUE(authorization.starts_with("Digest username=\"tolvex\"")) << authorization;
}

TEST_F(XmlHttpTest, RefusedCredentialsEndAsACompletedExchangeWithoutRetrying) {
  struct Case {
    const char* name;
    std::string challenge;
    std::size_t mostRequests;
  };
  // libcurl answers a refused Digest challenge once more at most (its answer counts up).
  const Case cases[] = {
      {"DigestRefusedAgain", kDigestChallenge, 3},
      {"BasicOnly",
       HttpReply("401 Unauthorized", {"WWW-Authenticate: Basic realm=\"S\""}, "denied"), 1}};
  for (const auto& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    ScriptedServer server({ScriptStep::Reply(testCase.challenge)},
                          ScriptedServer::WhenDone::kRepeatLastStep);
    Ref<IXMLHTTPRequest> request = NewRequest();
    ASSERT_EQ(Open(request.get(), u"POST", server.Url("/"), kServiceCredentials), S_OK);
    ASSERT_EQ(Send(request.get(), u"x"), S_OK);
    EXPECT_EQ(ResponseText(request.get()), u"denied");
    EXPECT_LE(server.Requests().size(), testCase.mostRequests);
  }
}

// ---- Redirects -------------------------------------------------------------------------------

struct RedirectCase {
  const char* status;
  const char* methodAfter;
  bool bodyKept;
};

void PrintTo(const RedirectCase& value, std::ostream* out) {
  *out << value.status;
}

class RedirectTest : public XmlHttpTest, public ::testing::WithParamInterface<RedirectCase> {};

TEST_P(RedirectTest, IsFollowedAsBrowsersFollowIt) {
  const RedirectCase& param = GetParam();
  ScriptedServer server(
      {ScriptStep::Reply(HttpReply(param.status, {"Location: /moved?to=here"}, "")),
       ScriptStep::Reply(HttpReply("200 OK", {}, "arrived"))});
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(Open(request.get(), u"POST", server.Url("/Service.asmx")), S_OK);
  ASSERT_EQ(SetHeader(request.get(), u"Content-Type", u"application/soap+xml"), S_OK);
  ASSERT_EQ(Send(request.get(), u"payload"), S_OK);
  EXPECT_EQ(ResponseText(request.get()), u"arrived");

  const auto raw = server.Requests();
  ASSERT_EQ(raw.size(), 2u);
  const ParsedRequest second = ParseRequest(raw[1]);
  EXPECT_EQ(second.target, "/moved?to=here");
  EXPECT_EQ(second.method, param.methodAfter);
  EXPECT_EQ(second.body, param.bodyKept ? "payload" : "");
}

INSTANTIATE_TEST_SUITE_P(Statuses, RedirectTest,
                         ::testing::Values(RedirectCase{"301 Moved Permanently", "GET", false},
                                           RedirectCase{"302 Found", "GET", false},
                                           RedirectCase{"303 See Other", "GET", false},
                                           RedirectCase{"307 Temporary Redirect", "POST", true},
                                           RedirectCase{"308 Permanent Redirect", "POST", true}),
                         [](const auto& info) { return std::string(info.param.status, 3); });

// ---- Connections -----------------------------------------------------------------------------

TEST_F(XmlHttpTest, EachObjectHasItsOwnConnectionAndClosesItOnRelease) {
  ScriptedServer server({ScriptStep::Reply(kOk)}, ScriptedServer::WhenDone::kRepeatLastStep);
  Ref<IXMLHTTPRequest> first = NewRequest();
  Ref<IXMLHTTPRequest> second = NewRequest();
  for (IXMLHTTPRequest* request : {first.get(), second.get()}) {
    ASSERT_EQ(Open(request, u"POST", server.Url("/")), S_OK);
    ASSERT_EQ(Send(request, u"x"), S_OK);
  }
  EXPECT_EQ(server.AcceptedConnections(), 2) << "two objects, two connections";

  // The same object may keep using its own connection.
  ASSERT_EQ(Open(first.get(), u"POST", server.Url("/")), S_OK);
  ASSERT_EQ(Send(first.get(), u"x"), S_OK);
  EXPECT_EQ(server.Requests().size(), 3u);
  EXPECT_EQ(server.AcceptedConnections(), 2);

  EXPECT_EQ(server.ConnectionsClosedByClient(), 0);
  EXPECT_EQ(first.ReleaseNow(), 0u);
  EXPECT_TRUE(server.WaitForClientCloses(1, std::chrono::seconds(5)));
  EXPECT_EQ(second.ReleaseNow(), 0u);
  EXPECT_TRUE(server.WaitForClientCloses(2, std::chrono::seconds(5)));

  // A new object after the others are gone starts a new connection too.
  Ref<IXMLHTTPRequest> third = NewRequest();
  ASSERT_EQ(Open(third.get(), u"POST", server.Url("/")), S_OK);
  ASSERT_EQ(Send(third.get(), u"x"), S_OK);
  EXPECT_EQ(server.AcceptedConnections(), 3);
}

}  // namespace
}  // namespace xmlhttp_test

// The HTTP pieces the component builds on: MD5 and Digest answers, challenges as servers write
// them, request headers that cannot break the request, and URLs.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <variant>

#include "digest_auth.h"
#include "http_url.h"
#include "md5.h"
#include "request_headers.h"

namespace {

TEST(Md5, MatchesTheReferenceVectors) {
  const std::pair<std::string, std::string> vectors[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [input, digest] : vectors) EXPECT_EQ(xmlhttp::Md5Hex(input), digest) << input;
}

TEST(Md5, PadsCorrectlyAroundTheBlockBoundary) {
  // 55 bytes still fit the length into one block, 56 need a second one; 64 is a whole block.
  EXPECT_EQ(xmlhttp::Md5Hex(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
  EXPECT_EQ(xmlhttp::Md5Hex(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
  EXPECT_EQ(xmlhttp::Md5Hex(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
}

const xmlhttp::DigestChallenge kReferenceChallenge = {
    "testrealm@host.com", "dcd98b7102dd2f0e8b11d0f600bfb0c093", "5ccc069c403ebaf9f0171e9517f40e41",
    std::nullopt, true};

TEST(DigestAuthorization, AnswersTheReferenceChallenge) {
  // The worked example of RFC 2617, section 3.5.
  const std::string header = xmlhttp::DigestAuthorization(
      kReferenceChallenge, {"Mufasa", "Circle Of Life"}, "GET", "/dir/index.html", "0a4f113b");
  EXPECT_EQ(header,
            "Digest username=\"Mufasa\", realm=\"testrealm@host.com\", "
            "nonce=\"dcd98b7102dd2f0e8b11d0f600bfb0c093\", uri=\"/dir/index.html\", "
            "response=\"6629fae49393a05397450978507c4ef1\", "
            "opaque=\"5ccc069c403ebaf9f0171e9517f40e41\", qop=auth, nc=00000001, "
            "cnonce=\"0a4f113b\"");
}

TEST(DigestAuthorization, FollowsTheChallengesVariants) {
  const xmlhttp::DigestCredentials credentials{"Mufasa", "Circle Of Life"};
  xmlhttp::DigestChallenge withoutQop = kReferenceChallenge;
  withoutQop.qopAuth = false;
  withoutQop.opaque.reset();
  // Without qop the answer is MD5(HA1:nonce:HA2), and no nc or cnonce is sent.
  const std::string ha1 = xmlhttp::Md5Hex("Mufasa:testrealm@host.com:Circle Of Life");
  const std::string ha2 = xmlhttp::Md5Hex("GET:/dir/index.html");
  const std::string plain =
      xmlhttp::DigestAuthorization(withoutQop, credentials, "GET", "/dir/index.html", "x");
  EXPECT_NE(plain.find("response=\"" + xmlhttp::Md5Hex(ha1 + ":" + withoutQop.nonce + ":" + ha2)),
            std::string::npos)
      << plain;
  EXPECT_EQ(plain.find("nc="), std::string::npos);
  EXPECT_EQ(plain.find("opaque"), std::string::npos);

  // MD5-sess folds the nonces into HA1, and the algorithm is named back.
  xmlhttp::DigestChallenge session = kReferenceChallenge;
  session.algorithm = "MD5-sess";
  const std::string sessionHa1 =
      xmlhttp::Md5Hex(ha1 + ":" + session.nonce + ":" + std::string("0a4f113b"));
  const std::string expected =
      xmlhttp::Md5Hex(sessionHa1 + ":" + session.nonce + ":00000001:0a4f113b:auth:" + ha2);
  const std::string answer =
      xmlhttp::DigestAuthorization(session, credentials, "GET", "/dir/index.html", "0a4f113b");
  EXPECT_NE(answer.find("algorithm=MD5-sess"), std::string::npos) << answer;
  EXPECT_NE(answer.find("response=\"" + expected + "\""), std::string::npos) << answer;
}

TEST(DigestAuthorization, EscapesQuotesInTheUserName) {
  const std::string header =
      xmlhttp::DigestAuthorization(kReferenceChallenge, {"a\"b\\c", "p"}, "POST", "/", "1");
  EXPECT_NE(header.find("username=\"a\\\"b\\\\c\""), std::string::npos) << header;
}

TEST(NewClientNonce, IsSixteenHexDigitsAndChanges) {
  const std::string first = xmlhttp::NewClientNonce();
  const std::string second = xmlhttp::NewClientNonce();
  EXPECT_EQ(first.size(), 16u);
  EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos) << first;
  EXPECT_NE(first, second);
}

struct ChallengeCase {
  const char* name;
  std::vector<std::string> headerValues;
  bool answerable;
  std::string realm;
  std::string nonce;
  bool qopAuth;
  std::optional<std::string> opaque;
};

void PrintTo(const ChallengeCase& value, std::ostream* out) {
  *out << value.name;
}

class FindDigestChallengeTest : public ::testing::TestWithParam<ChallengeCase> {};

TEST_P(FindDigestChallengeTest, ReadsWhatServersSend) {
  const auto& param = GetParam();
  const auto challenge = xmlhttp::FindDigestChallenge(param.headerValues);
  ASSERT_EQ(challenge.has_value(), param.answerable);
  if (!challenge) return;
  EXPECT_EQ(challenge->realm, param.realm);
  EXPECT_EQ(challenge->nonce, param.nonce);
  EXPECT_EQ(challenge->qopAuth, param.qopAuth);
  EXPECT_EQ(challenge->opaque, param.opaque);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, FindDigestChallengeTest,
    ::testing::Values(
        ChallengeCase{"Reference",
                      {"Digest realm=\"testrealm@host.com\", qop=\"auth,auth-int\", "
                       "nonce=\"dcd98b7102dd2f0e8b11d0f600bfb0c093\", "
                       "opaque=\"5ccc069c403ebaf9f0171e9517f40e41\""},
                      true,
                      "testrealm@host.com",
                      "dcd98b7102dd2f0e8b11d0f600bfb0c093",
                      true,
                      "5ccc069c403ebaf9f0171e9517f40e41"},
        ChallengeCase{"AfterBasicInOneHeader",
                      {"Basic realm=\"a, b\", Digest realm=\"r\", nonce=n1"},
                      true,
                      "r",
                      "n1",
                      false,
                      std::nullopt},
        ChallengeCase{"InASecondHeader",
                      {"Basic realm=\"x\"", "digest NONCE=\"q\\\"t\", Realm=\"R\", qop=auth"},
                      true,
                      "R",
                      "q\"t",
                      true,
                      std::nullopt},
        ChallengeCase{"BasicOnly", {"Basic realm=\"Service\""}, false, "", "", false, std::nullopt},
        ChallengeCase{"WithoutNonce", {"Digest realm=\"r\""}, false, "", "", false, std::nullopt},
        ChallengeCase{"OnlyAuthInt",
                      {"Digest realm=\"r\", nonce=\"n\", qop=\"auth-int\""},
                      false,
                      "",
                      "",
                      false,
                      std::nullopt},
        ChallengeCase{"Sha256PassedOverForMd5",
                      {"Digest realm=\"r\", nonce=\"s\", algorithm=SHA-256, qop=auth",
                       "Digest realm=\"r\", nonce=\"m\", algorithm=MD5, qop=auth"},
                      true,
                      "r",
                      "m",
                      true,
                      std::nullopt},
        ChallengeCase{"Nothing", {}, false, "", "", false, std::nullopt}),
    [](const auto& info) { return info.param.name; });

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

}  // namespace

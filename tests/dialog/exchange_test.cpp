// One exchange (CallWebService) on its own, inside the open window: the request it sends,
// how it judges the reply, what it leaves in the dialog, and every string it makes being
// freed exactly once on each path.
#include <openssl/evp.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "msxml2.h"
#include "objbase.h"
#include "run_fixture.h"
#include "soap/soap_message.h"
#include "support/counted_bstr_memory.h"
#include "support/failing_nothrow_new.h"
#include "support/free_port.h"
#include "support/http_text.h"

namespace {

using tarvelo_test::HttpReply;
using tarvelo_test::ParseRequest;
using tarvelo_test::ScriptedServer;
using tarvelo_test::ScriptStep;

constexpr char kFailureText[] = "Exception occurred - check the network";

// What the test run sets before its exchanges, set here by hand for one dialog; the
// credential strings are freed again at the end.
class ExchangeInputs {
 public:
  ExchangeInputs(CSoapTestDlg& dialog, const char* pszText) : m_dialog(dialog) {
    dialog.m_varUser.vt = VT_BSTR;
    dialog.m_varUser.bstrVal = SysAllocString(u"tolvex");
    dialog.m_varPassword.vt = VT_BSTR;
    dialog.m_varPassword.bstrVal = SysAllocString(u"kqv=47");
    dialog.m_varAsync.vt = VT_BOOL;
    dialog.m_varAsync.boolVal = VARIANT_FALSE;
    dialog.m_varBody.vt = VT_EMPTY;
    dialog.m_varBody.bstrVal = nullptr;
    dialog.m_bstrMethod = CountedWideString(kSoapMethod);
    dialog.m_strEnvelope = BuildSoapRequestBody(pszText);
  }
  ~ExchangeInputs() {
    SysFreeString(m_dialog.m_varUser.bstrVal);
    SysFreeString(m_dialog.m_varPassword.bstrVal);
    m_dialog.m_varUser.bstrVal = m_dialog.m_varPassword.bstrVal = nullptr;
  }
  ExchangeInputs(const ExchangeInputs&) = delete;
  ExchangeInputs& operator=(const ExchangeInputs&) = delete;

 private:
  CSoapTestDlg& m_dialog;
};

class ExchangeTest : public RunTest {
 protected:
  // Opens the dialog and, inside its window, runs `act` with a function that makes one
  // exchange the way the test run does (COM initialised around it).
  void InWindow(CSoapTestDlg& dialog, const std::function<void(const std::function<int()>&)>& act) {
    Run(dialog, [&](Dialog&) {
      act([&dialog] {
        CoInitialize(nullptr);
        const int result = dialog.CallWebService();
        CoUninitialize();
        return result;
      });
    });
  }

  // The reply and the body string are gone after every exchange, whatever its path.
  static void ExpectNothingHeld(const CSoapTestDlg& dialog, const std::string& name) {
    EXPECT_EQ(dialog.m_bstrResponse.WideText(), nullptr) << name;
    EXPECT_EQ(dialog.m_varBody.bstrVal, nullptr) << name;
  }
};

TEST_F(ExchangeTest, TheRequestIsASynchronousPostWithTheCredentialsAndOneContentType) {
  ScriptedServer server({run_test::PassingReply()});
  PointAt(server.port());
  CSoapTestDlg dialog;
  ExchangeInputs inputs(dialog, "Tom & Jerry \xE8\xE6");  // "čć" in Windows-1250
  int result = -1;
  InWindow(dialog, [&](const std::function<int()>& exchange) { result = exchange(); });
  EXPECT_EQ(result, 1);

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const tarvelo_test::ParsedRequest request = tarvelo_test::ParseRequest(requests[0]);
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.target, "/Service.asmx");
  EXPECT_EQ(request.Header("Host").value_or(""), "127.0.0.1:" + std::to_string(server.port()));
  EXPECT_EQ(request.Header("Authorization").value_or(""), "Basic dG9sdmV4Omtxdj00Nw==");
  EXPECT_EQ(request.HeaderCount("Content-Type"), 1);
  EXPECT_EQ(request.Header("Content-Type").value_or(""), "application/soap+xml");
  EXPECT_EQ(request.Header("Content-Length").value_or(""), std::to_string(request.body.size()));
  // The body as UTF-8, the text escaped and its Windows-1250 letters converted.
  EXPECT_EQ(request.body.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>", 0), 0u)
      << request.body;
  EXPECT_NE(request.body.find("<srt>Tom &amp; Jerry \xC4\x8D\xC4\x87</srt>"), std::string::npos)
      << request.body;
  EXPECT_TRUE(request.body.ends_with("</soap12:Envelope>")) << request.body;
}

TEST_F(ExchangeTest, TheReplyIsJudgedByTheFirstFiveCharactersOfItsResult) {
  struct Case {
    const char* name;
    std::string body;
    const char* status;
    int result;
    const char* szResult;
    const char* szError;
  };
  const std::string noResult = "<soap:Envelope><soap:Body/></soap:Envelope>";
  const Case cases[] = {
      {"a greeting", run_test::SoapReplyEnvelope("Hello Tom"), "200 OK", 1, "Hello", ""},
      {"exactly Hello", run_test::SoapReplyEnvelope("Hello"), "200 OK", 1, "Hello", ""},
      {"a long greeting", run_test::SoapReplyEnvelope("Hello" + std::string(2000, 'x')), "200 OK",
       1, "Hello", ""},
      {"another word", run_test::SoapReplyEnvelope("Hellish"), "200 OK", 0, "Helli", ""},
      {"lower case", run_test::SoapReplyEnvelope("hello Tom"), "200 OK", 0, "hello", ""},
      {"a short value", run_test::SoapReplyEnvelope("Hell"), "200 OK", 0, "Hell", ""},
      {"an empty value", run_test::SoapReplyEnvelope(""), "200 OK", 0, "", ""},
      {"a second result counts for nothing",
       "<simpleMethodResult>Bye</simpleMethodResult><simpleMethodResult>Hello</simpleMethodResult>",
       "200 OK", 0, "Bye", ""},
      {"no result element", noResult, "200 OK", 0, "", "Error begin search params not found ?"},
      {"no end marker", "<simpleMethodResult>Hello", "200 OK", 0, "",
       "Error search end params not found ?"},
      {"an empty body", "", "200 OK", 0, "", "Error begin search params not found ?"},
      {"a greeting in a fault", run_test::SoapReplyEnvelope("Hello"), "500 Internal Server Error",
       1, "Hello", ""},
  };
  for (const Case& c : cases) {
    backend.ClearMessageBoxes();
    ScriptedServer server({run_test::ReplyStep(c.status, c.body)});
    PointAt(server.port());
    CSoapTestDlg dialog;
    ExchangeInputs inputs(dialog, "Tom");
    std::strcpy(dialog.m_szError, "left over");
    int result = -1;
    long before = 0, after = 0;
    std::string shown;
    InWindow(dialog, [&](const std::function<int()>& exchange) {
      before = LiveBstrCount();
      result = exchange();
      after = LiveBstrCount();
    });
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_STREQ(dialog.m_szResult, c.szResult) << c.name;
    EXPECT_STREQ(dialog.m_szError, c.szError) << c.name;
    EXPECT_EQ(std::string(dialog.m_strResponse), c.body) << c.name;
    EXPECT_TRUE(backend.MessageBoxes().empty()) << c.name;
    EXPECT_EQ(after, before) << c.name;
    ExpectNothingHeld(dialog, c.name);
  }
}

TEST_F(ExchangeTest, TheResponseControlShowsTheReply) {
  ScriptedServer server({run_test::PassingReply("Hello shown")});
  PointAt(server.port());
  CSoapTestDlg dialog;
  ExchangeInputs inputs(dialog, "shown");
  std::string shown;
  Run(dialog, [&](Dialog& window) {
    CoInitialize(nullptr);
    dialog.CallWebService();
    CoUninitialize();
    shown = window.Text(IDC_RESPONSE);
  });
  EXPECT_EQ(shown, run_test::SoapReplyEnvelope("Hello shown"));
}

// Every failure inside the exchange ends in the one message box and 0, and leaves the earlier
// reply and judgement as they were.
TEST_F(ExchangeTest, AFailedExchangeShowsTheMessageBoxAndLeavesTheEarlierState) {
  struct Case {
    const char* name;
    std::function<void(CSoapTestDlg&)> arrange;  // runs in the window, just before the exchange
    bool comInitialized = true;
  };
  ScriptedServer closing({ScriptStep::CloseOnAccept()}, ScriptedServer::WhenDone::kRepeatLastStep);
  ScriptedServer fine({run_test::PassingReply()}, ScriptedServer::WhenDone::kRepeatLastStep);
  const int refusingPort = tarvelo_test::FreePort();
  const Case cases[] = {
      {"COM is not initialised", [&](CSoapTestDlg&) { PointAt(fine.port()); }, false},
      {"nothing listens", [&](CSoapTestDlg&) { PointAt(refusingPort); }},
      {"the server closes at once", [&](CSoapTestDlg&) { PointAt(closing.port()); }},
      {"open refuses an asynchronous request",
       [&](CSoapTestDlg& dialog) {
         PointAt(fine.port());
         dialog.m_varAsync.boolVal = VARIANT_TRUE;
       }},
      {"no memory for the first string",
       [&](CSoapTestDlg&) {
         PointAt(fine.port());
         FailNextBstrAllocations(1);
       }},
      {"no memory for the first string holder",
       [&](CSoapTestDlg&) {
         PointAt(fine.port());
         tarvelo_test::FailNextNothrowObjects(1, sizeof(WideStringBody));
       }},
      {"no memory for the reply's ANSI text",
       [&](CSoapTestDlg&) {
         PointAt(fine.port());
         tarvelo_test::FailNextNothrowArrays(1);
       }},
  };
  for (const Case& c : cases) {
    backend.ClearMessageBoxes();
    CSoapTestDlg dialog;
    ExchangeInputs inputs(dialog, "Tom");
    dialog.m_strResponse = "the earlier reply";
    std::strcpy(dialog.m_szResult, "Hello");
    std::strcpy(dialog.m_szError, "");
    int result = -1;
    long before = 0, after = 0;
    std::string shown;
    Run(dialog, [&](Dialog& window) {
      before = LiveBstrCount();
      c.arrange(dialog);
      if (c.comInitialized) CoInitialize(nullptr);
      result = dialog.CallWebService();
      if (c.comInitialized) CoUninitialize();
      FailNextBstrAllocations(0);
      tarvelo_test::FailNextNothrowObjects(0, sizeof(WideStringBody));
      tarvelo_test::FailNextNothrowArrays(0);
      after = LiveBstrCount();
      shown = window.Text(IDC_RESPONSE);
    });
    EXPECT_EQ(result, 0) << c.name;
    ASSERT_EQ(backend.MessageBoxes().size(), 1u) << c.name;
    EXPECT_EQ(backend.MessageBoxes()[0].text, kFailureText) << c.name;
    EXPECT_EQ(backend.MessageBoxes()[0].caption, "Error") << c.name;
    EXPECT_EQ(backend.MessageBoxes()[0].type, 0u) << c.name;
    EXPECT_EQ(dialog.m_strResponse, "the earlier reply") << c.name;
    EXPECT_EQ(shown, "the earlier reply") << c.name;
    EXPECT_STREQ(dialog.m_szResult, "Hello") << c.name;
    EXPECT_EQ(after, before) << c.name;
    ExpectNothingHeld(dialog, c.name);
  }
}

// Two good exchanges, then one that fails before its body is made: each string is freed once,
// by the exchange that made it (a second free would be caught by the sanitizers).
TEST_F(ExchangeTest, StringsAreFreedOnceAcrossExchanges) {
  ScriptedServer server({run_test::PassingReply("Hello 1"), run_test::PassingReply("Hello 2")});
  PointAt(server.port());
  CSoapTestDlg dialog;
  ExchangeInputs inputs(dialog, "Tom");
  std::vector<int> results;
  std::vector<long> live;
  InWindow(dialog, [&](const std::function<int()>& exchange) {
    live.push_back(LiveBstrCount());
    results.push_back(exchange());
    live.push_back(LiveBstrCount());
    results.push_back(exchange());
    live.push_back(LiveBstrCount());
    // One that cannot make its request object: COM is not initialised on the thread.
    results.push_back(dialog.CallWebService());
    live.push_back(LiveBstrCount());
    // And one that fails after its body was made: nothing listens any more.
    results.push_back(exchange());
    live.push_back(LiveBstrCount());
  });
  EXPECT_EQ(results, (std::vector<int>{1, 1, 0, 0}));
  ASSERT_EQ(live.size(), 5u);
  for (std::size_t i = 1; i < live.size(); ++i) EXPECT_EQ(live[i], live[0]) << "after " << i;
  EXPECT_EQ(backend.MessageBoxes().size(), 2u);
  EXPECT_NE(std::string(dialog.m_strResponse).find("Hello 2"), std::string::npos);
  ExpectNothingHeld(dialog, "after four exchanges");
}

// ---- Credentials -----------------------------------------------------------------------------

const std::string kDigestChallenge =
    "WWW-Authenticate: Digest realm=\"other\", qop=\"auth\", nonce=\"n0nce\", algorithm=MD5";
const std::string kBasicChallenge = "WWW-Authenticate: Basic realm=\"other\"";

ScriptStep Unauthorized(const std::string& challenge) {
  return ScriptStep::Reply(
      HttpReply("401 Unauthorized", {challenge, "Content-Type: text/plain"}, "who are you?"));
}

// MD5 in hex, by OpenSSL: the answer is checked with other code than the one that made it.
std::string Md5Hex(const std::string& text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EXPECT_EQ(EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr), 1);
  std::string hex;
  char pair[3];
  for (unsigned int i = 0; i < length; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", digest[i]);
    hex += pair;
  }
  return hex;
}

// The parameters of a Digest Authorization value, quotes removed.
std::map<std::string, std::string> DigestParameters(const std::string& header) {
  std::map<std::string, std::string> parameters;
  std::size_t at = header.find(' ');
  while (at < header.size()) {
    const std::size_t nameStart = header.find_first_not_of(" ,", at);
    const std::size_t equals = header.find('=', nameStart);
    if (nameStart == std::string::npos || equals == std::string::npos) break;
    const bool quoted = header[equals + 1] == '"';
    const std::size_t valueStart = equals + (quoted ? 2 : 1);
    const std::size_t end = std::min(header.find(quoted ? '"' : ',', valueStart), header.size());
    parameters[header.substr(nameStart, equals - nameStart)] =
        header.substr(valueStart, end - valueStart);
    at = end + 1;
  }
  return parameters;
}

// The endpoint redirects to another origin (another host and port), which asks for credentials:
// it gets none, its 401 is the reply, and the check fails without a message box.
TEST_F(ExchangeTest, CredentialsNeverFollowARedirectToAnotherOrigin) {
  for (const char* redirect : {"307 Temporary Redirect", "302 Found"}) {
    for (const std::string& challenge : {kDigestChallenge, kBasicChallenge}) {
      const std::string name = std::string(redirect) + ", " + challenge;
      backend.ClearMessageBoxes();
      ScriptedServer other({Unauthorized(challenge)}, ScriptedServer::WhenDone::kRepeatLastStep);
      const std::string location =
          "Location: http://localhost:" + std::to_string(other.port()) + "/Service.asmx";
      ScriptedServer endpoint({ScriptStep::Reply(HttpReply(redirect, {location}, ""))});
      PointAt(endpoint.port());
      CSoapTestDlg dialog;
      ExchangeInputs inputs(dialog, "Tom");
      int result = -1;
      InWindow(dialog, [&](const std::function<int()>& exchange) { result = exchange(); });

      EXPECT_EQ(result, 0) << name;
      EXPECT_TRUE(backend.MessageBoxes().empty()) << name;
      EXPECT_EQ(std::string(dialog.m_strResponse), "who are you?") << name;
      ASSERT_EQ(endpoint.Requests().size(), 1u) << name;
      EXPECT_TRUE(ParseRequest(endpoint.Requests()[0]).Header("Authorization")) << name;
      const std::vector<std::string> reached = other.Requests();
      EXPECT_EQ(reached.size(), 1u) << name << ": the challenge is not answered";
      for (const std::string& request : reached)
        EXPECT_EQ(ParseRequest(request).HeaderCount("Authorization"), 0) << name;
    }
  }
}

// Within the endpoint's origin a redirect keeps the credentials: Basic on the way, and one
// Digest answer to the challenge at the end of it, which is right for the password.
TEST_F(ExchangeTest, ARedirectWithinTheOriginKeepsTheCredentials) {
  ScriptedServer endpoint({ScriptStep::Reply(HttpReply("307 Temporary Redirect",
                                                       {"Location: /moved/Service.asmx"}, "")),
                           Unauthorized(kDigestChallenge), run_test::PassingReply()});
  PointAt(endpoint.port());
  CSoapTestDlg dialog;
  ExchangeInputs inputs(dialog, "Tom");
  int result = -1;
  InWindow(dialog, [&](const std::function<int()>& exchange) { result = exchange(); });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(backend.MessageBoxes().empty());

  const std::vector<std::string> requests = endpoint.Requests();
  ASSERT_EQ(requests.size(), 3u);
  const std::string basic = "Basic dG9sdmV4Omtxdj00Nw==";
  EXPECT_EQ(ParseRequest(requests[0]).Header("Authorization").value_or(""), basic);
  EXPECT_EQ(ParseRequest(requests[1]).Header("Authorization").value_or(""), basic);
  const tarvelo_test::ParsedRequest answer = ParseRequest(requests[2]);
  EXPECT_EQ(answer.method, "POST");
  EXPECT_EQ(answer.target, "/moved/Service.asmx");
  const std::string authorization = answer.Header("Authorization").value_or("");
  ASSERT_TRUE(authorization.starts_with("Digest ")) << authorization;
  auto parameters = DigestParameters(authorization);
  EXPECT_EQ(parameters["username"], "tolvex");
  EXPECT_EQ(parameters["realm"], "other");
  EXPECT_EQ(parameters["nonce"], "n0nce");
  EXPECT_EQ(parameters["uri"], "/moved/Service.asmx");
  const std::string ha1 = Md5Hex("tolvex:other:kqv=47");
  const std::string ha2 = Md5Hex("POST:/moved/Service.asmx");
  EXPECT_EQ(parameters["response"],
            Md5Hex(ha1 + ":n0nce:" + parameters["nc"] + ":" + parameters["cnonce"] + ":" +
                   parameters["qop"] + ":" + ha2))
      << authorization;
  EXPECT_EQ(parameters["qop"], "auth");
}

}  // namespace

// Transfers that fail: each ends in its Windows-style code, with a description that the
// program can read through ISupportErrorInfo and GetErrorInfo, and leaves no reply behind.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <ostream>
#include <string>

#include "support/counted_bstr_memory.h"
#include "support/free_port.h"
#include "support/http_text.h"
#include "support/scripted_server.h"
#include "xmlhttp_test_support.h"

namespace xmlhttp_test {
namespace {

using tarvelo_test::HttpReply;
using tarvelo_test::ScriptedServer;
using tarvelo_test::ScriptStep;

enum class Target { kScriptedServer, kUnusedPort, kUnresolvableName };

struct FailureCase {
  const char* name;
  Target target;
  std::vector<ScriptStep> script;
  ScriptedServer::WhenDone whenDone;
  HRESULT expected;
  const char* descriptionWords;
  std::size_t requests;  // that the server must have seen; 0 when not counted
};

void PrintTo(const FailureCase& value, std::ostream* out) {
  *out << value.name;
}

class TransferFailureTest : public XmlHttpTest,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(TransferFailureTest, ReturnsItsCodeAndADescription) {
  const FailureCase& param = GetParam();
  std::unique_ptr<ScriptedServer> server;
  std::string url;
  switch (param.target) {
    case Target::kScriptedServer:
      server = std::make_unique<ScriptedServer>(param.script, param.whenDone);
      url = server->Url("/Service.asmx");
      break;
    case Target::kUnusedPort:
      url = "http://127.0.0.1:" + std::to_string(tarvelo_test::FreePort()) + "/Service.asmx";
      break;
    case Target::kUnresolvableName:
      // A label longer than 63 characters fails in the local resolver; no query leaves the host.
      url = "http://" + std::string(64, 'a') + ".invalid/Service.asmx";
      break;
  }

  const long stringsBefore = LiveBstrCount();
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(Open(request.get(), u"POST", url, kServiceCredentials), S_OK);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(Send(request.get(), u"<srt>x</srt>"), param.expected);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));

  const ErrorReport report = TakeErrorReport(request.get());
  EXPECT_TRUE(report.offered);
  ASSERT_TRUE(report.present);
  EXPECT_NE(Narrow(report.description).find(param.descriptionWords), std::string::npos)
      << Narrow(report.description);
  EXPECT_EQ(report.source, u"Microsoft.XMLHTTP");
  EXPECT_TRUE(IsEqualGUID(report.guid, IID_IXMLHTTPRequest));

  // Nothing of a reply is there to read.
  Bstr text;
  EXPECT_EQ(request->get_responseText(text.Out()), E_PENDING);
  if (server && param.requests) {
    EXPECT_EQ(server->Requests().size(), param.requests);
  }
  EXPECT_EQ(request.ReleaseNow(), 0u);
  EXPECT_EQ(LiveBstrCount(), stringsBefore) << "a string of the failure was not freed";
}

const std::string kFullHeadThenShortBody =
    "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 100\r\n\r\nonly part";

INSTANTIATE_TEST_SUITE_P(
    Failures, TransferFailureTest,
    ::testing::Values(
        FailureCase{"NothingListening",
                    Target::kUnusedPort,
                    {},
                    {},
                    HRESULT_FROM_WIN32(ERROR_INTERNET_CANNOT_CONNECT),
                    "connection with the server could not be established",
                    0},
        FailureCase{"NameNotResolved",
                    Target::kUnresolvableName,
                    {},
                    {},
                    HRESULT_FROM_WIN32(ERROR_INTERNET_NAME_NOT_RESOLVED),
                    "could not be resolved",
                    0},
        FailureCase{"ClosedOnAccept",
                    Target::kScriptedServer,
                    {ScriptStep::CloseOnAccept()},
                    {},
                    HRESULT_FROM_WIN32(ERROR_INTERNET_CONNECTION_ABORTED),
                    "connection",
                    0},
        FailureCase{"ResetInTheHeaders",
                    Target::kScriptedServer,
                    {ScriptStep::ResetAfter("HTTP/1.1 200 OK\r\nContent-Ty")},
                    {},
                    HRESULT_FROM_WIN32(ERROR_INTERNET_CONNECTION_ABORTED),
                    "connection",
                    1},
        FailureCase{"ClosedInTheBody",
                    Target::kScriptedServer,
                    {ScriptStep::ReplyAndClose(kFullHeadThenShortBody)},
                    {},
                    HRESULT_FROM_WIN32(ERROR_INTERNET_CONNECTION_ABORTED),
                    "closed before the whole reply arrived",
                    1},
        FailureCase{"SilentServer",
                    Target::kScriptedServer,
                    {ScriptStep::Hang()},
                    {},
                    HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT),
                    "timed out",
                    1},
        FailureCase{"StallAfterTheHeaders",
                    Target::kScriptedServer,
                    {ScriptStep::StallAfter(kFullHeadThenShortBody)},
                    {},
                    HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT),
                    "timed out",
                    1},
        FailureCase{"GarbageReply",
                    Target::kScriptedServer,
                    {ScriptStep::ReplyAndClose("garbage, not HTTP\r\n\r\n")},
                    {},
                    HRESULT_FROM_WIN32(ERROR_HTTP_INVALID_SERVER_RESPONSE),
                    "invalid or unrecognized response",
                    1},
        FailureCase{"BrokenStatusLine",
                    Target::kScriptedServer,
                    {ScriptStep::ReplyAndClose("HTTP/1.1 OK\r\nContent-Length: 0\r\n\r\n")},
                    {},
                    HRESULT_FROM_WIN32(ERROR_HTTP_INVALID_SERVER_RESPONSE),
                    "invalid or unrecognized response",
                    1},
        // Ten redirects are followed; the eleventh ends the exchange.
        FailureCase{"TooManyRedirects",
                    Target::kScriptedServer,
                    {ScriptStep::Reply(HttpReply("302 Found", {"Location: /again"}, ""))},
                    ScriptedServer::WhenDone::kRepeatLastStep,
                    HRESULT_FROM_WIN32(ERROR_HTTP_REDIRECT_FAILED),
                    "redirected too many times",
                    11},
        FailureCase{
            "RedirectToAnotherScheme",
            Target::kScriptedServer,
            {ScriptStep::Reply(HttpReply("302 Found", {"Location: ftp://127.0.0.1/file"}, ""))},
            {},
            HRESULT_FROM_WIN32(ERROR_HTTP_REDIRECT_FAILED),
            "cannot be followed",
            1}),
    [](const auto& info) { return info.param.name; });

TEST_F(XmlHttpTest, ConnectingGivesUpAfterTheConnectTimeOut) {
  // A listener whose queue is full and never served: the handshake gets no answer.
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 0), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const int filler = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_EQ(connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(Open(request.get(), u"GET",
                 "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/"),
            S_OK);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(Send(request.get(), std::nullopt), HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT));
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_GE(took, std::chrono::milliseconds(1900));  // this program's connection limit
  EXPECT_LT(took, std::chrono::seconds(5));
  EXPECT_NE(Narrow(TakeErrorReport(request.get()).description).find("timed out"),
            std::string::npos);
  close(filler);
  close(listener);
}

TEST_F(XmlHttpTest, AFailedSendLeavesTheObjectUsable) {
  ScriptedServer server(
      {ScriptStep::CloseOnAccept(), ScriptStep::Reply(HttpReply("200 OK", {}, "second try"))});
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(Open(request.get(), u"POST", server.Url("/")), S_OK);
  ASSERT_TRUE(FAILED(Send(request.get(), u"x")));
  ASSERT_EQ(Open(request.get(), u"POST", server.Url("/")), S_OK);
  ASSERT_EQ(Send(request.get(), u"x"), S_OK);
  EXPECT_EQ(ResponseText(request.get()), u"second try");
}

}  // namespace
}  // namespace xmlhttp_test

// The exchange under faults: a whole run through the window against a server that misbehaves
// on purpose. Each case ends in what the operator is told (one message box or none), the count
// of successful exchanges, the reply the response field shows, and nothing lost.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/headless_session.h"
#include "support/counted_bstr_memory.h"
#include "support/free_port.h"
#include "support/http_text.h"
#include "support/scripted_server.h"
#include "support/service_process.h"

namespace e2e {
namespace {

using afx::headless::Dialog;
using tarvelo_test::HttpReply;
using tarvelo_test::ParsedRequest;
using tarvelo_test::ParseRequest;
using tarvelo_test::ScriptedServer;
using tarvelo_test::ScriptStep;
using tarvelo_test::ServiceProcess;
using WhenDone = ScriptedServer::WhenDone;

constexpr char kFailureText[] = "Exception occurred - check the network";
constexpr char kBasicCredentials[] = "Basic dG9sdmV4Omtxdj00Nw==";  // tolvex:kqv=47
// With the component's time-outs shortened to 2 s (connect) and 1 s (no progress), a run that
// fails in the transfer ends well within this.
constexpr auto kLongestFailedTransfer = std::chrono::seconds(15);

std::string SoapReply(std::string_view body, std::string_view charset = "utf-8") {
  return HttpReply("200 OK",
                   {"Content-Type: application/soap+xml; charset=" + std::string(charset)}, body);
}

const std::string kFaultBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>"
    "<soap:Fault><soap:Code><soap:Value>soap:Receiver</soap:Value></soap:Code>"
    "<soap:Reason><soap:Text xml:lang=\"en\">Server was unable to process request.</soap:Text>"
    "</soap:Reason></soap:Fault></soap:Body></soap:Envelope>";

const std::string kNoResultBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>"
    "<simpleMethodResponse xmlns=\"http://tempuri.org/\"/></soap:Body></soap:Envelope>";

// 10 MiB: the result first, then a long tail of other content.
constexpr std::size_t kLargeReplySize = 10u << 20;
constexpr char kEnvelopeEnd[] = "</soap:Envelope>";
std::string LargeReplyHead() {
  const std::string envelope = SoapReplyEnvelope("Hello large");
  return envelope.substr(0, envelope.size() - std::strlen(kEnvelopeEnd));
}
std::string LargeReplyBody() {
  const std::string close = kEnvelopeEnd;
  std::string body = LargeReplyHead();
  body += "<!--";
  body.append(kLargeReplySize - body.size() - 3 - close.size(), 'x');
  body += "-->" + close;
  return body;
}

// The same reply as chunks of 7 bytes, and without a Content-Length.
std::string ChunkedSoapReply(std::string_view body) {
  std::string reply =
      "HTTP/1.1 200 OK\r\nContent-Type: application/soap+xml; charset=utf-8\r\n"
      "Transfer-Encoding: chunked\r\n\r\n";
  constexpr std::size_t kChunk = 7;
  char size[16];
  for (std::size_t at = 0; at < body.size(); at += kChunk) {
    const std::string_view chunk = body.substr(at, kChunk);
    std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
    reply += size;
    reply += chunk;
    reply += "\r\n";
  }
  return reply + "0\r\n\r\n";
}

// Where the faulty run goes.
struct Target {
  std::unique_ptr<ScriptedServer> server;
  std::unique_ptr<ServiceProcess> service;
  std::string hostPort;
  std::string unavailable;  // why the target could not be made
};

Target Scripted(std::vector<ScriptStep> script, WhenDone whenDone = WhenDone::kStopListening) {
  Target target;
  target.server = std::make_unique<ScriptedServer>(std::move(script), whenDone);
  target.hostPort = "127.0.0.1:" + std::to_string(target.server->port());
  return target;
}

Target NothingListening() {
  Target target;
  target.hostPort = "127.0.0.1:" + std::to_string(tarvelo_test::FreePort());
  return target;
}

Target ServiceWithPassword(const std::string& password) {
  Target target;
  target.service =
      std::make_unique<ServiceProcess>(std::vector<std::string>{"--password", password});
  if (!target.service->running()) target.unavailable = target.service->error();
  target.hostPort = target.service->HostPort();
  return target;
}

// ---- The misbehaving ends of the faulty run

Target AcceptAndClose() {
  return Scripted({ScriptStep::CloseOnAccept()});
}

Target ResetInTheHeaders() {
  return Scripted({ScriptStep::ResetAfter("HTTP/1.1 200 OK\r\nContent-Ty")});
}

// The head and part of the body, then nothing: the component's no-progress time-out ends it.
Target HeadersThenSilence() {
  return Scripted({ScriptStep::StallAfter(
      "HTTP/1.1 200 OK\r\nContent-Type: application/soap+xml\r\nContent-Length: 400\r\n\r\n"
      "<?xml version=\"1.0\"?><soap:Envelope")});
}

Target ServerErrorWithSoapFault() {
  return Scripted({ScriptStep::Reply(
      HttpReply("500 Internal Server Error", {"Content-Type: application/soap+xml; charset=utf-8"},
                kFaultBody))});
}

// The real service, expecting another password: it answers 401 with a Basic challenge.
constexpr char kWrongCredentialsText[] = "The user name or the password is wrong\n";
Target WrongPasswordAtTheService() {
  return ServiceWithPassword("not-kqv=47");
}

Target ReplyWithoutResult() {
  return Scripted({ScriptStep::Reply(SoapReply(kNoResultBody))});
}

Target EmptyReply() {
  return Scripted({ScriptStep::Reply(SoapReply(""))});
}

Target TenMebibyteReply() {
  return Scripted({ScriptStep::Reply(SoapReply(LargeReplyBody()))}, WhenDone::kRepeatLastStep);
}

Target ChunkedReply() {
  return Scripted({ScriptStep::Reply(ChunkedSoapReply(SoapReplyEnvelope("Hello in chunks")))},
                  WhenDone::kRepeatLastStep);
}

// The reply is decoded by its charset and shown as the ANSI code page (1250) holds it: the
// letters it lacks (Ñ, Greek) become "?", and so does the replacement of a malformed byte.
Target Latin1Reply() {
  return Scripted({ScriptStep::Reply(SoapReply(SoapReplyEnvelope("Hello caf\xE9 \xD1"
                                                                 "and\xFA"),
                                               "iso-8859-1"))},
                  WhenDone::kRepeatLastStep);
}

Target Windows1250Reply() {
  return Scripted({ScriptStep::Reply(
                      SoapReply(SoapReplyEnvelope("Hello \xE8\x9A\xF0\x8E \xC8"), "windows-1250"))},
                  WhenDone::kRepeatLastStep);
}

Target InvalidUtf8Reply() {
  return Scripted(
      {ScriptStep::Reply(SoapReply(SoapReplyEnvelope("Hello \xFF ok \xC3\xA9 \xCE\xB1")))},
      WhenDone::kRepeatLastStep);
}

Target RedirectToTheEndpoint() {
  return Scripted(
      {ScriptStep::Reply(HttpReply("307 Temporary Redirect", {"Location: /Service.asmx"}, "")),
       ScriptStep::Reply(SoapReply(SoapReplyEnvelope("Hello after redirect")))});
}

// The fourth connection is refused, or accepted and closed unanswered when it came before the
// server stopped listening.
Target ServerStopsAfterThreeOfFive() {
  return Scripted({ScriptStep::Reply(SoapReply(SoapReplyEnvelope("Hello one"))),
                   ScriptStep::Reply(SoapReply(SoapReplyEnvelope("Hello two"))),
                   ScriptStep::Reply(SoapReply(SoapReplyEnvelope("Hello three")))});
}

enum class Shown { kEarlierReply, kExactly, kLargeReply };

// How many requests the scripted server must have seen.
struct RequestCount {
  std::size_t least;
  std::size_t most;
};

struct FaultCase {
  const char* name;
  Target (*makeTarget)();
  const char* times;  // the count typed for the faulty run
  bool messageBox;
  int timesDone;
  Shown shown;
  std::string response;  // kExactly: the whole text; kLargeReply: how it begins (UTF-8)
  RequestCount requests;
};

void PrintTo(const FaultCase& value, std::ostream* out) {
  *out << value.name;
}

class ExchangeFaultTest : public HeadlessSessionTest,
                          public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ExchangeFaultTest, EndsAsTheFailureRulesSayAndLosesNothing) {
  const FaultCase& c = GetParam();
  // A first run against a sound server puts a reply into the window.
  ScriptedServer primer({ScriptStep::Reply(SoapReply(SoapReplyEnvelope("Hello primer")))});
  Target target = c.makeTarget();
  if (!target.unavailable.empty()) GTEST_SKIP() << target.unavailable;

  WindowFields first, faulty;
  std::size_t boxesAfterFirst = 0;
  long stringsAfterFirst = 0, stringsAfterFaulty = 0;
  std::chrono::steady_clock::duration took{};
  RunSession([&](Dialog& window) {
    UseServiceHost("127.0.0.1:" + std::to_string(primer.port()));
    first = CallWebService(window, "1");
    boxesAfterFirst = backend.MessageBoxes().size();
    stringsAfterFirst = LiveBstrCount();

    UseServiceHost(target.hostPort);
    const auto started = std::chrono::steady_clock::now();
    faulty = CallWebService(window, c.times);
    took = std::chrono::steady_clock::now() - started;
    stringsAfterFaulty = LiveBstrCount();
  });

  ASSERT_EQ(first.timesDone, "1") << "the first run against the sound server";
  ASSERT_EQ(first.response, SoapReplyEnvelope("Hello primer"));
  ASSERT_EQ(boxesAfterFirst, 0u);

  const auto& boxes = backend.MessageBoxes();
  if (c.messageBox) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kFailureText);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].type, 0u);
  } else {
    EXPECT_TRUE(boxes.empty()) << "message box: " << boxes[0].text;
  }

  EXPECT_EQ(faulty.timesDone, std::to_string(c.timesDone));
  ExpectWellFormedFigures(faulty);
  switch (c.shown) {
    case Shown::kEarlierReply:
      EXPECT_EQ(faulty.response, first.response) << "the earlier reply must stay";
      break;
    case Shown::kExactly:
      EXPECT_EQ(faulty.response, c.response);
      break;
    case Shown::kLargeReply:
      EXPECT_EQ(faulty.response.size(), kLargeReplySize);
      EXPECT_EQ(faulty.response.substr(0, c.response.size()), c.response);
      EXPECT_TRUE(faulty.response.ends_with(kEnvelopeEnd));
      break;
  }
  EXPECT_EQ(stringsAfterFaulty, stringsAfterFirst) << "the run lost Automation strings";
  if (c.messageBox) {
    EXPECT_LT(took, kLongestFailedTransfer);
  }

  if (target.server) {
    // Every request that reached the server was the run's request, as the window showed it.
    const std::vector<std::string> requests = target.server->Requests();
    EXPECT_GE(requests.size(), c.requests.least);
    EXPECT_LE(requests.size(), c.requests.most);
    for (const std::string& raw : requests) {
      const ParsedRequest request = ParseRequest(raw);
      EXPECT_EQ(request.method, "POST");
      EXPECT_EQ(request.target, "/Service.asmx");
      EXPECT_EQ(request.Header("Authorization").value_or(""), kBasicCredentials);
      EXPECT_EQ(request.Header("Content-Type").value_or(""), "application/soap+xml");
      EXPECT_EQ(request.body, faulty.request);
    }
  }
}

// clang-format off
const FaultCase kFaultCases[] = {
    //  case                         target                       count box  done shown                 response                               requests
    {"NothingListening",            NothingListening,            "5", true,  0, Shown::kEarlierReply, "",                                    {0, 0}},
    {"AcceptAndClose",              AcceptAndClose,              "5", true,  0, Shown::kEarlierReply, "",                                    {0, 0}},
    {"ResetInTheHeaders",           ResetInTheHeaders,           "5", true,  0, Shown::kEarlierReply, "",                                    {1, 1}},
    {"HeadersThenSilence",          HeadersThenSilence,          "5", true,  0, Shown::kEarlierReply, "",                                    {1, 1}},
    {"ServerErrorWithSoapFault",    ServerErrorWithSoapFault,    "5", false, 0, Shown::kExactly,      kFaultBody,                            {1, 1}},
    {"WrongPasswordAtTheService",   WrongPasswordAtTheService,   "5", false, 0, Shown::kExactly,      kWrongCredentialsText,                 {0, 0}},
    {"ReplyWithoutResult",          ReplyWithoutResult,          "5", false, 0, Shown::kExactly,      kNoResultBody,                         {1, 1}},
    {"EmptyReply",                  EmptyReply,                  "5", false, 0, Shown::kExactly,      "",                                    {1, 1}},
    {"TenMebibyteReply",            TenMebibyteReply,            "2", false, 2, Shown::kLargeReply,   LargeReplyHead(),                      {2, 2}},
    {"ChunkedReply",                ChunkedReply,                "3", false, 3, Shown::kExactly,      SoapReplyEnvelope("Hello in chunks"),      {3, 3}},
    {"Latin1Reply",                 Latin1Reply,                 "2", false, 2, Shown::kExactly,      SoapReplyEnvelope("Hello café ?andú"),     {2, 2}},
    {"Windows1250Reply",            Windows1250Reply,            "2", false, 2, Shown::kExactly,      SoapReplyEnvelope("Hello čšđŽ Č"),         {2, 2}},
    {"InvalidUtf8Reply",            InvalidUtf8Reply,            "2", false, 2, Shown::kExactly,      SoapReplyEnvelope("Hello ? ok é ?"),       {2, 2}},
    {"RedirectToTheEndpoint",       RedirectToTheEndpoint,       "1", false, 1, Shown::kExactly,      SoapReplyEnvelope("Hello after redirect"), {2, 2}},
    {"ServerStopsAfterThreeOfFive", ServerStopsAfterThreeOfFive, "5", true,  3, Shown::kExactly,      SoapReplyEnvelope("Hello three"),          {3, 4}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Matrix, ExchangeFaultTest, ::testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e

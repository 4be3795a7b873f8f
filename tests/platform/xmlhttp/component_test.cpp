// The request object as a COM object: its interfaces and references, the order of its calls,
// the arguments of open, and the failures of a transfer.
#include <chrono>
#include <string>

#include "support/counted_bstr_memory.h"
#include "support/http_text.h"
#include "support/scripted_server.h"
#include "xmlhttp_test_support.h"

namespace xmlhttp_test {
namespace {

using tarvelo_test::HttpReply;
using tarvelo_test::ScriptedServer;
using tarvelo_test::ScriptStep;

TEST_F(XmlHttpTest, AnswersItsInterfacesAsOneObject) {
  const Request request = NewRequest();
  void *fromRequest = nullptr, *fromSupport = nullptr, *other = &fromRequest;
  ISupportErrorInfo* support = nullptr;
  ASSERT_EQ(request->QueryInterface(IID_IUnknown, &fromRequest), S_OK);
  ASSERT_EQ(request->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
            S_OK);
  ASSERT_EQ(support->QueryInterface(IID_IUnknown, &fromSupport), S_OK);
  EXPECT_EQ(fromRequest, fromSupport);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IUnknown), S_FALSE);
  EXPECT_EQ(request->QueryInterface(IID_IErrorInfo, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  // Every reference counts on the one object: releasing three leaves the test's own.
  support->Release();
  static_cast<IUnknown*>(fromRequest)->Release();
  EXPECT_EQ(static_cast<IUnknown*>(fromSupport)->Release(), 1u);
}

TEST_F(XmlHttpTest, TakesItsCallsInOrderAndASecondOpenForgetsTheFirstRequest) {
  ScriptedServer server({ScriptStep::Reply(HttpReply("200 OK", {}, "first")),
                         ScriptStep::Reply(HttpReply("200 OK", {}, "second"))});
  const Request request = NewRequest();
  BSTR text = nullptr;
  EXPECT_EQ(Send(request.get(), nullptr), E_UNEXPECTED);
  EXPECT_NE(TakeErrorDescription(request.get()).find("opened before"), std::string::npos);
  EXPECT_EQ(SetHeader(request.get(), u"X-A", u"1"), E_UNEXPECTED);
  EXPECT_EQ(request->get_responseText(&text), E_PENDING);
  EXPECT_NE(TakeErrorDescription(request.get()).find("not yet available"), std::string::npos);
  EXPECT_EQ(request->get_responseText(nullptr), E_POINTER);

  ASSERT_EQ(OpenAsTheProgram(request.get(), server.Url("/first")), S_OK);
  ASSERT_EQ(SetHeader(request.get(), u"X-Only-First", u"1"), S_OK);
  // Headers that could break the request are refused, with a reason.
  const std::pair<std::u16string, std::u16string> refused[] = {
      {u"X-A", u"1\r\nX-Evil: 1"}, {u"X-Evil: 1\r\nX-A", u"1"}, {u"Content-Length", u"0"}};
  for (const auto& [name, value] : refused) {
    EXPECT_EQ(SetHeader(request.get(), name, value), E_INVALIDARG);
    EXPECT_FALSE(TakeErrorDescription(request.get()).empty());
  }
  ASSERT_EQ(Send(request.get(), u"x"), S_OK);
  EXPECT_EQ(ResponseText(request.get()), u"first");
  // A completed request is neither sent again nor changed.
  EXPECT_EQ(Send(request.get(), u"x"), E_UNEXPECTED);
  EXPECT_EQ(SetHeader(request.get(), u"X-Late", u"1"), E_UNEXPECTED);

  ASSERT_EQ(Open(request.get(), u"POST", server.Url("/second")), S_OK);
  EXPECT_EQ(request->get_responseText(&text), E_PENDING);
  ASSERT_EQ(Send(request.get(), u"x"), S_OK);
  EXPECT_EQ(ResponseText(request.get()), u"second");
  ASSERT_EQ(server.Requests().size(), 2u);
  const tarvelo_test::ParsedRequest first = tarvelo_test::ParseRequest(server.Requests()[0]);
  const tarvelo_test::ParsedRequest second = tarvelo_test::ParseRequest(server.Requests()[1]);
  EXPECT_TRUE(first.Header("X-Only-First") && first.Header("Authorization"));
  EXPECT_FALSE(first.Header("X-Evil") || first.Header("X-A"));
  EXPECT_EQ(first.Header("Content-Length"), "1");
  EXPECT_FALSE(second.Header("X-Only-First") || second.Header("Authorization"));
}

TEST_F(XmlHttpTest, OpenTakesASynchronousRequestForAnHttpUrlAndRefusesTheRestWithAReason) {
  const std::string url = "http://127.0.0.1:9/Service.asmx";
  const Bstr yes = MakeBstr(u"true");
  VARIANT one{};
  one.vt = VT_I4;
  one.lVal = 1;
  struct Case {
    const char* name;
    std::u16string method;
    std::string url;
    VARIANT async;
    VARIANT user;
    HRESULT expected;
    const char* reason;
  };
  const Case cases[] = {
      {"async false", u"POST", url, Bool(VARIANT_FALSE), Missing(), S_OK, ""},
      {"async any true value", u"POST", url, Bool(1), Missing(), E_NOTIMPL, "Asynchronous"},
      {"async as a number", u"POST", url, one, Missing(), E_NOTIMPL, "Asynchronous"},
      {"another scheme", u"POST", "ftp://127.0.0.1/file", Missing(), Missing(), E_INVALIDARG,
       "http and https"},
      {"a relative URL", u"POST", "/Service.asmx", Missing(), Missing(), E_INVALIDARG,
       "absolute URL"},
      {"a method with a line break", u"POST\r\nX: 1", url, Missing(), Missing(), E_INVALIDARG,
       "method"},
      {"async as a text", u"POST", url, Text(yes), Missing(), E_INVALIDARG, "Boolean"},
      {"a user name that is no text", u"POST", url, Missing(), one, E_INVALIDARG, "user name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Request request = NewRequest();
    EXPECT_EQ(Open(request.get(), c.method, c.url, c.async, c.user), c.expected);
    if (FAILED(c.expected)) {
      EXPECT_NE(TakeErrorDescription(request.get()).find(c.reason), std::string::npos);
    }
    // Only an opened request takes headers.
    EXPECT_EQ(SetHeader(request.get(), u"X-A", u"1"), SUCCEEDED(c.expected) ? S_OK : E_UNEXPECTED);
  }
}

TEST_F(XmlHttpTest, AFailedTransferGivesItsCodeAndADescriptionAndLeavesNoReply) {
  struct Case {
    const char* name;
    ScriptStep step;  // played for every request
    DWORD error;
    const char* reason;
  };
  const Case cases[] = {
      {"a silent server", ScriptStep::Hang(), ERROR_INTERNET_TIMEOUT, "timed out"},
      {"closed in the body",
       ScriptStep::ReplyAndClose("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly part"),
       ERROR_INTERNET_CONNECTION_ABORTED, "closed before the whole reply arrived"},
      {"not HTTP", ScriptStep::ReplyAndClose("garbage, not HTTP\r\n\r\n"),
       ERROR_HTTP_INVALID_SERVER_RESPONSE, "invalid or unrecognized response"},
      {"redirected again and again",
       ScriptStep::Reply(HttpReply("302 Found", {"Location: /again"}, "")),
       ERROR_HTTP_REDIRECT_FAILED, "redirected too many times"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedServer server({c.step}, ScriptedServer::WhenDone::kRepeatLastStep);
    const long stringsBefore = LiveBstrCount();
    Request request = NewRequest();
    ASSERT_EQ(OpenAsTheProgram(request.get(), server.Url("/Service.asmx")), S_OK);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Send(request.get(), u"<srt>x</srt>"), HRESULT_FROM_WIN32(c.error));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_NE(TakeErrorDescription(request.get()).find(c.reason), std::string::npos);
    BSTR text = nullptr;
    EXPECT_EQ(request->get_responseText(&text), E_PENDING);
    request.reset();
    EXPECT_EQ(LiveBstrCount(), stringsBefore);
  }
}

}  // namespace
}  // namespace xmlhttp_test

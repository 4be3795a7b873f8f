// The request object as a COM object: how it is made, its interfaces and references, the order
// of its calls, and the arguments it refuses.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "support/counted_bstr_memory.h"
#include "support/http_text.h"
#include "support/scripted_server.h"
#include "xmlhttp_test_support.h"

namespace xmlhttp_test {
namespace {

using tarvelo_test::HttpReply;
using tarvelo_test::ScriptedServer;
using tarvelo_test::ScriptStep;

class ComponentObjectTest : public XmlHttpTest {};

TEST_F(ComponentObjectTest, IsMadeFromItsProgIdOrItsClassId) {
  CLSID byName{};
  ASSERT_EQ(CLSIDFromProgID(u"Microsoft.XMLHTTP", &byName), S_OK);
  EXPECT_TRUE(IsEqualCLSID(byName, CLSID_XMLHTTPRequest));
  CLSID byString{};
  ASSERT_EQ(CLSIDFromString(u"{ED8C108E-4349-11D2-91A4-00C04F7969E8}", &byString), S_OK);
  EXPECT_TRUE(IsEqualCLSID(byString, CLSID_XMLHTTPRequest));

  // The way the program makes it: IUnknown first, then running, then the request interface.
  Ref<IUnknown> object;
  ASSERT_EQ(CoCreateInstance(byName, nullptr, CLSCTX_ALL, IID_IUnknown, object.Out()), S_OK);
  ASSERT_EQ(OleRun(object.get()), S_OK);
  Ref<IXMLHTTPRequest> request;
  ASSERT_EQ(object->QueryInterface(IID_IXMLHTTPRequest, request.Out()), S_OK);
}

TEST_F(ComponentObjectTest, AnswersItsInterfacesWithOneIdentity) {
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_TRUE(request);
  Ref<ISupportErrorInfo> support;
  ASSERT_EQ(request->QueryInterface(IID_ISupportErrorInfo, support.Out()), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IXMLHTTPRequest), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IUnknown), S_FALSE);

  Ref<IUnknown> fromRequest;
  Ref<IUnknown> fromSupport;
  ASSERT_EQ(request->QueryInterface(IID_IUnknown, fromRequest.Out()), S_OK);
  ASSERT_EQ(support->QueryInterface(IID_IUnknown, fromSupport.Out()), S_OK);
  EXPECT_EQ(fromRequest.get(), fromSupport.get());

  Ref<IErrorInfo> notOffered;
  EXPECT_EQ(request->QueryInterface(IID_IErrorInfo, notOffered.Out()), E_NOINTERFACE);
  EXPECT_EQ(notOffered.get(), nullptr);
  EXPECT_EQ(request->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(ComponentObjectTest, CountsEveryReferenceAndGoesWithTheLast) {
  ScriptedServer server({ScriptStep::Reply(HttpReply("200 OK", {}, "ok"))});
  const long stringsBefore = LiveBstrCount();
  {
    Ref<IXMLHTTPRequest> request = NewRequest();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->AddRef(), 2u);
    EXPECT_EQ(request->Release(), 1u);

    // A reference through the second interface counts on the same object.
    ISupportErrorInfo* support = nullptr;
    ASSERT_EQ(request->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)),
              S_OK);
    EXPECT_EQ(support->AddRef(), 3u);
    EXPECT_EQ(support->Release(), 2u);
    EXPECT_EQ(support->Release(), 1u);

    // An exchange and its reply strings add no references and leave no strings behind.
    ASSERT_EQ(Open(request.get(), u"POST", server.Url()), S_OK);
    ASSERT_EQ(Send(request.get(), u"body"), S_OK);
    EXPECT_EQ(ResponseText(request.get()), u"ok");
    EXPECT_EQ(request.ReleaseNow(), 0u);
  }
  EXPECT_EQ(LiveBstrCount(), stringsBefore);
  EXPECT_TRUE(server.WaitForClientCloses(1, std::chrono::seconds(5)))
      << "the last Release must close the object's connection";
}

TEST_F(ComponentObjectTest, TakesItsCallsInOrderAndOpeningAgainForgetsTheReply) {
  ScriptedServer server({ScriptStep::Reply(HttpReply("200 OK", {}, "first")),
                         ScriptStep::Reply(HttpReply("200 OK", {}, "second"))});
  Ref<IXMLHTTPRequest> request = NewRequest();
  Bstr text;
  EXPECT_EQ(Send(request.get(), std::nullopt), E_UNEXPECTED);
  EXPECT_EQ(request->get_responseText(text.Out()), E_PENDING);
  EXPECT_EQ(text.get(), nullptr);
  const ErrorReport report = TakeErrorReport(request.get());
  EXPECT_TRUE(report.present);
  EXPECT_NE(Narrow(report.description).find("not yet available"), std::string::npos)
      << Narrow(report.description);
  EXPECT_EQ(request->get_responseText(nullptr), E_POINTER);

  ASSERT_EQ(Open(request.get(), u"POST", server.Url()), S_OK);
  ASSERT_EQ(Send(request.get(), u"x"), S_OK);
  EXPECT_EQ(ResponseText(request.get()), u"first");
  // A completed request is not sent twice, nor changed.
  EXPECT_EQ(Send(request.get(), u"x"), E_UNEXPECTED);
  EXPECT_EQ(SetHeader(request.get(), u"X-Late", u"1"), E_UNEXPECTED);

  ASSERT_EQ(Open(request.get(), u"POST", server.Url()), S_OK);
  EXPECT_EQ(request->get_responseText(text.Out()), E_PENDING);
  ASSERT_EQ(Send(request.get(), u"x"), S_OK);
  EXPECT_EQ(ResponseText(request.get()), u"second");
}

TEST_F(ComponentObjectTest, ReplyStringsThatCannotBeMadeFailWithOutOfMemory) {
  ScriptedServer server({ScriptStep::Reply(HttpReply("200 OK", {}, "reply"))});
  Ref<IXMLHTTPRequest> request = NewRequest();
  ASSERT_EQ(Open(request.get(), u"GET", server.Url()), S_OK);
  ASSERT_EQ(Send(request.get(), std::nullopt), S_OK);
  Bstr text;
  FailNextBstrAllocations(1);
  EXPECT_EQ(request->get_responseText(text.Out()), E_OUTOFMEMORY);
  EXPECT_EQ(text.get(), nullptr);
  EXPECT_TRUE(TakeErrorReport(request.get()).present);
  FailNextBstrAllocations(0);
  // The reply is still there once memory is back.
  EXPECT_EQ(ResponseText(request.get()), u"reply");
}

struct OpenCase {
  const char* name;
  std::u16string method;
  std::u16string url;
  VARIANT async;
  VARIANT user;
  HRESULT expected;
  const char* descriptionWords;  // expected in the description of a failure
};

void PrintTo(const OpenCase& value, std::ostream* out) {
  *out << value.name;
}

VARIANT IntegerArgument(LONG value) {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_I4;
  argument.lVal = value;
  return argument;
}

VARIANT EmptyArgument() {
  VARIANT argument;
  VariantInit(&argument);
  return argument;
}

class OpenArgumentsTest : public XmlHttpTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenArgumentsTest, AreAcceptedOrRefusedWithAReason) {
  const OpenCase& param = GetParam();
  Ref<IXMLHTTPRequest> request = NewRequest();
  const Bstr method(param.method);
  const Bstr url(param.url);
  const HRESULT hr =
      request->open(method.get(), url.get(), param.async, param.user, MissingArgument());
  EXPECT_EQ(hr, param.expected);
  if (FAILED(param.expected)) {
    const ErrorReport report = TakeErrorReport(request.get());
    EXPECT_TRUE(report.present);
    EXPECT_NE(Narrow(report.description).find(param.descriptionWords), std::string::npos)
        << Narrow(report.description);
  }
  // Only an opened request takes headers.
  EXPECT_EQ(SetHeader(request.get(), u"X-A", u"1"),
            SUCCEEDED(param.expected) ? S_OK : E_UNEXPECTED);
}

const std::u16string kUrl = u"http://127.0.0.1:9/Service.asmx";

INSTANTIATE_TEST_SUITE_P(
    Arguments, OpenArgumentsTest,
    ::testing::Values(
        OpenCase{"SynchronousPost", u"POST", kUrl, BoolArgument(false), MissingArgument(), S_OK,
                 ""},
        OpenCase{"AsyncOmitted", u"POST", kUrl, MissingArgument(), EmptyArgument(), S_OK, ""},
        OpenCase{"AsyncEmpty", u"GET", kUrl, EmptyArgument(), MissingArgument(), S_OK, ""},
        OpenCase{"HttpsUrl", u"GET", u"https://127.0.0.1:9/", BoolArgument(false),
                 MissingArgument(), S_OK, ""},
        OpenCase{"AsyncTrue", u"POST", kUrl, BoolArgument(true), MissingArgument(), E_NOTIMPL,
                 "Asynchronous"},
        OpenCase{"AsyncAsNumber", u"POST", kUrl, IntegerArgument(1), MissingArgument(), E_NOTIMPL,
                 "Asynchronous"},
        OpenCase{"OtherScheme", u"POST", u"ftp://127.0.0.1/file", BoolArgument(false),
                 MissingArgument(), E_INVALIDARG, "http and https"},
        OpenCase{"RelativeUrl", u"POST", u"/Service.asmx", BoolArgument(false), MissingArgument(),
                 E_INVALIDARG, "URL"},
        OpenCase{"EmptyUrl", u"POST", u"", BoolArgument(false), MissingArgument(), E_INVALIDARG,
                 "URL"},
        OpenCase{"EmptyMethod", u"", kUrl, BoolArgument(false), MissingArgument(), E_INVALIDARG,
                 "method"},
        OpenCase{"MethodWithLineBreak", u"POST\r\nX: 1", kUrl, BoolArgument(false),
                 MissingArgument(), E_INVALIDARG, "method"},
        OpenCase{"UserNotAString", u"POST", kUrl, BoolArgument(false), IntegerArgument(3),
                 E_INVALIDARG, "user name"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace xmlhttp_test

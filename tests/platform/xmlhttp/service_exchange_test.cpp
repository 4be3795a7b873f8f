// A real SOAP 1.2 exchange with the reference service, as the program makes it.
#include <gtest/gtest.h>

#include <string>

#include "support/service_process.h"
#include "xmlhttp_test_support.h"

namespace xmlhttp_test {
namespace {

using tarvelo_test::ServiceProcess;

std::u16string Envelope(std::u16string_view text) {
  return u"<?xml version=\"1.0\" encoding=\"utf-8\"?><soap12:Envelope "
         u"xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         u"xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
         u"xmlns:soap12=\"http://www.w3.org/2003/05/soap-envelope\"><soap12:Body>"
         u"<simpleMethod xmlns=\"http://tempuri.org/\"><srt>" +
         std::u16string(text) + u"</srt></simpleMethod></soap12:Body></soap12:Envelope>";
}

class ServiceExchangeTest : public XmlHttpTest {
 protected:
  void SetUp() override {
    if (!ServiceProcess::Available()) GTEST_SKIP() << "tarvelo-service is not part of this build";
    XmlHttpTest::SetUp();
    service_ = std::make_unique<ServiceProcess>();
    ASSERT_TRUE(service_->running()) << service_->error();
  }

  // One exchange the way the program makes it; the object stays for reading.
  Ref<IXMLHTTPRequest> Call(std::string_view url, const Credentials& credentials,
                            std::u16string_view text) {
    Ref<IXMLHTTPRequest> request = NewRequest();
    EXPECT_EQ(Open(request.get(), u"POST", url, credentials), S_OK);
    EXPECT_EQ(SetHeader(request.get(), u"Content-Type", u"application/soap+xml"), S_OK);
    EXPECT_EQ(Send(request.get(), Envelope(text)), S_OK);
    return request;
  }

  std::unique_ptr<ServiceProcess> service_;
};

TEST_F(ServiceExchangeTest, AnswersSimpleMethodWithHello) {
  Ref<IXMLHTTPRequest> request = Call(service_->Url(), kServiceCredentials, u"Tarvelo");
  const std::string reply = Narrow(ResponseText(request.get()));
  EXPECT_NE(reply.find("<simpleMethodResult>Hello Tarvelo</simpleMethodResult>"), std::string::npos)
      << reply;
}

TEST_F(ServiceExchangeTest, CarriesCentralEuropeanLettersBothWays) {
  Ref<IXMLHTTPRequest> request = Call(service_->Url(), kServiceCredentials, u"čćžđš ČĆŽĐŠ");
  const std::string reply = Narrow(ResponseText(request.get()));
  EXPECT_NE(reply.find("<simpleMethodResult>Hello čćžđš ČĆŽĐŠ</simpleMethodResult>"),
            std::string::npos)
      << reply;
}

TEST_F(ServiceExchangeTest, WrongPasswordIsAnUnauthorizedReplyNotAFailure) {
  Ref<IXMLHTTPRequest> request = Call(service_->Url(), {u"tolvex", u"wrong"}, u"Tarvelo");
  EXPECT_EQ(Narrow(ResponseText(request.get())).find("Hello"), std::string::npos);
}

}  // namespace
}  // namespace xmlhttp_test

// Request objects one after another on a thread: each has its own connection, ended when the
// object goes; nothing one object set reaches the next; none leaves a socket open behind it.
#include <dirent.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/free_port.h"
#include "support/http_text.h"
#include "support/scripted_server.h"
#include "xmlhttp_test_support.h"

namespace xmlhttp_test {
namespace {

using tarvelo_test::HttpReply;
using tarvelo_test::ParseRequest;
using tarvelo_test::ScriptedServer;
using tarvelo_test::ScriptStep;

const std::string kOk = HttpReply("200 OK", {"Content-Type: text/plain; charset=utf-8"}, "ok");

int OpenDescriptors() {
  int count = 0;
  if (DIR* directory = opendir("/proc/self/fd")) {
    while (readdir(directory) != nullptr) ++count;
    closedir(directory);
  }
  return count;
}

// One object: open, send, read, release.
void OneExchange(const std::string& url, std::u16string_view method,
                 const std::optional<std::u16string>& body,
                 const std::optional<XmlHttpTest::Credentials>& credentials = std::nullopt) {
  Ref<IXMLHTTPRequest> request = XmlHttpTest::NewRequest();
  ASSERT_EQ(XmlHttpTest::Open(request.get(), method, url, credentials), S_OK);
  ASSERT_EQ(XmlHttpTest::Send(request.get(), body), S_OK);
  EXPECT_EQ(XmlHttpTest::ResponseText(request.get()), u"ok");
}

TEST_F(XmlHttpTest, EveryObjectOfARunConnectsAnewAndLeavesNoSocketOpen) {
  constexpr int kObjects = 40;
  ScriptedServer server({ScriptStep::Reply(kOk)}, ScriptedServer::WhenDone::kRepeatLastStep);
  OneExchange(server.Url("/"), u"POST", u"warm-up");
  ASSERT_TRUE(server.WaitForClientCloses(1, std::chrono::seconds(5)));
  const int descriptorsBefore = OpenDescriptors();

  for (int i = 0; i < kObjects; ++i) OneExchange(server.Url("/"), u"POST", u"x");

  EXPECT_EQ(server.AcceptedConnections(), kObjects + 1);
  EXPECT_TRUE(server.WaitForClientCloses(kObjects + 1, std::chrono::seconds(5)))
      << server.ConnectionsClosedByClient() << " of " << kObjects + 1 << " closed";
  // A handle kept for the next object may still hold the socket of an ended connection.
  EXPECT_LE(OpenDescriptors(), descriptorsBefore + 2);
}

TEST_F(XmlHttpTest, NothingAnEarlierObjectSetReachesTheNext) {
  ScriptedServer server({ScriptStep::Reply(kOk)}, ScriptedServer::WhenDone::kRepeatLastStep);
  {
    Ref<IXMLHTTPRequest> request = NewRequest();
    ASSERT_EQ(Open(request.get(), u"HEAD", server.Url("/first"), kServiceCredentials), S_OK);
    ASSERT_EQ(SetHeader(request.get(), u"X-Only-First", u"1"), S_OK);
    ASSERT_EQ(SetHeader(request.get(), u"Content-Type", u"text/xml"), S_OK);
    ASSERT_EQ(Send(request.get(), std::nullopt), S_OK);
  }
  OneExchange(server.Url("/second"), u"POST", u"payload");
  OneExchange(server.Url("/third"), u"GET", std::nullopt);
  {
    Ref<IXMLHTTPRequest> request = NewRequest();
    ASSERT_EQ(Open(request.get(), u"PUT", server.Url("/fourth")), S_OK);
    ASSERT_EQ(Send(request.get(), u"put body"), S_OK);
  }
  OneExchange(server.Url("/fifth"), u"POST", u"again");

  const auto raw = server.Requests();
  ASSERT_EQ(raw.size(), 5u);
  const auto first = ParseRequest(raw[0]);
  EXPECT_EQ(first.method, "HEAD");
  EXPECT_TRUE(first.Header("Authorization").has_value());
  EXPECT_TRUE(first.Header("X-Only-First").has_value());
  for (std::size_t i = 1; i < raw.size(); ++i) {
    SCOPED_TRACE(i);
    const auto later = ParseRequest(raw[i]);
    EXPECT_FALSE(later.Header("Authorization").has_value());
    EXPECT_FALSE(later.Header("X-Only-First").has_value());
    EXPECT_NE(later.Header("Content-Type"), std::optional<std::string>("text/xml"));
  }
  const auto second = ParseRequest(raw[1]);
  EXPECT_EQ(second.method, "POST");
  EXPECT_EQ(second.body, "payload");
  const auto third = ParseRequest(raw[2]);
  EXPECT_EQ(third.method, "GET");
  EXPECT_TRUE(third.body.empty());
  const auto fourth = ParseRequest(raw[3]);
  EXPECT_EQ(fourth.method, "PUT");
  EXPECT_EQ(fourth.body, "put body");
  const auto fifth = ParseRequest(raw[4]);
  EXPECT_EQ(fifth.method, "POST");
  EXPECT_EQ(fifth.body, "again");
  EXPECT_EQ(server.AcceptedConnections(), 5);
}

TEST_F(XmlHttpTest, AFailedObjectLeavesTheNextAFreshStart) {
  ScriptedServer server({ScriptStep::Reply(kOk)}, ScriptedServer::WhenDone::kRepeatLastStep);
  {
    Ref<IXMLHTTPRequest> refused = NewRequest();
    const std::string nowhere =
        "http://127.0.0.1:" + std::to_string(tarvelo_test::FreePort()) + "/";
    ASSERT_EQ(Open(refused.get(), u"POST", nowhere), S_OK);
    EXPECT_LT(Send(refused.get(), u"x"), 0);
  }
  {
    Ref<IXMLHTTPRequest> closedEarly = NewRequest();
    ScriptedServer closing({ScriptStep::CloseOnAccept()});
    ASSERT_EQ(Open(closedEarly.get(), u"POST", closing.Url("/")), S_OK);
    EXPECT_LT(Send(closedEarly.get(), u"x"), 0);
  }
  OneExchange(server.Url("/"), u"POST", u"after the failures");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(ParseRequest(server.Requests()[0]).body, "after the failures");
}

}  // namespace
}  // namespace xmlhttp_test

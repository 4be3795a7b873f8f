// What the component gives back of a reply: its text in the right charset, whole however large
// or however framed; an error status is a reply like any other.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/http_text.h"
#include "support/scripted_server.h"
#include "xmlhttp_test_support.h"

namespace xmlhttp_test {
namespace {

using tarvelo_test::HttpReply;
using tarvelo_test::ScriptedServer;
using tarvelo_test::ScriptStep;

// Sends one POST to a server that plays the given reply; the request object stays for reading.
Ref<IXMLHTTPRequest> ExchangeWith(ScriptedServer& server) {
  Ref<IXMLHTTPRequest> request = XmlHttpTest::NewRequest();
  EXPECT_EQ(XmlHttpTest::Open(request.get(), u"POST", server.Url("/Service.asmx")), S_OK);
  EXPECT_EQ(XmlHttpTest::Send(request.get(), u"<srt/>"), S_OK);
  return request;
}

struct CharsetCase {
  const char* name;
  std::vector<std::string> headers;
  std::string body;
  std::u16string text;
};

void PrintTo(const CharsetCase& value, std::ostream* out) {
  *out << value.name;
}

// The whole table of charsets is in the decoder's own tests; these check that the reply's
// Content-Type reaches the decoder.
class ReplyCharsetTest : public XmlHttpTest, public ::testing::WithParamInterface<CharsetCase> {};

TEST_P(ReplyCharsetTest, DecidesTheText) {
  ScriptedServer server(
      {ScriptStep::Reply(HttpReply("200 OK", GetParam().headers, GetParam().body))});
  Ref<IXMLHTTPRequest> request = ExchangeWith(server);
  EXPECT_EQ(ResponseText(request.get()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Charsets, ReplyCharsetTest,
    ::testing::Values(CharsetCase{"Utf8",
                                  {"Content-Type: application/soap+xml; charset=utf-8"},
                                  "<r>\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD</r>",
                                  u"<r>Žluťoučký</r>"},
                      CharsetCase{"Windows1250",
                                  {"Content-Type: text/plain; charset=windows-1250"},
                                  "\x8A\x9E\xE8\xF0\x8E",
                                  u"ŠžčđŽ"},
                      CharsetCase{"Latin1ReadAsWindows1252",
                                  {"Content-Type: text/plain; charset=iso-8859-1"},
                                  "caf\xE9 \x80",
                                  u"café €"},
                      CharsetCase{"Utf8BomDropped",
                                  {"Content-Type: text/plain; charset=windows-1250"},
                                  "\xEF\xBB\xBF\xC5\xBD",
                                  u"Ž"},
                      CharsetCase{"InvalidUtf8",
                                  {"Content-Type: text/plain; charset=utf-8"},
                                  "He\xC0llo\xE2\x82",
                                  u"He\uFFFDllo\uFFFD"},
                      CharsetCase{"EmptyBody", {"Content-Type: text/plain"}, "", u""}),
    [](const auto& info) { return info.param.name; });

TEST_F(XmlHttpTest, LargeReplyArrivesWhole) {
  std::string body(10 << 20, '\0');
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + (i * 7) % 26);
  ScriptedServer server(
      {ScriptStep::Reply(HttpReply("200 OK", {"Content-Type: text/plain"}, body))});
  Ref<IXMLHTTPRequest> request = ExchangeWith(server);
  const std::u16string text = ResponseText(request.get());
  ASSERT_EQ(text.size(), body.size());
  EXPECT_TRUE(std::equal(text.begin(), text.end(), body.begin(), [](char16_t unit, char byte) {
    return unit == static_cast<char16_t>(byte);
  }));
}

TEST_F(XmlHttpTest, ChunkedReplyIsJoinedBeforeItIsDecoded) {
  // The second chunk starts in the middle of a two-byte character.
  const std::string chunked =
      "HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-8\r\n"
      "Transfer-Encoding: chunked\r\n\r\n"
      "6\r\nHello\xC5\r\n"
      "5\r\n\xBDluto\r\n"
      "0\r\n\r\n";
  ScriptedServer server({ScriptStep::Reply(chunked)});
  Ref<IXMLHTTPRequest> request = ExchangeWith(server);
  EXPECT_EQ(ResponseText(request.get()), u"HelloŽluto");
}

TEST_F(XmlHttpTest, ReplyWithoutLengthEndsWithTheConnection) {
  ScriptedServer server({ScriptStep::ReplyAndClose(
      "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\nuntil the end")});
  Ref<IXMLHTTPRequest> request = ExchangeWith(server);
  EXPECT_EQ(ResponseText(request.get()), u"until the end");
}

TEST_F(XmlHttpTest, AnErrorStatusIsACompletedExchangeWithItsBody) {
  const std::string fault =
      "<soap12:Envelope><soap12:Body><soap12:Fault><soap12:Code><soap12:Value>"
      "soap12:Receiver</soap12:Value></soap12:Code></soap12:Fault></soap12:Body></soap12:Envelope>";
  ScriptedServer server({ScriptStep::Reply(
      HttpReply("500 Internal Server Error", {"Content-Type: application/soap+xml"}, fault))});
  Ref<IXMLHTTPRequest> request = ExchangeWith(server);
  EXPECT_EQ(ResponseText(request.get()), Widen(fault));
}

TEST_F(XmlHttpTest, RedirectRepliesLeaveNothingInTheFinalReply) {
  ScriptedServer server(
      {ScriptStep::Reply(HttpReply("302 Found",
                                   {"Location: /final", "Content-Type: text/plain; charset=cp1250"},
                                   "moved body")),
       ScriptStep::Reply(HttpReply("200 OK", {}, "final \xC5\xBD"))});
  Ref<IXMLHTTPRequest> request = ExchangeWith(server);
  EXPECT_EQ(ResponseText(request.get()), u"final Ž") << "the final reply's charset: UTF-8";
}

}  // namespace
}  // namespace xmlhttp_test

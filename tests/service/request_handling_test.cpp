// The service's answer to each kind of request, in-process: one row for each way of refusing,
// failing or answering.
#include <gtest/gtest.h>

#include "service_calls.h"

namespace tarvelo::service {
namespace {

using namespace testing;

struct Row {
  Call call;
  std::string gist;  // how the reply's gist begins
};

void expect_answers(std::initializer_list<Row> rows) {
  for (const Row& row : rows) {
    const std::string answer = gist(row.call.handle());
    EXPECT_EQ(answer.substr(0, row.gist.size()), row.gist) << row.call.text();
  }
}

const std::string kChallenge = R"(401 text/plain WWW-Authenticate: Basic realm="tarvelo" | )";

// Refusals, and reads, which need no credentials but a Host that can stand in an address.
TEST(RequestHandling, DecidesFromTheHeadAlone) {
  const std::string no_host = "400 text/plain | The description names this service's address";
  const std::string too_large = "413 text/plain | The request body of 1001 bytes is larger than";
  expect_answers({
      {{.target = "/service.asmx"}, "404 text/plain | Not found: this service answers at /S"},
      {{.method = "PUT"}, "405 text/plain Allow: GET, HEAD, POST | The method PUT is not"},
      {{.auth = ""}, kChallenge + "Authentication required: send the user"},
      {{.auth = "Basic dG9sdmV4Omtxdj00OA=="}, kChallenge + "The user name or the password is"},
      {{.auth = "Bearer dG9sdmV4Omtxdj00Nw=="}, kChallenge + "The Authorization header is"},
      // A stranger learns nothing about what is accepted; a size is judged first all the same.
      {{.auth = "", .type = "text/plain"}, kChallenge},
      {{.auth = "", .length = "1001"}, too_large + " this service accepts (1000 bytes)"},
      {{.length = "1000"}, "200 application/soap+xml | [Hello x]"},
      {{.length = "none", .body = envelope_of_size(1001)}, too_large},
      {{.length = "none", .body = envelope_of_size(1000)}, "200 application/soap+xml | [Hello xx"},
      {{.length = "12x"}, "400 text/plain | The Content-Length header is malformed"},
      {{.extra = "Transfer-Encoding: chunked\r\n"}, "400 text/plain | A request may not carry"},
      {{.extra = "Transfer-Encoding: gzip\r\n", .length = "none"}, "400 text/plain | The only"},
      {{.type = ""}, "415 text/plain | The content type (none) is not SOAP"},
      {{.type = "text/plain"}, "415 text/plain | The content type \"text/plain\" is not"},
      {{.type = "application/soap+xml; charset"}, "415 text/plain | The content type \"app"},
      {{.type = "application/soap+xml; charset=latin1"}, "415 text/plain | The charset \"latin1"},
      {get("/Service.asmx"), "200 text/plain | tarvelo-service answers simpleMethod here"},
      {get("/Service.asmx?WSDL", "[::1]:9090"), "200 text/xml |  "},  // XML: no result, no fault
      {get("/Service.asmx?wsdl", "a b"), no_host},
      {get("/Service.asmx?wsdl", std::string("127.0.0.1\0x", 11)), no_host},
      {get("/Service.asmx?wsdl", ""), no_host},
  });
}

TEST(RequestHandling, AnswersEnvelopesItCannotCarryOutWithFaults) {
  const std::string sender = "400 application/soap+xml | soap:Sender ";
  const std::string mismatch = "500 application/soap+xml | soap:VersionMismatch (upgrade) ";
  const std::string client = "500 text/xml | soap:Client ";
  const std::string header = R"(<e:Header><s:H xmlns:s="urn:s" e:mustUnderstand=")";
  const std::string next12 = "http://www.w3.org/2003/05/soap-envelope/role/next";
  const std::string blocks = "the Envelope may hold an optional Header and then one Body, not <e:";
  expect_answers({
      {{.body = tool_envelope("x").substr(0, 99)}, sender + "the request is not well-formed XML"},
      {{.body = tool_envelope("Tom & Jerry")}, sender + "the request is not well-formed XML: an"},
      {{.body = "<!DOCTYPE e>" + soap12(kCall)}, sender + "a SOAP message may hold neither"},
      {{.body = "<hello/>"}, sender + "the document is a <hello> element, not a SOAP"},
      {{.body = soap12("<e:Body><t:m/></e:Body>")}, sender + "the element <t:m> uses a namespace"},
      {{.body = soap11(kCall)}, mismatch + "a SOAP 1.1 envelope was sent as SOAP 1.2; send"},
      {{.body = "<e:Envelope xmlns:e=\"urn:o\">" + kCall + "</e:Envelope>"},
       mismatch + "the Envelope is in the namespace \"urn:o\", not in the SOAP 1.2"},
      {{.body = soap12("stray" + kCall)}, sender + "the Envelope holds text outside its"},
      {{.body = soap12(kCall + "<e:Header/>")}, sender + blocks + "Header>"},
      {{.body = soap12(kCall + "<e:Body/>")}, sender + blocks + "Body>"},
      {{.body = soap12("<e:Header/>")}, sender + "the Envelope has no Body"},
      {{.body = soap12(header + "true\" e:role=\"" + next12 + "\"/></e:Header>" + kCall)},
       "500 application/soap+xml | soap:MustUnderstand the header block {urn:s}H must be"},
      {{.body = soap12("<e:Body>stray<a/></e:Body>")}, sender + "the Body holds text outside"},
      {{.body = soap12("<e:Body> </e:Body>")}, sender + "the Body calls no operation"},
      {{.body = soap12("<e:Body><a/><b/></e:Body>")}, sender + "the Body holds more than one"},
      {{.body = soap12("<e:Body><other xmlns=\"http://tempuri.org/\"/></e:Body>")},
       sender + "unknown operation {http://tempuri.org/}other; this service offers {http"},
      {{.body = tool_envelope("x", "urn:o")}, sender + "unknown operation {urn:o}simpleMethod"},
      {{.body = tool_envelope("a<b>c</b>")}, sender + "the parameter srt holds markup"},
      {{.body = tool_envelope("a</srt><srt>b")}, sender + "the parameter srt is given more"},
      {{.body = tool_envelope("caf\xE9")}, sender + "the parameter srt holds bytes that are"},
      {{.type = "application/soap+xml; action=urn:x"},
       sender + R"(the action "urn:x" is not an operation of this service; simpleMethod's)"},
      {soap11_call(tool_envelope("x")),
       "500 text/xml | soap:VersionMismatch a SOAP 1.2 envelope was sent as SOAP 1.1; send"},
      {soap11_call("<e:Envelope"), client + "the request is not well-formed XML"},
      {{.type = "text/xml", .body = soap11(kCall)}, client + "a SOAP 1.1 call needs exactly"},
      {soap11_call(soap11(header + "1\"/></e:Header>" + kCall)),
       "500 text/xml | soap:MustUnderstand the header block {urn:s}H must be"},
  });
}

TEST(RequestHandling, AnswersHelloAndTheTextInEitherVersion) {
  const std::string ok = "200 application/soap+xml | ";
  const std::string not_addressed =
      R"(<e:Header><s:H xmlns:s="urn:s" e:mustUnderstand="true" e:role="urn:none"/><s:T xmlns:s="urn:s"/></e:Header>)";
  expect_answers({
      {{.body = tool_envelope("  ")}, ok + "[Hello   ]"},
      {{.body = tool_envelope("&amp;&lt;&gt;&quot;' a&#13;b")}, ok + "[Hello &<>\"' a\rb]"},
      {{.body = tool_envelope("x<![CDATA[<&]]>y<!-- note -->z")}, ok + "[Hello x<&yz]"},
      {{.body = soap12("<e:Body><t:simpleMethod xmlns:t=\"http://tempuri.org/\"><srt>x</srt>"
                       "</t:simpleMethod></e:Body>")},
       ok + "[Hello x]"},
      {{.body = soap12("<e:Body><simpleMethod xmlns=\"http://tempuri.org/\"/></e:Body>")},
       ok + "[Hello ]"},
      {{.body = soap12("\n " + not_addressed +
                       "\n <e:Body>\n <simpleMethod xmlns=\"http://tempuri.org/\">"
                       "<srt>x</srt><more/></simpleMethod>\n </e:Body>\n")},
       ok + "[Hello x]"},
      {{.type =
            R"(Application/SOAP+XML; x="a\";b" ;charset="UTF-8"; action="http://tempuri.org/simpleMethod";)"},
       ok + "[Hello x]"},
      {soap11_call(soap11(kCall), R"("")"), "200 text/xml | [Hello x]"},
  });
}

}  // namespace
}  // namespace tarvelo::service

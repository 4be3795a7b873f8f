// The real server on 127.0.0.1, started in-process on a free port.
#include "service/service_server.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "request_builder.h"
#include "running_service.h"
#include "socket_client.h"

namespace tarvelo::service {
namespace {

using namespace std::chrono_literals;
using testing::call_head;
using testing::local_options;
using testing::ReplyReader;
using testing::RunningService;
using testing::SocketClient;
using testing::tool_envelope;
using testing::WireReply;

std::string call(const std::string& text) {
  const std::string body = tool_envelope(text);
  return call_head(body.size()) + body;
}

TEST(ServiceServer, AnswersCallsAndTheDescriptionOnOneKeptAliveConnection) {
  RunningService service;
  const std::string port = std::to_string(service.port());
  EXPECT_EQ(service.server().url(), "http://127.0.0.1:" + port + "/Service.asmx");
  SocketClient socket(service.port());
  ReplyReader replies(socket);
  for (const std::string text : {"one", "Tom &amp; Jerry", "three"}) {
    socket.send_text(call(text));
    const WireReply reply = replies.next();
    EXPECT_EQ(reply.status, 200) << reply.head;
    EXPECT_NE(reply.head.find("Content-Type: application/soap+xml; charset=utf-8\r\n"),
              std::string::npos)
        << reply.head;
    EXPECT_NE(reply.body.find("<simpleMethodResult>Hello " + text + "</simpleMethodResult>"),
              std::string::npos)
        << reply.body;
  }
  socket.send_text("GET /Service.asmx?wsdl HTTP/1.1\r\nHost: 127.0.0.1:" + port + "\r\n\r\n");
  const WireReply wsdl = replies.next();
  EXPECT_EQ(wsdl.status, 200) << wsdl.head;
  EXPECT_NE(wsdl.body.find("location=\"http://127.0.0.1:" + port + "/Service.asmx\""),
            std::string::npos);
}

TEST(ServiceServer, AnswersExpectContinueBeforeTheBodyIsSent) {
  RunningService service;
  const std::string body = tool_envelope("expected");
  const std::string head = call_head(body.size());
  const std::string expecting = head.substr(0, head.size() - 2) + "Expect: 100-continue\r\n\r\n";

  SocketClient refused(service.port());
  std::string wrong_head = expecting;
  wrong_head.replace(wrong_head.find("dG9sdmV4Omtxdj00Nw=="), 20, "dG9sdmV4Omtxdj00OA==");
  refused.send_text(wrong_head);
  const WireReply refusal = ReplyReader(refused).next(2s);
  EXPECT_EQ(refusal.status, 401) << "no 100 Continue first: " << refusal.head;
  EXPECT_NE(refusal.body.find("wrong"), std::string::npos);

  SocketClient accepted(service.port());
  accepted.send_text(expecting);
  EXPECT_EQ(accepted.receive(2s, "\r\n\r\n"), "HTTP/1.1 100 Continue\r\n\r\n");
  accepted.send_text(body);
  const WireReply reply = ReplyReader(accepted).next();
  EXPECT_EQ(reply.status, 200) << reply.head;
  EXPECT_NE(reply.body.find("Hello expected"), std::string::npos);
}

TEST(ServiceServer, TakesACallWithoutLengthOrCodingAsBodiless) {
  RunningService service;
  const std::string head = call_head(0);
  const WireReply reply =
      testing::exchange(service.port(), head.substr(0, head.find("Content-Length")) + "\r\n", 2s);
  EXPECT_EQ(reply.status, 400) << "answered without waiting: " << reply.head;
  EXPECT_NE(reply.body.find("soap:Sender"), std::string::npos);
}

TEST(ServiceServer, ReadsAChunkedCallAndRefusesOneOverTheLimitWhenItEnds) {
  ServerOptions options = local_options();
  options.settings.max_body = 1000;
  RunningService service(options);
  const std::string head = call_head(0);
  const std::string chunked_head =
      head.substr(0, head.find("Content-Length")) + "Transfer-Encoding: chunked\r\n\r\n";
  auto chunk = [](const std::string& data) {
    char size[16];
    std::snprintf(size, sizeof size, "%zx\r\n", data.size());
    return size + data + "\r\n";
  };

  const std::string body = tool_envelope("chunked");
  const WireReply read =
      testing::exchange(service.port(), chunked_head + chunk(body.substr(0, 100)) +
                                            chunk(body.substr(100)) + chunk(""));
  EXPECT_EQ(read.status, 200) << read.head;
  EXPECT_NE(read.body.find("Hello chunked"), std::string::npos);

  const std::string part(600, 'x');
  const WireReply refused =
      testing::exchange(service.port(), chunked_head + chunk(part) + chunk(part) + chunk(""));
  EXPECT_EQ(refused.status, 413) << refused.head;
  EXPECT_NE(refused.body.find("(1000 bytes)"), std::string::npos) << refused.body;
}

TEST(ServiceServer, FinishesTheCallUnderWayWhenStopped) {
  ServerOptions options = local_options();
  options.delay = 400ms;
  RunningService service(options);
  SocketClient socket(service.port());
  const auto start = std::chrono::steady_clock::now();
  socket.send_text(call("late"));
  std::this_thread::sleep_for(100ms);  // the call is inside its delay now

  auto stopped = std::async(std::launch::async, [&service] { service.server().stop(); });
  const WireReply reply = ReplyReader(socket).next();
  EXPECT_GE(std::chrono::steady_clock::now() - start, 400ms) << "the delay was applied";
  EXPECT_EQ(reply.status, 200) << reply.head;
  EXPECT_NE(reply.body.find("Hello late"), std::string::npos);
  EXPECT_EQ(stopped.wait_for(5s), std::future_status::ready);
  EXPECT_THROW(SocketClient{service.port()}, std::runtime_error) << "no longer listening";
}

TEST(ServiceServer, StopsWithAnIdleKeptAliveConnectionOpen) {
  RunningService service;
  SocketClient socket(service.port());
  socket.send_text("GET /Service.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
  ASSERT_EQ(ReplyReader(socket).next().status, 200);
  const auto start = std::chrono::steady_clock::now();
  service.server().stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST(ServiceServer, ReportsAPortInUse) {
  RunningService first;
  ServerOptions options = local_options();
  options.port = first.port();
  ServiceServer second(options);
  try {
    second.listen();
    FAIL() << "a second server listened on the same port";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(
        std::string(e.what()).find("cannot listen on 127.0.0.1:" + std::to_string(first.port())),
        std::string::npos)
        << e.what();
  }
}

}  // namespace
}  // namespace tarvelo::service

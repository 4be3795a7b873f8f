// The parking on its own, over socket pairs: what it hands on, what it closes, and when.
#include "service/connection_parking.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tarvelo::service {
namespace {

using namespace std::chrono_literals;

TEST(RequestHead, IsCompleteOnlyAtTheEmptyLineThatEndsTheFields) {
  EXPECT_TRUE(holds_request_head("GET / HTTP/1.1\r\nHost: a\r\n\r\n"));
  EXPECT_TRUE(holds_request_head("GET / HTTP/1.1\r\n\r\nbody follows"));
  EXPECT_TRUE(holds_request_head("GET / HTTP/1.1\nHost: a\n\n"));
  EXPECT_FALSE(holds_request_head(""));
  EXPECT_FALSE(holds_request_head("GET / HTTP/1.1\r\nHost: a\r\n"));
  EXPECT_FALSE(holds_request_head("GET / HTTP/1.1\r\nHost: a\r\n\r"));
  EXPECT_FALSE(holds_request_head("GET / HTTP/1.1\r\nX: \r\r\n"));
}

// What the parking handed back, as the worker side sees it.
class Handover {
 public:
  ConnectionParking::Ready callback() {
    return [this](int socket, std::size_t served) {
      const std::lock_guard lock(mutex_);
      handed_.emplace_back(socket, served);
      changed_.notify_all();
    };
  }

  // The connections handed back once `count` have been, or whatever came within `limit`.
  std::vector<std::pair<int, std::size_t>> wait_for(std::size_t count,
                                                    std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, limit, [&] { return handed_.size() >= count; });
    return handed_;
  }

  ~Handover() {
    for (const auto& [socket, served] : handed_) ::close(socket);
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::pair<int, std::size_t>> handed_;
};

// A connected pair: the client's end stays here, the server's end goes to the parking.
struct Pair {
  Pair() {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) throw std::exception();
    client = ends[0];
    server = ends[1];
  }
  ~Pair() {
    if (client >= 0) ::close(client);
  }
  Pair(const Pair&) = delete;
  Pair& operator=(const Pair&) = delete;
  void send(const std::string& text) const {
    ASSERT_EQ(::send(client, text.data(), text.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(text.size()));
  }
  // What the server's end sent before it closed, or nothing if it is still open after `limit`.
  std::optional<std::string> read_until_closed(std::chrono::milliseconds limit) const {
    std::string received;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      pollfd waiting{client, POLLIN, 0};
      if (left <= 0 || ::poll(&waiting, 1, static_cast<int>(left)) <= 0) return std::nullopt;
      char buffer[512];
      const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) return received;
      received.append(buffer, static_cast<std::size_t>(got));
    }
  }
  int client = -1;
  int server = -1;
};

TEST(ConnectionParking, HandsOnAConnectionOnceItsHeadIsCompleteAndNotBefore) {
  Handover handover;
  ConnectionParking parking(handover.callback(), 5s);
  Pair waiting;
  Pair complete;
  waiting.send("POST /Service.asmx HTTP/1.1\r\n");
  parking.park(waiting.server, 3);
  parking.park(complete.server, 7);
  complete.send("GET /Service.asmx?wsdl HTTP/1.1\r\n\r\n");

  auto handed = handover.wait_for(1, 2s);
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_EQ(handed[0], std::make_pair(complete.server, std::size_t{7}));
  EXPECT_EQ(parking.parked(), 1u);

  // The rest of the head arrives in two more pieces; the first of them changes nothing.
  waiting.send("Host: a\r\n");
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(handover.wait_for(2, 0ms).size(), 1u);
  waiting.send("\r\n");
  handed = handover.wait_for(2, 2s);
  ASSERT_EQ(handed.size(), 2u);
  EXPECT_EQ(handed[1], std::make_pair(waiting.server, std::size_t{3}));
  EXPECT_EQ(parking.parked(), 0u);

  // Nothing was taken off the connection: the whole head is still there for the worker.
  char buffer[128] = {};
  const ssize_t got = ::recv(waiting.server, buffer, sizeof buffer, MSG_DONTWAIT);
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0))),
            "POST /Service.asmx HTTP/1.1\r\nHost: a\r\n\r\n");
}

TEST(ConnectionParking, ClosesIdleAndUnfinishedConnectionsAtTheirDeadline) {
  Handover handover;
  ConnectionParking parking(handover.callback(), 400ms);
  Pair idle;
  Pair unfinished;
  parking.park(idle.server, 0);
  parking.park(unfinished.server, 0);
  unfinished.send("GET / HTTP/1.1\r\nHost:");

  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(idle.read_until_closed(3s), "") << "an idle connection is closed without a word";
  const std::optional<std::string> told = unfinished.read_until_closed(3s);
  ASSERT_TRUE(told.has_value()) << "the unfinished connection is still open";
  EXPECT_EQ(told->rfind("HTTP/1.1 408 Request Timeout\r\n", 0), 0u) << *told;
  const std::size_t blank = told->find("\r\n\r\n");
  ASSERT_NE(blank, std::string::npos);
  EXPECT_NE(told->find("Content-Length: " + std::to_string(told->size() - blank - 4)),
            std::string::npos)
      << "the length matches the body: " << *told;

  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, 300ms);
  EXPECT_LT(waited, 2s);
  EXPECT_EQ(parking.parked(), 0u);
  EXPECT_TRUE(handover.wait_for(1, 0ms).empty());
}

TEST(ConnectionParking, LetsGoOfPeersThatCloseOrStopSending) {
  Handover handover;
  ConnectionParking parking(handover.callback(), 10s);
  Pair leaving;
  Pair half_closed;
  parking.park(leaving.server, 0);
  parking.park(half_closed.server, 0);
  half_closed.send("GET / HTT");
  ::shutdown(half_closed.client, SHUT_WR);  // the head can never be completed now
  ::close(leaving.client);
  leaving.client = -1;

  EXPECT_EQ(half_closed.read_until_closed(2s), "");
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (parking.parked() > 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(parking.parked(), 0u) << "a closed peer is forgotten long before the deadline";
  EXPECT_TRUE(handover.wait_for(1, 0ms).empty());
}

TEST(ConnectionParking, EndsAConnectionWithUnreadBytesOnlyOnceThePeerHasSeenTheEnd) {
  Handover handover;
  ConnectionParking parking(handover.callback(), 10s);
  Pair leaving;
  Pair silent;
  for (const Pair* pair : {&leaving, &silent}) {
    pair->send("refused body");
    parking.close_after_reply(pair->server);
  }
  const auto start = std::chrono::steady_clock::now();

  // Both peers see the end of what the service sent at once; the connections stay.
  char byte;
  EXPECT_EQ(::recv(leaving.client, &byte, 1, 0), 0);
  EXPECT_EQ(::recv(silent.client, &byte, 1, 0), 0);
  EXPECT_EQ(parking.parked(), 2u);
  char kept[32] = {};
  EXPECT_EQ(::recv(silent.server, kept, sizeof kept, MSG_PEEK | MSG_DONTWAIT), 12)
      << "nothing the peer sent has been read";

  // The one that closes is let go at once, the silent one after the grace.
  ::close(leaving.client);
  leaving.client = -1;
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(parking.parked(), 1u);
  const auto deadline = start + kClosingGrace + 2s;
  while (parking.parked() > 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_EQ(parking.parked(), 0u);
  EXPECT_GE(std::chrono::steady_clock::now() - start, kClosingGrace - 200ms);
  EXPECT_EQ(::send(silent.client, "x", 1, MSG_NOSIGNAL), -1) << "the silent one is closed now";
  EXPECT_TRUE(handover.wait_for(1, 0ms).empty()) << "an ending connection is never handed on";
}

TEST(ConnectionParking, StopClosesEveryWaitingConnectionAndLaterOnesAtOnce) {
  Handover handover;
  ConnectionParking parking(handover.callback(), 10s);
  std::vector<Pair> pairs(20);
  for (const Pair& pair : pairs) parking.park(pair.server, 0);
  EXPECT_EQ(parking.parked(), pairs.size());

  const auto start = std::chrono::steady_clock::now();
  parking.stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_EQ(parking.parked(), 0u);
  for (const Pair& pair : pairs) EXPECT_EQ(pair.read_until_closed(1s), "");

  Pair late;
  late.send("GET / HTTP/1.1\r\n\r\n");
  parking.park(late.server, 0);
  EXPECT_EQ(late.read_until_closed(1s), "");
  EXPECT_TRUE(handover.wait_for(1, 0ms).empty()) << "nothing is handed on after the stop";
  parking.stop();  // a second stop is harmless
}

}  // namespace
}  // namespace tarvelo::service

#include "service/service_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netdb.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "service/request_handler.h"

namespace tarvelo::service {
namespace {

using namespace std::chrono_literals;

// A connection on which nothing moves for this long is closed: idle between calls, in the middle
// of a request head or body, or not reading its reply. Waiting holds no thread.
constexpr unsigned kIdleSeconds = 5;
// How much of a chunked body over the limit is read and thrown away so that it can be refused with
// a reply once it ends.
constexpr std::size_t kMostDropped = std::size_t{1} << 20;

// The request under way on one connection. One per connection, reused by its next request.
struct Exchange {
  std::string target;  // the request target as sent, query included
  HttpRequest request;
  std::string body;
  bool begun = false;       // the handler has seen the complete head
  std::size_t dropped = 0;  // bytes of a body over the limit, thrown away
  bool in_flight = false;   // counted among the calls that a stop waits for
};

MHD_Result collect_header(void* headers, MHD_ValueKind, const char* key, std::size_t key_size,
                          const char* value, std::size_t value_size) {
  static_cast<std::vector<HeaderView>*>(headers)->emplace_back(
      std::string_view(key, key_size), std::string_view(value ? value : "", value_size));
  return MHD_YES;
}

std::string address_of(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info =
      MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  char text[INET6_ADDRSTRLEN] = "?";
  if (info != nullptr && info->client_addr != nullptr) {
    const sockaddr* address = info->client_addr;
    const void* bytes =
        address->sa_family == AF_INET6
            ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr)
            : &reinterpret_cast<const sockaddr_in*>(address)->sin_addr;
    ::inet_ntop(address->sa_family, bytes, text, sizeof text);
  }
  return text;
}

// As many connections as this process may open descriptors, less a few for the listener and each
// thread's epoll and wake-up descriptors.
unsigned connection_limit(unsigned threads) {
  constexpr rlim_t kMost = 1 << 20;
  const rlim_t spare = 16 + 2 * rlim_t{threads};
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur > kMost) return kMost;
  return static_cast<unsigned>(limit.rlim_cur > 2 * spare ? limit.rlim_cur - spare : spare);
}

// A listening socket for `host` (a name or an address) and `port`, or an exception that says why
// there is none.
int open_listener(const std::string& host, int port) {
  const std::string where = host + ":" + std::to_string(port);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (const int failed = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
      failed != 0) {
    throw std::runtime_error("cannot listen on " + where + ": " + ::gai_strerror(failed));
  }
  int cause = 0;
  for (const addrinfo* candidate = found; candidate != nullptr; candidate = candidate->ai_next) {
    const int fd =
        ::socket(candidate->ai_family, candidate->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
      cause = errno;
      continue;
    }
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (::bind(fd, candidate->ai_addr, candidate->ai_addrlen) == 0 &&
        ::listen(fd, SOMAXCONN) == 0) {
      ::freeaddrinfo(found);
      return fd;
    }
    cause = errno;
    ::close(fd);
  }
  ::freeaddrinfo(found);
  throw std::runtime_error("cannot listen on " + where + ": " + std::strerror(cause));
}

int bound_port(int listener) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.ss_family == AF_INET6
                   ? reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port
                   : reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
}

}  // namespace

struct ServiceServer::Impl {
  explicit Impl(ServerOptions options_in) : options(std::move(options_in)) {}
  ~Impl();

  void start();
  void finish();

  MHD_Result on_request(MHD_Connection* connection, const char* path, const char* method,
                        const char* upload, std::size_t* upload_size, Exchange& exchange);
  MHD_Result send(MHD_Connection* connection, const Exchange& exchange, HttpReply&& reply) const;

  const ServerOptions options;
  int listener = -1;  // ours until the daemon takes it, and again once it has let it go
  int port = -1;
  MHD_Daemon* daemon = nullptr;
  std::atomic<int> calls_in_flight{0};
};

ServiceServer::Impl::~Impl() {
  finish();
  if (listener >= 0) ::close(listener);  // when listen() failed to start the daemon
}

void ServiceServer::Impl::start() {
  const auto on_connection = [](void*, MHD_Connection*, void** context,
                                MHD_ConnectionNotificationCode code) {
    if (code == MHD_CONNECTION_NOTIFY_STARTED) {
      *context = new Exchange;
    } else {
      delete static_cast<Exchange*>(*context);
    }
  };
  // Called with the request line, before the head is parsed: the start of a new request.
  const auto on_target = [](void*, const char* target, MHD_Connection* connection) -> void* {
    auto* exchange = static_cast<Exchange*>(
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_SOCKET_CONTEXT)->socket_context);
    exchange->target = target;
    exchange->begun = false;
    exchange->dropped = 0;
    exchange->body.clear();
    return exchange;
  };
  const auto on_request = [](void* self, MHD_Connection* connection, const char* path,
                             const char* method, const char*, const char* upload,
                             std::size_t* upload_size, void** context) {
    return static_cast<Impl*>(self)->on_request(connection, path, method, upload, upload_size,
                                                *static_cast<Exchange*>(*context));
  };
  const auto on_completed = [](void* self, MHD_Connection*, void** context,
                               MHD_RequestTerminationCode) {
    auto* exchange = static_cast<Exchange*>(*context);
    if (exchange->in_flight) {
      exchange->in_flight = false;
      --static_cast<Impl*>(self)->calls_in_flight;
    }
  };

  // clang-format off
  daemon = MHD_start_daemon(
      MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_ITC, 0, nullptr, nullptr, +on_request, this,
      MHD_OPTION_LISTEN_SOCKET, static_cast<MHD_socket>(listener),
      MHD_OPTION_THREAD_POOL_SIZE, options.threads,
      MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds,
      MHD_OPTION_CONNECTION_LIMIT, connection_limit(options.threads),
      MHD_OPTION_NOTIFY_CONNECTION, +on_connection, nullptr,
      MHD_OPTION_URI_LOG_CALLBACK, +on_target, nullptr,
      MHD_OPTION_NOTIFY_COMPLETED, +on_completed, this,
      MHD_OPTION_END);
  // clang-format on
  if (daemon == nullptr) {
    throw std::runtime_error("cannot serve on " + options.host + ":" + std::to_string(port));
  }
  listener = -1;
}

MHD_Result ServiceServer::Impl::on_request(MHD_Connection* connection, const char* path,
                                           const char* method, const char* upload,
                                           std::size_t* upload_size, Exchange& exchange) {
  HttpRequest& request = exchange.request;
  const std::size_t limit = options.settings.max_body;
  if (!exchange.begun) {
    // The head is complete and none of the body has been read: every refusal is decided here.
    exchange.begun = true;
    exchange.in_flight = true;
    ++calls_in_flight;
    request.headers.clear();
    request.body = {};
    request.query = {};
    request.method = method;
    request.path = path;
    const std::string_view target = exchange.target;
    if (const std::size_t mark = target.find('?'); mark != std::string_view::npos) {
      request.query = target.substr(mark + 1);
    }
    MHD_get_connection_values_n(connection, MHD_HEADER_KIND, collect_header, &request.headers);
    if (std::optional<HttpReply> refusal = screen_request(request, options.settings)) {
      // Answered before any of the body is read. When a body was announced, the library ends the
      // connection after the reply ("Connection: close"): no unread byte is taken for a request.
      return send(connection, exchange, std::move(*refusal));
    }
    if (request.method != "POST") {  // GET or HEAD: nothing to wait for
      return send(connection, exchange, handle_request(request, options.settings));
    }
    return MHD_YES;  // on to the body
  }
  if (*upload_size > 0) {
    if (exchange.dropped == 0 && *upload_size <= limit - exchange.body.size()) {
      exchange.body.append(upload, *upload_size);
    } else {
      // Only a chunked body gets here: a declared length over the limit was refused unread. The
      // library lets a reply go only once the body has ended, so the rest is thrown away, up to
      // a bound past which the connection is cut without one.
      exchange.dropped += *upload_size;
      exchange.body = std::string();
      if (exchange.dropped > kMostDropped) return MHD_NO;
    }
    *upload_size = 0;
    return MHD_YES;
  }
  if (exchange.dropped > 0) {
    return send(connection, exchange,
                plain_reply(413, "The request body is larger than this service accepts (" +
                                     std::to_string(limit) + " bytes)"));
  }
  request.body = exchange.body;
  HttpReply reply = handle_request(request, options.settings);
  if (options.delay.count() > 0) std::this_thread::sleep_for(options.delay);
  return send(connection, exchange, std::move(reply));
}

MHD_Result ServiceServer::Impl::send(MHD_Connection* connection, const Exchange& exchange,
                                     HttpReply&& reply) const {
  if (options.access_log) {
    const std::string line = address_of(connection) + " " + std::string(exchange.request.method) +
                             " " + exchange.target + " " + std::to_string(reply.status) + " " +
                             std::to_string(reply.body.size()) + "\n";
    std::fputs(line.c_str(), stderr);
  }
  MHD_Response* response =
      MHD_create_response_from_buffer(reply.body.size(), reply.body.data(), MHD_RESPMEM_MUST_COPY);
  if (response == nullptr) return MHD_NO;
  if (!reply.content_type.empty()) {
    MHD_add_response_header(response, "Content-Type", reply.content_type.c_str());
  }
  for (const auto& [name, value] : reply.headers) {
    MHD_add_response_header(response, name.c_str(), value.c_str());
  }
  const MHD_Result queued =
      MHD_queue_response(connection, static_cast<unsigned>(reply.status), response);
  MHD_destroy_response(response);
  return queued;
}

void ServiceServer::Impl::finish() {
  if (daemon == nullptr) return;
  // No new connections; the calls under way are answered, each within its own time-outs.
  listener = MHD_quiesce_daemon(daemon);
  const auto deadline = std::chrono::steady_clock::now() + options.delay + 4 * 1s * kIdleSeconds;
  while (calls_in_flight > 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(5ms);
  }
  MHD_stop_daemon(daemon);
  daemon = nullptr;
  if (listener >= 0) ::close(listener);
  listener = -1;
}

ServiceServer::ServiceServer(ServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

ServiceServer::~ServiceServer() = default;

int ServiceServer::listen() {
  Impl& impl = *impl_;
  impl.listener = open_listener(impl.options.host, impl.options.port);
  impl.port = bound_port(impl.listener);
  impl.start();
  return impl.port;
}

std::string ServiceServer::url() const {
  const std::string& host = impl_->options.host;
  const bool ipv6 = host.find(':') != std::string::npos;
  return "http://" + (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(impl_->port) +
         kServicePath;
}

void ServiceServer::stop() {
  impl_->finish();
}

}  // namespace tarvelo::service

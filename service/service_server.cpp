#include "service/service_server.h"

#include <httplib.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <thread>

#include "service/connection_server.h"
#include "service/request_handler.h"

namespace tarvelo::service {
namespace {

using httplib::Server;

// A connection waiting for its next request (idle, or with half a head sent) is closed after this
// long. Waiting holds no worker.
constexpr std::chrono::seconds kHeadTimeout{5};
// After this many requests a connection is closed, so that no client keeps one forever.
constexpr std::size_t kKeepAliveRequests = 100;
// The longest pause allowed while a body is read or a reply written.
constexpr time_t kReadWriteSeconds = 5;

HttpRequest view_of(const httplib::Request& request, std::string_view body) {
  HttpRequest view;
  view.method = request.method;
  view.path = request.path;
  const std::string_view target = request.target;
  if (const std::size_t mark = target.find('?'); mark != std::string_view::npos) {
    view.query = target.substr(mark + 1);
  }
  view.headers.reserve(request.headers.size());
  for (const auto& [name, value] : request.headers) view.headers.emplace_back(name, value);
  view.body = body;
  return view;
}

void write_reply(HttpReply&& reply, httplib::Response& response) {
  response.status = reply.status;
  for (auto& [name, value] : reply.headers) response.set_header(name.c_str(), value);
  if (!reply.content_type.empty()) response.set_header("Content-Type", reply.content_type);
  response.body = std::move(reply.body);
}

// True while part of the request's body still waits unread on the connection.
bool body_pending(const httplib::Request& request) {
  return request.has_header("Transfer-Encoding") ||
         request.get_header_value<std::uint64_t>("Content-Length") > 0;
}

// The connection closes once this reply is written, and the client is told so. Whatever the
// client still sends is never read.
void close_after(httplib::Response& response) {
  response.set_header("Connection", "close");
  ConnectionServer::close_after_reply();
}

// A refusal sent before the body was read leaves that body on the connection, where it must not be
// taken for the next request: the connection closes.
void refuse_unread(HttpReply&& refusal, const httplib::Request& request,
                   httplib::Response& response) {
  write_reply(std::move(refusal), response);
  if (body_pending(request)) close_after(response);
}

std::string_view reason_of_error(int status) {
  switch (status) {
    case 400:
      return "The request is not valid HTTP";
    case 413:
      return "The request is larger than this service accepts";
    case 414:
      return "The request target is too long";
    default:
      return "The request could not be served";
  }
}

}  // namespace

struct ServiceServer::Impl {
  explicit Impl(ServerOptions options_in) : options(std::move(options_in)) {}

  void configure();
  Server::HandlerResponse pre_route(const httplib::Request& request,
                                    httplib::Response& response) const;
  // Answers a call whose body has been read, after the configured delay.
  void answer(const HttpRequest& call, httplib::Response& response) const;
  void answer_read(const httplib::Request& request, httplib::Response& response) const;
  void answer_call(const httplib::Request& request, httplib::Response& response,
                   const httplib::ContentReader& reader) const;

  const ServerOptions options;
  ConnectionServer server{options.threads, kHeadTimeout};
  int port = -1;
  int listener = -1;
  std::atomic<bool> serving{false};
  std::atomic<bool> stop_requested{false};
};

void ServiceServer::Impl::configure() {
  server.set_keep_alive_max_count(kKeepAliveRequests);
  server.set_read_timeout(kReadWriteSeconds, 0);
  server.set_write_timeout(kReadWriteSeconds, 0);
  server.set_tcp_nodelay(true);
  server.set_payload_max_length(options.settings.max_body);
  server.set_socket_options([this](socket_t socket) {
    const int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    listener = socket;
  });

  const Settings& settings = options.settings;
  server.set_expect_100_continue_handler(
      [&settings](const httplib::Request& request, httplib::Response& response) {
        std::optional<HttpReply> refusal = screen_request(view_of(request, {}), settings);
        if (!refusal) return 100;
        const int status = refusal->status;
        write_reply(std::move(*refusal), response);
        close_after(response);
        return status;
      });
  server.set_pre_routing_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        return pre_route(request, response);
      });

  const std::string pattern = "/Service\\.asmx";
  server.Get(pattern, [this](const httplib::Request& request, httplib::Response& response) {
    answer_read(request, response);
  });
  server.Post(pattern, [this](const httplib::Request& request, httplib::Response& response,
                              const httplib::ContentReader& reader) {
    answer_call(request, response, reader);
  });

  // Errors that the HTTP layer finds itself get a readable body as well. Every error reply counts
  // as handled here, because only then does the HTTP layer give it a Content-Length on every path
  // (a refusal of "Expect: 100-continue" would otherwise be delimited by closing the connection).
  server.set_error_handler(
      Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) {
          write_reply(plain_reply(response.status, reason_of_error(response.status)), response);
        }
        return Server::HandlerResponse::Handled;
      }));
  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        write_reply(plain_reply(500, "The service failed while it answered"), response);
      });
  if (options.access_log) {
    server.set_logger([](const httplib::Request& request, const httplib::Response& response) {
      const std::string line = request.remote_addr + " " + request.method + " " + request.target +
                               " " + std::to_string(response.status) + " " +
                               std::to_string(response.body.size()) + "\n";
      std::fputs(line.c_str(), stderr);
    });
  }
}

Server::HandlerResponse ServiceServer::Impl::pre_route(const httplib::Request& request,
                                                       httplib::Response& response) const {
  const HttpRequest head = view_of(request, {});
  if (std::optional<HttpReply> refusal = screen_request(head, options.settings)) {
    refuse_unread(std::move(*refusal), request, response);
    return Server::HandlerResponse::Handled;
  }
  // A request without Content-Length or Transfer-Encoding has no body. It is answered here: the
  // HTTP layer would wait for the connection to close to find the body's end.
  if (request.method == "POST" && !request.has_header("Content-Length") &&
      !request.has_header("Transfer-Encoding")) {
    answer(head, response);
    return Server::HandlerResponse::Handled;
  }
  return Server::HandlerResponse::Unhandled;
}

void ServiceServer::Impl::answer(const HttpRequest& call, httplib::Response& response) const {
  HttpReply reply = handle_request(call, options.settings);
  if (options.delay.count() > 0) std::this_thread::sleep_for(options.delay);
  write_reply(std::move(reply), response);
}

void ServiceServer::Impl::answer_read(const httplib::Request& request,
                                      httplib::Response& response) const {
  write_reply(handle_request(view_of(request, {}), options.settings), response);
}

void ServiceServer::Impl::answer_call(const httplib::Request& request, httplib::Response& response,
                                      const httplib::ContentReader& reader) const {
  const std::size_t limit = options.settings.max_body;
  std::string body;
  body.reserve(static_cast<std::size_t>(
      std::min<std::uint64_t>(request.get_header_value<std::uint64_t>("Content-Length"), limit)));
  bool too_large = false;
  const bool complete = reader([&](const char* data, std::size_t length) {
    if (length > limit - body.size()) {
      too_large = true;
      return false;
    }
    body.append(data, length);
    return true;
  });
  if (too_large || !complete) {
    write_reply(too_large ? plain_reply(413,
                                        "The request body is larger than this service accepts"
                                        " (" +
                                            std::to_string(limit) + " bytes)")
                          : plain_reply(400, "The request body could not be read in full"),
                response);
    close_after(response);
    return;
  }
  answer(view_of(request, body), response);
}

ServiceServer::ServiceServer(ServerOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {
  impl_->configure();
}

ServiceServer::~ServiceServer() = default;

int ServiceServer::listen() {
  Impl& impl = *impl_;
  const std::string& host = impl.options.host;
  errno = 0;
  if (impl.options.port == 0) {
    impl.port = impl.server.bind_to_any_port(host);
  } else if (impl.server.bind_to_port(host, impl.options.port)) {
    impl.port = impl.options.port;
  }
  if (impl.port < 0) {
    const int cause = errno;
    throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(impl.options.port) +
                             (cause != 0 ? std::string(": ") + std::strerror(cause) : ""));
  }
  // A deeper queue of connections waiting to be accepted than the HTTP layer asks for, so that
  // bursts of new connections are not dropped.
  if (impl.listener >= 0) ::listen(impl.listener, SOMAXCONN);
  return impl.port;
}

std::string ServiceServer::url() const {
  const std::string& host = impl_->options.host;
  const bool ipv6 = host.find(':') != std::string::npos;
  return "http://" + (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(impl_->port) +
         kServicePath;
}

void ServiceServer::serve() {
  Impl& impl = *impl_;
  impl.serving = true;
  if (!impl.stop_requested) impl.server.listen_after_bind();
  impl.serving = false;
}

void ServiceServer::stop() {
  Impl& impl = *impl_;
  impl.stop_requested = true;
  // The HTTP layer ignores a stop until its accept loop runs; wait for that if serve() has begun.
  while (impl.serving && !impl.server.is_running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  impl.server.stop();
}

}  // namespace tarvelo::service

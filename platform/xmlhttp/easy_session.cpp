#include "easy_session.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>

namespace xmlhttp {
namespace {

constexpr long kMaxRedirects = 10;
constexpr std::size_t kKeptPerThread = 2;

// Loopback never goes through a proxy; whatever the environment exempts stays exempt.
std::string NoProxyList() {
  std::string list = "localhost,127.0.0.1,::1";
  for (const char* name : {"no_proxy", "NO_PROXY"})
    if (const char* value = std::getenv(name); value && *value) {
      list += ',';
      list += value;
      break;
    }
  return list;
}

// The handles a thread keeps between its request objects; cleaned up when the thread ends.
std::vector<std::unique_ptr<EasySession>>& KeptSessions() {
  thread_local std::vector<std::unique_ptr<EasySession>> kept;
  return kept;
}

}  // namespace

EasySession::~EasySession() {
  if (easy_) curl_easy_cleanup(easy_);  // closes the sockets still open, through OnCloseSocket
}

bool EasySession::Prepare() {
  easy_ = curl_easy_init();
  if (!easy_) return false;
  try {
    openSockets_.reserve(4);
  } catch (const std::bad_alloc&) {
    return false;
  }
  CURL* const easy = easy_;
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_TCP_NODELAY, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText_);
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &stallWatch_);
  curl_easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, OnOpenSocket);
  curl_easy_setopt(easy, CURLOPT_OPENSOCKETDATA, this);
  curl_easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, OnCloseSocket);
  curl_easy_setopt(easy, CURLOPT_CLOSESOCKETDATA, this);
  // An ended connection leaves the handle's cache with the next one; TLS sessions are not
  // resumed across request objects either.
  curl_easy_setopt(easy, CURLOPT_MAXCONNECTS, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_SESSIONID_CACHE, 0L);
  return true;
}

void EasySession::EndConnections() {
  for (const curl_socket_t socket : openSockets_) ::shutdown(socket, SHUT_RDWR);
}

curl_socket_t EasySession::OnOpenSocket(void* context, curlsocktype /*purpose*/,
                                        curl_sockaddr* address) {
  auto& session = *static_cast<EasySession*>(context);
  // Not inherited by programs started later: a kept handle may hold an ended socket a while.
  const curl_socket_t socket =
      ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
  if (socket == CURL_SOCKET_BAD) return socket;
  try {
    session.openSockets_.push_back(socket);
  } catch (const std::bad_alloc&) {  // nothing may unwind through libcurl
    ::close(socket);
    return CURL_SOCKET_BAD;
  }
  return socket;
}

int EasySession::OnCloseSocket(void* context, curl_socket_t socket) {
  auto& sockets = static_cast<EasySession*>(context)->openSockets_;
  std::erase(sockets, socket);
  return ::close(socket);
}

int EasySession::OnProgress(void* context, curl_off_t, curl_off_t received, curl_off_t,
                            curl_off_t sent) {
  auto& watch = *static_cast<StallWatch*>(context);
  const auto now = std::chrono::steady_clock::now();
  if (received != watch.received || sent != watch.sent) {
    watch.received = received;
    watch.sent = sent;
    watch.lastMove = now;
    return 0;
  }
  watch.stalled = now - watch.lastMove >= watch.limit;
  return watch.stalled ? 1 : 0;  // non-zero ends the transfer
}

std::unique_ptr<EasySession> TakeEasySession() {
  std::unique_ptr<EasySession> session;
  auto& kept = KeptSessions();
  if (!kept.empty()) {
    session = std::move(kept.back());
    kept.pop_back();
  } else {
    session.reset(new (std::nothrow) EasySession());
    if (!session || !session->Prepare()) return nullptr;
  }
  // The environment may have changed since the handle was made.
  try {
    curl_easy_setopt(session->Handle(), CURLOPT_NOPROXY, NoProxyList().c_str());  // copied
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return session;
}

void GiveBackEasySession(std::unique_ptr<EasySession> session) {
  if (!session) return;
  session->EndConnections();
  auto& kept = KeptSessions();
  if (kept.size() >= kKeptPerThread) return;  // cleaned up here
  try {
    kept.push_back(std::move(session));
  } catch (const std::bad_alloc&) {
    // not kept: cleaned up here
  }
}

}  // namespace xmlhttp

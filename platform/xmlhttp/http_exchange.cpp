#include "http_exchange.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <new>

#include "digest_auth.h"
#include "request_headers.h"
#include "transfer_settings.h"

namespace xmlhttp {
namespace {

constexpr std::size_t kLargestReservation = 64u << 20;  // what a Content-Length may reserve

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

// Appends a line; false when memory ran out (the list is then unchanged).
bool Append(Slist& list, const std::string& line) {
  curl_slist* const grown = curl_slist_append(list.get(), line.c_str());
  if (!grown) return false;
  (void)list.release();
  list.reset(grown);
  return true;
}

TransferFailure OutOfMemory() {
  return DescribeTransferFailure(CURLE_OUT_OF_MEMORY, nullptr);
}

std::string_view TrimLine(std::string_view line) {
  while (!line.empty() &&
         (line.back() == '\r' || line.back() == '\n' || line.back() == ' ' || line.back() == '\t'))
    line.remove_suffix(1);
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  return line;
}

// A reply's status line ("HTTP/1.1 404 Not Found") starts a fresh reply: the headers and body
// of a redirect or of a 100 Continue before it are dropped.
void StartReply(std::string_view statusLine, HttpReply& reply) {
  reply.headers.clear();
  reply.body.clear();
  reply.statusText.clear();
  reply.status = 0;
  const std::size_t codeStart = statusLine.find(' ');
  if (codeStart == std::string_view::npos) return;
  const std::string_view rest = statusLine.substr(codeStart + 1);
  std::from_chars(rest.data(), rest.data() + rest.size(), reply.status);
  const std::size_t textStart = rest.find(' ');
  if (textStart != std::string_view::npos) reply.statusText = TrimLine(rest.substr(textStart + 1));
}

// What the reply callbacks write to. Memory running out inside a callback must not unwind
// through libcurl: it ends the transfer and is reported afterwards.
struct ReplySink {
  HttpReply* reply = nullptr;
  bool outOfMemory = false;
};

void TakeHeaderLine(std::string_view raw, HttpReply& reply) {
  if (raw.starts_with("HTTP/")) {
    StartReply(TrimLine(raw), reply);
    return;
  }
  const std::string_view line = TrimLine(raw);
  if (line.empty()) return;
  if ((raw.front() == ' ' || raw.front() == '\t') && !reply.headers.empty()) {
    reply.headers.back().second += ' ';  // a folded continuation line
    reply.headers.back().second += line;
    return;
  }
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return;
  const std::string_view name = TrimLine(line.substr(0, colon));
  const std::string_view value = TrimLine(line.substr(colon + 1));
  reply.headers.emplace_back(name, value);
  if (EqualsIgnoringAsciiCase(name, "Content-Length")) {
    std::size_t expected = 0;
    std::from_chars(value.data(), value.data() + value.size(), expected);
    reply.body.reserve(std::min(expected, kLargestReservation));
  }
}

std::size_t OnHeaderLine(char* data, std::size_t size, std::size_t count, void* context) {
  auto& sink = *static_cast<ReplySink*>(context);
  try {
    TakeHeaderLine(std::string_view(data, size * count), *sink.reply);
    return size * count;
  } catch (const std::bad_alloc&) {
    sink.outOfMemory = true;
    return 0;
  }
}

std::size_t OnBodyBytes(char* data, std::size_t size, std::size_t count, void* context) {
  auto& sink = *static_cast<ReplySink*>(context);
  try {
    sink.reply->body.append(data, size * count);
    return size * count;
  } catch (const std::bad_alloc&) {
    sink.outOfMemory = true;
    return 0;
  }
}

bool CarriesBody(std::string_view method) {
  return method != "GET" && method != "HEAD";
}

// The lists one transfer hands to libcurl; they must live until the transfer ends.
struct RequestLists {
  Slist headers;
  Slist resolve;
};

// False when memory ran out.
bool BuildLists(const HttpRequest& request, std::string_view method, const HttpUrl& urlParts,
                const std::string* authorization, RequestLists& lists) {
  for (const auto& line : request.headerLines)
    if (!Append(lists.headers, line)) return false;
  // libcurl's own additions that would change the exchange are switched off by empty values.
  if (!Append(lists.headers, "Expect:")) return false;
  if (CarriesBody(method) && !request.hasContentType && !Append(lists.headers, "Content-Type:"))
    return false;
  if (authorization && !Append(lists.headers, *authorization)) return false;

  // "localhost" goes to 127.0.0.1 first and to ::1 only when that is refused: no lookup and no
  // attempt on IPv6 first.
  if (EqualsIgnoringAsciiCase(urlParts.host, "localhost") &&
      !Append(lists.resolve, "localhost:" + urlParts.port + ":127.0.0.1,[::1]"))
    return false;
  return true;
}

// GET and HEAD go without a body; every other method sends the body (maybe empty), and only
// POST keeps libcurl's own request line, which redirects may turn into GET as browsers do.
void SetMethodAndBody(CURL* easy, std::string_view method, std::string_view body) {
  curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, nullptr);
  curl_easy_setopt(easy, CURLOPT_NOBODY, 0L);
  if (method == "GET") {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    return;
  }
  if (method == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    return;
  }
  curl_easy_setopt(easy, CURLOPT_POST, 1L);
  curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.data());
  if (method != "POST") {
    const std::string custom(method);
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, custom.c_str());  // libcurl copies it
  }
}

// Basic credentials go with the first request, unasked.
void SetCredentials(CURL* easy, const std::optional<std::string>& user,
                    const std::string& password) {
  if (!user) {
    curl_easy_setopt(easy, CURLOPT_USERNAME, nullptr);
    curl_easy_setopt(easy, CURLOPT_PASSWORD, nullptr);
    return;
  }
  curl_easy_setopt(easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
  curl_easy_setopt(easy, CURLOPT_USERNAME, user->c_str());
  curl_easy_setopt(easy, CURLOPT_PASSWORD, password.c_str());
}

}  // namespace

HttpConnection::~HttpConnection() {
  GiveBackEasySession(std::move(session_));
}

std::optional<TransferFailure> HttpConnection::Exchange(const HttpRequest& request,
                                                        HttpReply& reply) {
  if (!session_) session_ = TakeEasySession();
  if (!session_) return OutOfMemory();
  if (auto failure =
          Perform(request, request.method, request.url, request.urlParts, nullptr, reply))
    return failure;
  if (reply.status == 401 && request.user && !request.hasAuthorization)
    return AnswerDigestChallenge(request, reply);
  return std::nullopt;
}

// The Basic credentials were refused. If the server offers Digest, the request goes once more,
// as it went last (after any redirect), with a Digest answer.
std::optional<TransferFailure> HttpConnection::AnswerDigestChallenge(const HttpRequest& request,
                                                                     HttpReply& reply) {
  std::vector<std::string> challenges;
  for (const auto& [name, value] : reply.headers)
    if (EqualsIgnoringAsciiCase(name, "WWW-Authenticate")) challenges.push_back(value);
  const auto challenge = FindDigestChallenge(challenges);
  if (!challenge) return std::nullopt;

  char* effectiveUrl = nullptr;
  char* effectiveMethod = nullptr;
  curl_easy_getinfo(session_->Handle(), CURLINFO_EFFECTIVE_URL, &effectiveUrl);
  curl_easy_getinfo(session_->Handle(), CURLINFO_EFFECTIVE_METHOD, &effectiveMethod);
  const std::string url = effectiveUrl ? effectiveUrl : request.url;
  const std::string method = effectiveMethod ? effectiveMethod : request.method;
  const auto parsed = ParseHttpUrl(url);
  if (!std::holds_alternative<HttpUrl>(parsed)) return std::nullopt;
  const HttpUrl& urlParts = std::get<HttpUrl>(parsed);

  const std::string authorization =
      "Authorization: " + DigestAuthorization(*challenge, {*request.user, request.password}, method,
                                              urlParts.target, NewClientNonce());
  return Perform(request, method, url, urlParts, &authorization, reply);
}

std::optional<TransferFailure> HttpConnection::Perform(
    const HttpRequest& request, std::string_view method, const std::string& url,
    const HttpUrl& urlParts, const std::string* authorization, HttpReply& reply) {
  CURL* const easy = session_->Handle();
  const TransferSettings settings = CurrentTransferSettings();
  RequestLists lists;
  if (!BuildLists(request, method, urlParts, authorization, lists)) return OutOfMemory();

  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  SetMethodAndBody(easy, method, request.body);
  SetCredentials(easy, authorization ? std::nullopt : request.user, request.password);
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, lists.headers.get());
  curl_easy_setopt(easy, CURLOPT_RESOLVE, lists.resolve.get());
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, settings.connectTimeoutMs);
  // Until a transfer of this object has completed, no connection is taken from the handle's
  // cache: whatever is there was left by an earlier object.
  curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, transferred_ ? 0L : 1L);
  ReplySink sink{&reply, false};
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeaderLine);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, &sink);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBodyBytes);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &sink);

  reply = HttpReply{};
  char* const errorText = session_->ErrorText();
  errorText[0] = '\0';
  StallWatch& stallWatch = session_->Stall();
  stallWatch = StallWatch{std::chrono::steady_clock::now(), 0, 0,
                          std::chrono::milliseconds(settings.stallMs), false};
  const CURLcode result = curl_easy_perform(easy);
  if (result == CURLE_OK) transferred_ = true;

  // The lists and the body go away after this call: libcurl must keep no pointer to them.
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(easy, CURLOPT_RESOLVE, nullptr);
  curl_easy_setopt(easy, CURLOPT_POSTFIELDS, nullptr);

  long lastStatus = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &lastStatus);
  if (result == CURLE_OK) {
    reply.status = lastStatus;
    return std::nullopt;
  }
  reply = HttpReply{};
  if (sink.outOfMemory) return OutOfMemory();
  if (stallWatch.stalled) {
    const std::string detail = "no data moved for " + std::to_string(settings.stallMs) + " ms";
    return DescribeTransferFailure(CURLE_OPERATION_TIMEDOUT, detail.c_str());
  }
  // A redirect to a scheme that is not followed fails like a reply in an unknown protocol;
  // the redirect status before it tells them apart.
  if (result == CURLE_UNSUPPORTED_PROTOCOL && lastStatus >= 300 && lastStatus < 400)
    return DescribeRedirectFailure(errorText);
  return DescribeTransferFailure(result, errorText);
}

}  // namespace xmlhttp

#include "http_exchange.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <new>

#include "ascii_case.h"
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

// What the reply callbacks write to. Memory running out inside a callback must not unwind
// through libcurl: it ends the transfer and is reported afterwards.
struct ReplySink {
  HttpReply* reply = nullptr;
  bool outOfMemory = false;
};

// The value of a header line of that name (ASCII case-insensitive), blanks trimmed; nullopt for
// a line of another header.
std::optional<std::string_view> HeaderValue(std::string_view line, std::string_view name) {
  if (line.size() <= name.size() || line[name.size()] != ':' ||
      !ascii::EqualsIgnoringCase(line.substr(0, name.size()), name))
    return std::nullopt;
  line.remove_prefix(name.size() + 1);
  const std::size_t first = line.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return std::string_view();
  return line.substr(first, line.find_last_not_of(" \t\r\n") + 1 - first);
}

// A status line starts a fresh reply (what a redirect or a 100 Continue before it sent is
// dropped); a Content-Length reserves room for the body; the Content-Type names its charset.
void TakeHeaderLine(std::string_view line, HttpReply& reply) {
  if (line.starts_with("HTTP/")) {
    reply.contentType.clear();
    reply.body.clear();
  } else if (const auto type = HeaderValue(line, "Content-Type")) {
    reply.contentType = *type;
  } else if (const auto length = HeaderValue(line, "Content-Length")) {
    std::size_t expected = 0;
    std::from_chars(length->data(), length->data() + length->size(), expected);
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
                RequestLists& lists) {
  for (const auto& line : request.headerLines)
    if (!Append(lists.headers, line)) return false;
  // libcurl's own additions that would change the exchange are switched off by empty values.
  if (!Append(lists.headers, "Expect:")) return false;
  if (CarriesBody(method) && !request.hasContentType && !Append(lists.headers, "Content-Type:"))
    return false;

  // "localhost" goes to 127.0.0.1 first and to ::1 only when that is refused: no lookup and no
  // attempt on IPv6 first.
  if (ascii::EqualsIgnoringCase(urlParts.host, "localhost") &&
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

// With one scheme allowed, libcurl sends Basic credentials with the first request, unasked,
// and answers a Digest challenge with Digest. Either goes only to the host, port and scheme of
// the URL the transfer starts from: after a redirect elsewhere libcurl sends none (the
// component never sets CURLOPT_UNRESTRICTED_AUTH).
void SetCredentials(CURL* easy, const std::optional<std::string>& user, const std::string& password,
                    unsigned long authScheme) {
  curl_easy_setopt(easy, CURLOPT_HTTPAUTH, static_cast<long>(authScheme));
  curl_easy_setopt(easy, CURLOPT_USERNAME, user ? user->c_str() : nullptr);
  curl_easy_setopt(easy, CURLOPT_PASSWORD, user ? password.c_str() : nullptr);
}

bool SameOrigin(const HttpUrl& a, const HttpUrl& b) {
  return a.scheme == b.scheme && a.port == b.port && ascii::EqualsIgnoringCase(a.host, b.host);
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
          Perform(request, request.method, request.url, request.urlParts, CURLAUTH_BASIC, reply))
    return failure;
  if (reply.status == 401 && request.user && !request.hasAuthorization)
    return RepeatWithDigest(request, reply);
  return std::nullopt;
}

// The Basic credentials were refused. If the 401 came from the origin that was opened and offers
// Digest, the request goes once more, as it went last (after any redirect), and libcurl answers
// the challenge. A 401 from another origin stays the reply: its challenge gets no answer.
std::optional<TransferFailure> HttpConnection::RepeatWithDigest(const HttpRequest& request,
                                                                HttpReply& reply) {
  CURL* const easy = session_->Handle();
  long offered = 0;
  char* effectiveUrl = nullptr;
  char* effectiveMethod = nullptr;
  curl_easy_getinfo(easy, CURLINFO_HTTPAUTH_AVAIL, &offered);
  curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effectiveUrl);
  curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_METHOD, &effectiveMethod);
  if ((offered & CURLAUTH_DIGEST) == 0 || !effectiveUrl || !effectiveMethod) return std::nullopt;
  const std::string url = effectiveUrl;
  const std::string method = effectiveMethod;
  const auto parsed = ParseHttpUrl(url);
  if (!std::holds_alternative<HttpUrl>(parsed) ||
      !SameOrigin(std::get<HttpUrl>(parsed), request.urlParts))
    return std::nullopt;
  return Perform(request, method, url, std::get<HttpUrl>(parsed), CURLAUTH_DIGEST, reply);
}

std::optional<TransferFailure> HttpConnection::Perform(const HttpRequest& request,
                                                       std::string_view method,
                                                       const std::string& url,
                                                       const HttpUrl& urlParts,
                                                       unsigned long authScheme, HttpReply& reply) {
  CURL* const easy = session_->Handle();
  const TransferSettings settings = CurrentTransferSettings();
  RequestLists lists;
  if (!BuildLists(request, method, urlParts, lists)) return OutOfMemory();

  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  SetMethodAndBody(easy, method, request.body);
  SetCredentials(easy, request.user, request.password, authScheme);
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

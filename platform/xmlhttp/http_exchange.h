// One HTTP request/reply exchange on libcurl, with the component's rules: Basic credentials
// on the first request and, when the server asks for Digest instead, the request once more with
// libcurl's Digest; credentials only ever for the origin (scheme, host, port) of the URL opened;
// redirects as browsers follow them, no proxy for loopback, the component's time-outs, and
// nothing added that changes the exchange (no "Expect: 100-continue", no compression, no
// default Content-Type).
#pragma once

#include <curl/curl.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "easy_session.h"
#include "http_url.h"
#include "transfer_errors.h"

namespace xmlhttp {

struct HttpRequest {
  std::string method;  // as sent: the standard methods in upper case
  std::string url;
  HttpUrl urlParts;                      // of url
  std::vector<std::string> headerLines;  // "Name: value", checked by the caller
  bool hasContentType = false;           // among headerLines
  bool hasAuthorization = false;         // among headerLines
  std::optional<std::string> user;       // credentials for the origin of url, UTF-8
  std::string password;
  std::string_view body;  // sent with every method but GET and HEAD; must outlive Exchange
};

struct HttpReply {
  long status = 0;
  std::string contentType;  // the value of the last reply's Content-Type; empty for none
  std::string body;
};

// One request object's connection, on a libcurl easy handle. The connection it opens belongs
// to this object alone: it may serve several requests of the object (a redirect, the Digest
// answer, a later send) and is ended when the object goes away. The easy handle itself is
// taken from those the thread keeps, and given back then (see easy_session.h).
class HttpConnection {
 public:
  HttpConnection() = default;
  HttpConnection(const HttpConnection&) = delete;
  HttpConnection& operator=(const HttpConnection&) = delete;
  ~HttpConnection();

  // Performs the exchange. An HTTP error status is a completed exchange; only a failed
  // transfer gives a failure, and then reply holds nothing of use.
  std::optional<TransferFailure> Exchange(const HttpRequest& request, HttpReply& reply);

 private:
  // One curl_easy_perform, redirects included; authScheme is the one scheme libcurl may use
  // for the credentials.
  std::optional<TransferFailure> Perform(const HttpRequest& request, std::string_view method,
                                         const std::string& url, const HttpUrl& urlParts,
                                         unsigned long authScheme, HttpReply& reply);
  std::optional<TransferFailure> RepeatWithDigest(const HttpRequest& request, HttpReply& reply);

  std::unique_ptr<EasySession> session_;
  bool transferred_ = false;  // a transfer has completed: later ones may use its connection
};

}  // namespace xmlhttp

#include "http_url.h"

#include <curl/curl.h>

#include <memory>

namespace xmlhttp {
namespace {

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextDeleter {
  void operator()(char* text) const { curl_free(text); }
};
using CurlText = std::unique_ptr<char, CurlTextDeleter>;

// One part of the URL; false when it is absent.
bool GetPart(CURLU* url, CURLUPart part, unsigned int flags, std::string& out) {
  char* raw = nullptr;
  if (curl_url_get(url, part, &raw, flags) != CURLUE_OK) return false;
  const CurlText text(raw);
  out = text ? text.get() : "";
  return true;
}

}  // namespace

namespace {

std::variant<HttpUrl, UrlProblem> ParseWithCurl(std::string_view url) {
  const std::unique_ptr<CURLU, UrlDeleter> parsed(curl_url());
  if (!parsed) return UrlProblem::kMalformed;
  const std::string text(url);
  // Only absolute URLs with an authority: no guessing of a scheme, and only http(s).
  if (text.find("://") == std::string::npos ||
      curl_url_set(parsed.get(), CURLUPART_URL, text.c_str(), CURLU_NON_SUPPORT_SCHEME) !=
          CURLUE_OK)
    return UrlProblem::kMalformed;
  HttpUrl result;
  if (!GetPart(parsed.get(), CURLUPART_SCHEME, 0, result.scheme)) return UrlProblem::kMalformed;
  if (result.scheme != "http" && result.scheme != "https") return UrlProblem::kUnsupportedScheme;
  if (!GetPart(parsed.get(), CURLUPART_HOST, 0, result.host) || result.host.empty() ||
      !GetPart(parsed.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT, result.port))
    return UrlProblem::kMalformed;
  if (result.host.size() > 2 && result.host.front() == '[' && result.host.back() == ']')
    result.host = result.host.substr(1, result.host.size() - 2);
  std::string query;
  // assign(1, '/') rather than = "/": g++ 12 at -O2 warns falsely (-Wrestrict) on the latter.
  if (!GetPart(parsed.get(), CURLUPART_PATH, 0, result.target)) result.target.assign(1, '/');
  if (GetPart(parsed.get(), CURLUPART_QUERY, 0, query)) result.target += "?" + query;
  return result;
}

}  // namespace

std::variant<HttpUrl, UrlProblem> ParseHttpUrl(std::string_view url) {
  // A thread's request objects mostly open one URL after another: its parts are kept for the
  // next time.
  struct LastParsed {
    std::string url;
    std::variant<HttpUrl, UrlProblem> result;
  };
  thread_local LastParsed last{{}, UrlProblem::kMalformed};
  if (last.url.empty() || last.url != url) {
    std::variant<HttpUrl, UrlProblem> result = ParseWithCurl(url);
    last.url.assign(url);
    last.result = std::move(result);
  }
  return last.result;
}

}  // namespace xmlhttp

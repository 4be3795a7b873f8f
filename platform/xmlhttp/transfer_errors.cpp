#include "transfer_errors.h"

#include "msxml2.h"

namespace xmlhttp {
namespace {

struct Entry {
  CURLcode code;
  DWORD error;  // Win32 Internet error, or 0 for E_OUTOFMEMORY
  const char* text;
};

constexpr Entry kTable[] = {
    {CURLE_COULDNT_CONNECT, ERROR_INTERNET_CANNOT_CONNECT,
     "A connection with the server could not be established"},
    {CURLE_COULDNT_RESOLVE_HOST, ERROR_INTERNET_NAME_NOT_RESOLVED,
     "The server name or address could not be resolved"},
    {CURLE_COULDNT_RESOLVE_PROXY, ERROR_INTERNET_NAME_NOT_RESOLVED,
     "The proxy server name could not be resolved"},
    {CURLE_OPERATION_TIMEDOUT, ERROR_INTERNET_TIMEOUT, "The operation timed out"},
    {CURLE_GOT_NOTHING, ERROR_INTERNET_CONNECTION_ABORTED,
     "The connection with the server was closed before a reply arrived"},
    {CURLE_PARTIAL_FILE, ERROR_INTERNET_CONNECTION_ABORTED,
     "The connection with the server was closed before the whole reply arrived"},
    {CURLE_RECV_ERROR, ERROR_INTERNET_CONNECTION_ABORTED,
     "The connection with the server was reset"},
    {CURLE_SEND_ERROR, ERROR_INTERNET_CONNECTION_ABORTED,
     "The connection with the server was reset"},
    {CURLE_WEIRD_SERVER_REPLY, ERROR_HTTP_INVALID_SERVER_RESPONSE,
     "The server returned an invalid or unrecognized response"},
    {CURLE_UNSUPPORTED_PROTOCOL, ERROR_HTTP_INVALID_SERVER_RESPONSE,
     "The server returned an invalid or unrecognized response"},
    {CURLE_BAD_CONTENT_ENCODING, ERROR_HTTP_INVALID_SERVER_RESPONSE,
     "The server returned an invalid or unrecognized response"},
    {CURLE_TOO_MANY_REDIRECTS, ERROR_HTTP_REDIRECT_FAILED,
     "The request was redirected too many times"},
    {CURLE_URL_MALFORMAT, ERROR_INTERNET_INVALID_URL, "The URL is invalid"},
    {CURLE_SSL_CONNECT_ERROR, ERROR_INTERNET_SECURITY_CHANNEL_ERROR,
     "A secure channel with the server could not be established"},
    {CURLE_PEER_FAILED_VERIFICATION, ERROR_INTERNET_INVALID_CA,
     "The server's certificate could not be verified"},
    {CURLE_SSL_CACERT_BADFILE, ERROR_INTERNET_INVALID_CA,
     "The trusted certificates could not be read"},
    {CURLE_OUT_OF_MEMORY, 0, "Not enough memory to complete the request"},
};

std::string WithDetail(const char* text, const char* detail, CURLcode code) {
  std::string reason = detail && *detail ? detail : curl_easy_strerror(code);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '.')) reason.pop_back();
  return std::string(text) + " (" + reason + ").";
}

}  // namespace

TransferFailure DescribeRedirectFailure(const char* detail) {
  return {HRESULT_FROM_WIN32(ERROR_HTTP_REDIRECT_FAILED),
          WithDetail("The request was redirected to a location that cannot be followed", detail,
                     CURLE_UNSUPPORTED_PROTOCOL)};
}

TransferFailure DescribeTransferFailure(CURLcode code, const char* detail) {
  for (const auto& entry : kTable)
    if (entry.code == code)
      return {entry.error ? HRESULT_FROM_WIN32(entry.error) : E_OUTOFMEMORY,
              WithDetail(entry.text, detail, code)};
  return {HRESULT_FROM_WIN32(ERROR_INTERNET_INTERNAL_ERROR),
          WithDetail("The request failed", detail, code)};
}

}  // namespace xmlhttp

#include "xml_http_request.h"

#include <atomic>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "failure_report.h"
#include "http_exchange.h"
#include "msxml.h"
#include "reply_charset.h"
#include "request_headers.h"
#include "utf_convert.h"

namespace xmlhttp {
namespace {

std::u16string_view View(BSTR text) {
  return {text ? text : u"", SysStringLen(text)};
}

bool IsMissing(const VARIANT& value) {
  return value.vt == VT_EMPTY || value.vt == VT_NULL || value.vt == VT_ERROR;
}

// A new BSTR holding UTF-8 text, or null when memory ran out.
BSTR NewBstr(std::string_view utf8) {
  const std::size_t units = Utf8ToUtf16(utf8, nullptr);
  BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(units));
  if (text) Utf8ToUtf16(utf8, text);
  return text;
}

HRESULT OutOfMemory() {
  return ReportFailure(E_OUTOFMEMORY, "Not enough memory to complete the operation.");
}

HRESULT NotYetAvailable() {
  return ReportFailure(E_PENDING,
                       "The data necessary to complete this operation is not yet available: "
                       "the request has not been sent successfully.");
}

// Hands a new string to the caller, or reports that memory ran out.
HRESULT ReturnText(std::string_view utf8, BSTR* out) {
  *out = NewBstr(utf8);
  return *out ? S_OK : OutOfMemory();
}

// The standard methods are sent in upper case, whatever case the caller wrote.
std::optional<std::string> NormalizedMethod(std::u16string_view method) {
  std::string text = Utf16ToUtf8(method);
  if (!IsHttpToken(text)) return std::nullopt;
  for (const std::string_view known : {"GET", "POST", "HEAD", "PUT", "DELETE", "OPTIONS", "PATCH"})
    if (EqualsIgnoringAsciiCase(text, known)) return std::string(known);
  return text;
}

class XmlHttpRequest final : public IXMLHTTPRequest, public ISupportErrorInfo {
 public:
  // IUnknown
  STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override {
    if (!ppvObject) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IXMLHTTPRequest) {
      *ppvObject = static_cast<IXMLHTTPRequest*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
      *ppvObject = static_cast<ISupportErrorInfo*>(this);
    } else {
      *ppvObject = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++references_; }
  STDMETHOD_(ULONG, Release)() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // ISupportErrorInfo
  STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) override {
    return riid == IID_IXMLHTTPRequest ? S_OK : S_FALSE;
  }

  // IXMLHTTPRequest
  STDMETHOD(open)
  (BSTR bstrMethod, BSTR bstrUrl, VARIANT varAsync, VARIANT bstrUser,
   VARIANT bstrPassword) override {
    return Guarded([&] { return Open(bstrMethod, bstrUrl, varAsync, bstrUser, bstrPassword); });
  }
  STDMETHOD(setRequestHeader)(BSTR bstrHeader, BSTR bstrValue) override {
    return Guarded([&] { return SetRequestHeader(bstrHeader, bstrValue); });
  }
  STDMETHOD(getResponseHeader)(BSTR bstrHeader, BSTR* pbstrValue) override {
    return Guarded([&] { return GetResponseHeader(bstrHeader, pbstrValue); });
  }
  STDMETHOD(getAllResponseHeaders)(BSTR* pbstrHeaders) override {
    return Guarded([&] { return GetAllResponseHeaders(pbstrHeaders); });
  }
  STDMETHOD(send)(VARIANT varBody) override {
    return Guarded([&] { return Send(varBody); });
  }
  STDMETHOD(abort)() override {
    ForgetRequest();
    connection_.reset();
    return S_OK;
  }
  STDMETHOD(get_status)(LONG* plStatus) override {
    if (!plStatus) return E_POINTER;
    *plStatus = 0;
    if (readyState_ != XMLHTTP_READYSTATE_COMPLETED) return NotYetAvailable();
    *plStatus = static_cast<LONG>(reply_.status);
    return S_OK;
  }
  STDMETHOD(get_statusText)(BSTR* pbstrStatus) override {
    if (!pbstrStatus) return E_POINTER;
    *pbstrStatus = nullptr;
    if (readyState_ != XMLHTTP_READYSTATE_COMPLETED) return NotYetAvailable();
    return Guarded([&] { return ReturnText(reply_.statusText, pbstrStatus); });
  }
  STDMETHOD(get_responseText)(BSTR* pbstrBody) override {
    if (!pbstrBody) return E_POINTER;
    *pbstrBody = nullptr;
    if (readyState_ != XMLHTTP_READYSTATE_COMPLETED) return NotYetAvailable();
    return ResponseText(pbstrBody);
  }
  STDMETHOD(get_readyState)(LONG* plState) override {
    if (!plState) return E_POINTER;
    *plState = readyState_;
    return S_OK;
  }

 private:
  ~XmlHttpRequest() = default;

  // Nothing may escape a COM method: memory running out becomes E_OUTOFMEMORY.
  template <typename Body>
  static HRESULT Guarded(Body body) {
    try {
      return body();
    } catch (const std::bad_alloc&) {
      return OutOfMemory();
    }
  }

  // Forgets the request and its reply; the connection stays for the object's next request.
  void ForgetRequest() {
    readyState_ = XMLHTTP_READYSTATE_UNINITIALIZED;
    request_ = HttpRequest{};
    headers_.Clear();
    reply_ = HttpReply{};
  }

  HRESULT Open(BSTR bstrMethod, BSTR bstrUrl, const VARIANT& async, const VARIANT& user,
               const VARIANT& password) {
    auto method = NormalizedMethod(View(bstrMethod));
    if (!method) return ReportFailure(E_INVALIDARG, "The method is not a valid HTTP method.");

    bool asynchronous = false;
    if (async.vt == VT_BOOL) {
      asynchronous = async.boolVal != VARIANT_FALSE;
    } else if (async.vt == VT_I4 || async.vt == VT_I2) {
      asynchronous = (async.vt == VT_I4 ? async.lVal : async.iVal) != 0;
    } else if (!IsMissing(async)) {
      return ReportFailure(E_INVALIDARG, "The async argument must be a Boolean.");
    }
    if (asynchronous)
      return ReportFailure(E_NOTIMPL,
                           "Asynchronous requests are not supported: open the request with "
                           "async set to false.");

    for (const VARIANT* credential : {&user, &password})
      if (!IsMissing(*credential) && credential->vt != VT_BSTR)
        return ReportFailure(E_INVALIDARG, "The user name and password must be strings.");

    std::string url = Utf16ToUtf8(View(bstrUrl));
    auto parsed = ParseHttpUrl(url);
    if (const auto* problem = std::get_if<UrlProblem>(&parsed))
      return ReportFailure(E_INVALIDARG, *problem == UrlProblem::kUnsupportedScheme
                                             ? "Only http and https URLs are supported."
                                             : "The URL is not a valid absolute URL.");

    ForgetRequest();
    request_.method = std::move(*method);
    request_.url = std::move(url);
    request_.urlParts = std::move(std::get<HttpUrl>(parsed));
    if (user.vt == VT_BSTR && SysStringLen(user.bstrVal) > 0) {
      request_.user = Utf16ToUtf8(View(user.bstrVal));
      if (password.vt == VT_BSTR) request_.password = Utf16ToUtf8(View(password.bstrVal));
    }
    readyState_ = XMLHTTP_READYSTATE_LOADING;
    return S_OK;
  }

  HRESULT SetRequestHeader(BSTR bstrHeader, BSTR bstrValue) {
    if (readyState_ != XMLHTTP_READYSTATE_LOADING)
      return ReportFailure(E_UNEXPECTED,
                           "A request header can be set only after open and before send.");
    const std::string name = Utf16ToUtf8(View(bstrHeader));
    const std::string value = Utf16ToUtf8(View(bstrValue));
    switch (CheckRequestHeader(name, value)) {
      case HeaderProblem::kNone:
        break;
      case HeaderProblem::kBadName:
        return ReportFailure(E_INVALIDARG, "The header name is not a valid HTTP header name.");
      case HeaderProblem::kBadValue:
        return ReportFailure(E_INVALIDARG,
                             "A header value must not hold line breaks or NUL characters.");
      case HeaderProblem::kReservedName:
        return ReportFailure(E_INVALIDARG,
                             "Content-Length and Transfer-Encoding are set by the component.");
    }
    headers_.Set(name, value);
    return S_OK;
  }

  HRESULT Send(const VARIANT& body) {
    if (readyState_ != XMLHTTP_READYSTATE_LOADING)
      return ReportFailure(E_UNEXPECTED, "The request must be opened before it is sent.");
    if (!IsMissing(body) && body.vt != VT_BSTR)
      return ReportFailure(E_INVALIDARG, "The body must be a string.");
    const std::string bodyBytes =
        body.vt == VT_BSTR ? Utf16ToUtf8(View(body.bstrVal)) : std::string();

    request_.headerLines = headers_.Lines();
    request_.hasContentType = headers_.Has("Content-Type");
    request_.hasAuthorization = headers_.Has("Authorization");
    request_.body = bodyBytes;
    if (!connection_) connection_ = std::make_unique<HttpConnection>();
    HttpReply reply;
    const auto failure = connection_->Exchange(request_, reply);
    request_.body = {};
    if (failure) return ReportFailure(failure->hr, failure->description);
    reply_ = std::move(reply);
    readyState_ = XMLHTTP_READYSTATE_COMPLETED;
    return S_OK;
  }

  HRESULT GetResponseHeader(BSTR bstrHeader, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (readyState_ != XMLHTTP_READYSTATE_COMPLETED) return NotYetAvailable();
    const std::string name = Utf16ToUtf8(View(bstrHeader));
    std::optional<std::string> joined;
    for (const auto& [headerName, value] : reply_.headers)
      if (EqualsIgnoringAsciiCase(headerName, name)) {
        joined = joined ? *joined + ", " + value : value;
      }
    if (!joined) return S_FALSE;
    return ReturnText(*joined, out);
  }

  HRESULT GetAllResponseHeaders(BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (readyState_ != XMLHTTP_READYSTATE_COMPLETED) return NotYetAvailable();
    std::string all;
    for (const auto& [name, value] : reply_.headers) all += name + ": " + value + "\r\n";
    return ReturnText(all, out);
  }

  // Decodes straight into the caller's string: no intermediate copy of a large body.
  HRESULT ResponseText(BSTR* out) {
    std::string_view contentType;
    for (const auto& [name, value] : reply_.headers)
      if (EqualsIgnoringAsciiCase(name, "Content-Type")) contentType = value;
    const ReplyEncoding encoding = ChooseReplyEncoding(reply_.body, contentType);
    const std::string_view bytes = std::string_view(reply_.body).substr(encoding.bomLength);
    const std::size_t units = DecodeText(bytes, encoding.charset, nullptr);
    if (units > 0x7FFFFFFFu / sizeof(OLECHAR)) return OutOfMemory();
    BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (!text) return OutOfMemory();
    DecodeText(bytes, encoding.charset, text);
    *out = text;
    return S_OK;
  }

  std::atomic<ULONG> references_{1};
  LONG readyState_ = XMLHTTP_READYSTATE_UNINITIALIZED;
  HttpRequest request_;
  RequestHeaders headers_;
  HttpReply reply_;
  std::unique_ptr<HttpConnection> connection_;
};

}  // namespace

HRESULT CreateXmlHttpRequest(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  auto* object = new (std::nothrow) XmlHttpRequest();
  if (!object) return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(riid, ppv);
  object->Release();
  return hr;
}

}  // namespace xmlhttp

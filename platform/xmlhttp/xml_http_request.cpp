#include "xml_http_request.h"

#include <atomic>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "ascii_case.h"
#include "failure_report.h"
#include "http_exchange.h"
#include "msxml2.h"
#include "reply_charset.h"
#include "request_headers.h"
#include "wire_text.h"

namespace xmlhttp {
namespace {

std::u16string_view View(BSTR text) {
  return {text ? text : u"", SysStringLen(text)};
}

bool IsMissing(const VARIANT& value) {
  return value.vt == VT_EMPTY || value.vt == VT_NULL || value.vt == VT_ERROR;
}

// Where a request object is: opened and not yet sent, or holding a reply.
enum class Stage { kNew, kOpened, kCompleted };

HRESULT OutOfMemory() {
  return ReportFailure(E_OUTOFMEMORY, "Not enough memory to complete the operation.");
}

HRESULT NotYetAvailable() {
  return ReportFailure(E_PENDING,
                       "The data necessary to complete this operation is not yet available: "
                       "the request has not been sent successfully.");
}

// The standard methods are sent in upper case, whatever case the caller wrote.
std::optional<std::string> NormalizedMethod(std::u16string_view method) {
  std::string text = ToUtf8(method);
  if (!IsHttpToken(text)) return std::nullopt;
  for (const std::string_view known : {"GET", "POST", "HEAD", "PUT", "DELETE", "OPTIONS", "PATCH"})
    if (ascii::EqualsIgnoringCase(text, known)) return std::string(known);
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
  STDMETHOD(send)(VARIANT varBody) override {
    return Guarded([&] { return Send(varBody); });
  }
  STDMETHOD(get_responseText)(BSTR* pbstrBody) override {
    if (!pbstrBody) return E_POINTER;
    *pbstrBody = nullptr;
    if (stage_ != Stage::kCompleted) return NotYetAvailable();
    return ResponseText(pbstrBody);
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
    stage_ = Stage::kNew;
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

    std::string url = ToUtf8(View(bstrUrl));
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
      request_.user = ToUtf8(View(user.bstrVal));
      if (password.vt == VT_BSTR) request_.password = ToUtf8(View(password.bstrVal));
    }
    stage_ = Stage::kOpened;
    return S_OK;
  }

  HRESULT SetRequestHeader(BSTR bstrHeader, BSTR bstrValue) {
    if (stage_ != Stage::kOpened)
      return ReportFailure(E_UNEXPECTED,
                           "A request header can be set only after open and before send.");
    const std::string name = ToUtf8(View(bstrHeader));
    const std::string value = ToUtf8(View(bstrValue));
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
    if (stage_ != Stage::kOpened)
      return ReportFailure(E_UNEXPECTED, "The request must be opened before it is sent.");
    if (!IsMissing(body) && body.vt != VT_BSTR)
      return ReportFailure(E_INVALIDARG, "The body must be a string.");
    const std::string bodyBytes = body.vt == VT_BSTR ? ToUtf8(View(body.bstrVal)) : std::string();

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
    stage_ = Stage::kCompleted;
    return S_OK;
  }

  // Decodes straight into the caller's string: no intermediate copy of a large body.
  HRESULT ResponseText(BSTR* out) {
    const ReplyEncoding encoding = ChooseReplyEncoding(reply_.body, reply_.contentType);
    *out = NewBstr(std::string_view(reply_.body).substr(encoding.bomLength), encoding.codePage);
    return *out ? S_OK : OutOfMemory();
  }

  std::atomic<ULONG> references_{1};
  Stage stage_ = Stage::kNew;
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

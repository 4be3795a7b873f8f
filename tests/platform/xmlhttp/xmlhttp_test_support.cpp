#include "xmlhttp_test_support.h"

#include "wire_text.h"

namespace xmlhttp_test {
namespace {

Bstr Widen(std::string_view ascii) {
  return MakeBstr(std::u16string(ascii.begin(), ascii.end()));
}

}  // namespace

Bstr MakeBstr(std::u16string_view text) {
  return Bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

VARIANT Bool(VARIANT_BOOL value) {
  VARIANT argument{};
  argument.vt = VT_BOOL;
  argument.boolVal = value;
  return argument;
}

VARIANT Text(const Bstr& text) {
  VARIANT argument{};
  argument.vt = VT_BSTR;
  argument.bstrVal = text.get();
  return argument;
}

VARIANT Missing() {
  VARIANT argument{};
  argument.vt = VT_ERROR;
  argument.scode = DISP_E_PARAMNOTFOUND;
  return argument;
}

Request NewRequest() {
  CLSID clsid{};
  IXMLHTTPRequest* request = nullptr;
  EXPECT_EQ(CLSIDFromProgID(u"Microsoft.XMLHTTP", &clsid), S_OK);
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLHTTPRequest,
                             reinterpret_cast<void**>(&request)),
            S_OK);
  return Request(request);
}

HRESULT Open(IXMLHTTPRequest* request, std::u16string_view method, std::string_view url,
             const VARIANT& async, const VARIANT& user) {
  return request->open(MakeBstr(method).get(), Widen(url).get(), async, user, Missing());
}

HRESULT OpenAsTheProgram(IXMLHTTPRequest* request, std::string_view url) {
  const Bstr user = MakeBstr(u"tolvex"), password = MakeBstr(u"kqv=47");
  return request->open(MakeBstr(u"POST").get(), Widen(url).get(), Bool(VARIANT_FALSE), Text(user),
                       Text(password));
}

HRESULT SetHeader(IXMLHTTPRequest* request, std::u16string_view name, std::u16string_view value) {
  return request->setRequestHeader(MakeBstr(name).get(), MakeBstr(value).get());
}

HRESULT Send(IXMLHTTPRequest* request, const char16_t* body) {
  const Bstr text = MakeBstr(body ? body : u"");
  return request->send(body ? Text(text) : Missing());
}

std::u16string ResponseText(IXMLHTTPRequest* request) {
  BSTR text = nullptr;
  EXPECT_EQ(request->get_responseText(&text), S_OK);
  const Bstr owned(text);
  return std::u16string(text ? text : u"", SysStringLen(text));
}

std::string TakeErrorDescription(IXMLHTTPRequest* request) {
  ISupportErrorInfo* support = nullptr;
  request->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support));
  const bool offered = support && support->InterfaceSupportsErrorInfo(IID_IXMLHTTPRequest) == S_OK;
  if (support) support->Release();
  IErrorInfo* info = nullptr;
  if (!offered || GetErrorInfo(0, &info) != S_OK) return {};
  BSTR description = nullptr;
  info->GetDescription(&description);
  info->Release();
  const Bstr owned(description);
  return xmlhttp::ToUtf8({description ? description : u"", SysStringLen(description)});
}

}  // namespace xmlhttp_test

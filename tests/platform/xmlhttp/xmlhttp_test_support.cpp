#include "xmlhttp_test_support.h"

#include "wire_text.h"

namespace xmlhttp_test {

Bstr::Bstr(std::u16string_view text)
    : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}

BSTR* Bstr::Out() {
  SysFreeString(text_);
  text_ = nullptr;
  return &text_;
}

VARIANT MissingArgument() {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_ERROR;
  value.scode = DISP_E_PARAMNOTFOUND;
  return value;
}

VARIANT BoolArgument(bool flag) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BOOL;
  value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
  return value;
}

VARIANT StringArgument(const Bstr& text) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = text.get();
  return value;
}

ErrorReport TakeErrorReport(IUnknown* object) {
  ErrorReport report;
  Ref<ISupportErrorInfo> support;
  if (FAILED(object->QueryInterface(IID_ISupportErrorInfo, support.Out()))) return report;
  report.offered = support->InterfaceSupportsErrorInfo(IID_IXMLHTTPRequest) == S_OK;
  if (!report.offered) return report;
  IErrorInfo* raw = nullptr;
  if (GetErrorInfo(0, &raw) != S_OK || !raw) return report;
  Ref<IErrorInfo> held(raw);
  report.present = true;
  Bstr description;
  Bstr source;
  held->GetDescription(description.Out());
  held->GetSource(source.Out());
  held->GetGUID(&report.guid);
  report.description = description.Text();
  report.source = source.Text();
  return report;
}

std::string Narrow(std::u16string_view text) {
  return xmlhttp::ToUtf8(text);
}
std::u16string Widen(std::string_view utf8) {
  Bstr text;
  *text.Out() = xmlhttp::NewBstr(utf8, CP_UTF8);
  return text.Text();
}

void XmlHttpTest::SetUp() {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
}

void XmlHttpTest::TearDown() {
  CoUninitialize();
}

Ref<IXMLHTTPRequest> XmlHttpTest::NewRequest() {
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(u"Microsoft.XMLHTTP", &clsid), S_OK);
  Ref<IXMLHTTPRequest> request;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IXMLHTTPRequest, request.Out()), S_OK);
  return request;
}

HRESULT XmlHttpTest::Open(IXMLHTTPRequest* request, std::u16string_view method,
                          std::string_view url, const std::optional<Credentials>& credentials) {
  const Bstr methodText(method);
  const Bstr urlText(Widen(url));
  const Bstr user(credentials ? credentials->user : u"");
  const Bstr password(credentials ? credentials->password : u"");
  return request->open(methodText.get(), urlText.get(), BoolArgument(false),
                       credentials ? StringArgument(user) : MissingArgument(),
                       credentials ? StringArgument(password) : MissingArgument());
}

HRESULT XmlHttpTest::SetHeader(IXMLHTTPRequest* request, std::u16string_view name,
                               std::u16string_view value) {
  const Bstr nameText(name);
  const Bstr valueText(value);
  return request->setRequestHeader(nameText.get(), valueText.get());
}

HRESULT XmlHttpTest::Send(IXMLHTTPRequest* request, const std::optional<std::u16string>& body) {
  if (!body) return request->send(MissingArgument());
  const Bstr text(*body);
  return request->send(StringArgument(text));
}

std::u16string XmlHttpTest::ResponseText(IXMLHTTPRequest* request) {
  Bstr text;
  EXPECT_EQ(request->get_responseText(text.Out()), S_OK);
  return text.Text();
}

}  // namespace xmlhttp_test

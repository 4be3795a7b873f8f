#include "failure_report.h"

#include <string>

#include "msxml2.h"
#include "wire_text.h"

namespace xmlhttp {

HRESULT ReportFailure(HRESULT hr, std::string_view description) {
  ICreateErrorInfo* creator = nullptr;
  if (FAILED(CreateErrorInfo(&creator)) || !creator) return hr;
  std::u16string source = u"Microsoft.XMLHTTP";
  const BSTR text = NewBstr(description, CP_UTF8);
  creator->SetGUID(IID_IXMLHTTPRequest);
  creator->SetSource(source.data());
  if (text) creator->SetDescription(text);  // none when memory ran out
  SysFreeString(text);
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(creator->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info))) && info) {
    SetErrorInfo(0, info);
    info->Release();
  }
  creator->Release();
  return hr;
}

}  // namespace xmlhttp

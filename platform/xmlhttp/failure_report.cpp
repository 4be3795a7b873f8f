#include "failure_report.h"

#include <string>

#include "msxml.h"
#include "utf_convert.h"

namespace xmlhttp {

HRESULT ReportFailure(HRESULT hr, std::string_view description) {
  ICreateErrorInfo* creator = nullptr;
  if (FAILED(CreateErrorInfo(&creator)) || !creator) return hr;
  std::u16string source = u"Microsoft.XMLHTTP";
  std::u16string text = Utf8ToUtf16(description);
  creator->SetGUID(IID_IXMLHTTPRequest);
  creator->SetSource(source.data());
  creator->SetDescription(text.data());
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(creator->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info))) && info) {
    SetErrorInfo(0, info);
    info->Release();
  }
  creator->Release();
  return hr;
}

}  // namespace xmlhttp

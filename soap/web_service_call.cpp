// One exchange with the service: create a request object, send the envelope synchronously
// with the credentials, keep and show the reply, and judge it.

#include "dialog/soap_test_dlg.h"
#include "interop/com_error.h"
#include "interop/counted_wide_string.h"
#include "msxml2.h"
#include "soap/scoped_variant_copy.h"
#include "soap/soap_message.h"
#include "soap/xml_http_request_ptr.h"

namespace {

constexpr const char* kRequestProgId = "Microsoft.XMLHTTP";
constexpr DWORD kRequestClassContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;  // 7
constexpr const char* kFailureText = "Exception occurred - check the network";
constexpr const char* kFailureCaption = "Error";

// A failed method of the request object raises its code with the object's description.
void CheckRequestResult(HRESULT hr, const XmlHttpRequestPtr& request) {
  if (FAILED(hr)) RaiseComErrorWithInfo(hr, request.GetInterfacePtr(), IID_IXMLHTTPRequest);
}

}  // namespace

int CSoapTestDlg::CallWebService() {
  int nResult = 1;
  XmlHttpRequestPtr request;
  bool bBodyMade = false;

  try {
    const HRESULT hrCreate = request.CreateInstance(kRequestProgId, nullptr, kRequestClassContext);
    if (FAILED(hrCreate)) throw hrCreate;

    {
      ScopedVariantCopy varPassword(m_varPassword);
      ScopedVariantCopy varUser(m_varUser);
      const CountedWideString bstrUrl(GetSoapEndpointUrl());
      const CountedWideString bstrMethod(m_bstrMethod);
      CheckRequestResult(request->open(bstrMethod.WideText(), bstrUrl.WideText(), m_varAsync,
                                       varUser.get(), varPassword.get()),
                         request);
      varUser.Clear();
      varPassword.Clear();
    }

    {
      const CountedWideString bstrName(kSoapContentTypeName);
      const CountedWideString bstrValue(kSoapContentTypeValue);
      CheckRequestResult(request->setRequestHeader(bstrName.WideText(), bstrValue.WideText()),
                         request);
    }

    m_varBody.vt = VT_BSTR;
    m_varBody.bstrVal = m_strEnvelope.AllocSysString();
    bBodyMade = true;

    {
      ScopedVariantCopy varBody(m_varBody);
      CheckRequestResult(request->send(varBody.get()), request);
      varBody.Clear();
    }

    BSTR bstrReply = nullptr;
    CheckRequestResult(request->get_responseText(&bstrReply), request);
    m_bstrResponse = CountedWideString::Attach(bstrReply);

    const char* const pszReply = m_bstrResponse.AnsiText();
    m_strResponse = pszReply ? pszReply : "";
    m_bstrResponse.Release();

    SysFreeString(m_varBody.bstrVal);
    m_varBody.bstrVal = nullptr;
    bBodyMade = false;
  } catch (...) {
    MessageBox(kFailureText, kFailureCaption, 0);
    m_bstrResponse.Release();
    if (bBodyMade) {
      SysFreeString(m_varBody.bstrVal);
      m_varBody.bstrVal = nullptr;
    }
    nResult = 0;
  }

  UpdateData(FALSE);

  if (nResult == 1) nResult = JudgeSoapReply(m_strResponse, m_szResult, m_szError);

  request.Release();
  return nResult;
}

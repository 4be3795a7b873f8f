#include "soap/xml_http_request_ptr.h"

#include "interop/ansi_bstr.h"
#include "interop/com_error.h"
#include "ole2.h"

namespace {

// The class identifier for a name: "{...}" is a CLSID string, anything else a ProgID.
HRESULT ClassIdFromName(const OLECHAR* pwszName, CLSID* pClassId) {
  return pwszName[0] == u'{' ? CLSIDFromString(pwszName, pClassId)
                             : CLSIDFromProgID(pwszName, pClassId);
}

}  // namespace

HRESULT XmlHttpRequestPtr::CreateInstance(const char* pszName, IUnknown* pOuter,
                                          DWORD dwClsContext) {
  // The name in UTF-16, through the ANSI code page.
  const int nUnits = MultiByteToWideChar(CP_ACP, 0, pszName, -1, nullptr, 0);
  BSTR bstrName = nUnits > 0 ? SysAllocStringLen(nullptr, static_cast<UINT>(nUnits - 1)) : nullptr;
  if (!bstrName || MultiByteToWideChar(CP_ACP, 0, pszName, -1, bstrName, nUnits) == 0) {
    const DWORD dwError = GetLastError();
    SysFreeString(bstrName);
    Release();
    return HRESULT_FROM_WIN32(dwError);
  }

  CLSID clsid;
  HRESULT hr = ClassIdFromName(bstrName, &clsid);
  SysFreeString(bstrName);
  if (FAILED(hr)) return hr;

  Release();
  if (dwClsContext & (CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)) {
    // A server may need to be started: create for IUnknown, run it, then ask for the interface.
    IUnknown* pUnknown = nullptr;
    hr = CoCreateInstance(clsid, pOuter, dwClsContext, IID_IUnknown,
                          reinterpret_cast<void**>(&pUnknown));
    if (SUCCEEDED(hr)) {
      hr = OleRun(pUnknown);
      if (SUCCEEDED(hr))
        hr = pUnknown->QueryInterface(IID_IXMLHTTPRequest, reinterpret_cast<void**>(&m_pRequest));
      pUnknown->Release();
    }
  } else {
    hr = CoCreateInstance(clsid, pOuter, dwClsContext, IID_IXMLHTTPRequest,
                          reinterpret_cast<void**>(&m_pRequest));
  }
  return hr;
}

void XmlHttpRequestPtr::Release() {
  if (m_pRequest) {
    IXMLHTTPRequest* const pRequest = m_pRequest;
    m_pRequest = nullptr;
    pRequest->Release();
  }
}

IXMLHTTPRequest* XmlHttpRequestPtr::operator->() const {
  if (!m_pRequest) RaiseComError(E_POINTER);
  return m_pRequest;
}

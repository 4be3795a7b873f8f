#include <curl/curl.h>

#include <mutex>

#include "msxml.h"
#include "xml_http_request.h"

const IID IID_IXMLHTTPRequest = {
    0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
const CLSID CLSID_XMLHTTPRequest = {
    0xED8C108E, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};

BOOL XmlHttpStartup() {
  // libcurl's global set-up is not thread-safe and must happen once, before any transfer.
  static std::once_flag once;
  static bool curlReady = false;
  std::call_once(once, [] { curlReady = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  if (!curlReady) return FALSE;
  const HRESULT hr = CoRegisterClassObjectEntry(CLSID_XMLHTTPRequest, u"Microsoft.XMLHTTP",
                                                xmlhttp::CreateXmlHttpRequest);
  return SUCCEEDED(hr) ? TRUE : FALSE;
}

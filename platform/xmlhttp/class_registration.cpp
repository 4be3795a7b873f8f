// The component makes itself known, as an installed component is known to the system: when
// the process starts, libcurl is prepared and the class is registered with COM's class
// registry under CLSID_XMLHTTPRequest and "Microsoft.XMLHTTP". A program has the component
// when it links the xmlhttp_registration library; nothing of the program calls in here.
#include <curl/curl.h>

#include "msxml2.h"
#include "xml_http_request.h"

namespace {

struct ClassRegistration {
  ClassRegistration() {
    // libcurl's global set-up is not thread-safe; here, before main, no other thread runs.
    // Without it the class stays unknown and every creation fails.
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return;
    CoRegisterClassObjectEntry(CLSID_XMLHTTPRequest, u"Microsoft.XMLHTTP",
                               xmlhttp::CreateXmlHttpRequest);
  }
};

const ClassRegistration g_registration;

}  // namespace

// Failure reporting of the component: the code is returned, the description goes into the
// thread's error information, where GetErrorInfo finds it.
#pragma once

#include <string_view>

#include "oleauto.h"

namespace xmlhttp {

// Makes an error object (source "Microsoft.XMLHTTP", GUID IID_IXMLHTTPRequest, the description
// given in UTF-8) the thread's current one and returns hr.
HRESULT ReportFailure(HRESULT hr, std::string_view description);

}  // namespace xmlhttp

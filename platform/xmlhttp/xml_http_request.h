// The COM class behind "Microsoft.XMLHTTP".
#pragma once

#include "objbase.h"

namespace xmlhttp {

// The class's creation function for the COM class registry: a new request object, answering
// riid (IXMLHTTPRequest, ISupportErrorInfo or IUnknown) with one reference.
HRESULT CreateXmlHttpRequest(REFIID riid, void** ppv);

}  // namespace xmlhttp

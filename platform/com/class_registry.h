// The registered classes: CLSID, ProgID and the function that makes an object.
#pragma once

#include "objbase.h"

namespace com_detail {

// The factory of a class, or null when the class is not registered.
ClassFactoryFunction FindFactory(REFCLSID clsid);
// The class registered under a ProgID (compared without regard to ASCII case).
bool FindClassByProgID(LPCOLESTR progId, CLSID* clsid);

}  // namespace com_detail

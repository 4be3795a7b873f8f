// Reading what the raising helpers throw, and what a BSTR holds.
#pragma once

#include <string>

#include "interop/com_error.h"
#include "oleauto.h"

// The code of the _com_error that step raises; S_OK when it raises nothing.
template <typename Step>
HRESULT CodeRaisedBy(Step step) {
  try {
    step();
  } catch (const _com_error& e) {
    return e.Error();
  }
  return S_OK;
}

// Every character of a BSTR up to its stored length.
inline std::u16string TextOf(BSTR bstr) {
  return std::u16string(bstr, SysStringLen(bstr));
}

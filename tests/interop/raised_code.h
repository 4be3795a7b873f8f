// Reading what the raising helpers throw, and what a BSTR holds.
#pragma once

#include <string>

#include "interop/com_error.h"
#include "ole2.h"

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
inline std::basic_string<OLECHAR> TextOf(BSTR bstr) {
  return std::basic_string<OLECHAR>(bstr, SysStringLen(bstr));
}

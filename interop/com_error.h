// _com_error: the exception a failed Automation step raises, and the ways to raise it.
#pragma once

#include "ole2.h"

class _com_error {
 public:
  // Keeps hr and errorInfo; a reference is added to errorInfo only when addRef is true, so by
  // default the reference the caller holds moves into the exception.
  explicit _com_error(HRESULT hr, IErrorInfo* errorInfo = nullptr, bool addRef = false) noexcept;
  // Every copy holds a reference of its own to the description.
  _com_error(const _com_error& other) noexcept;
  _com_error& operator=(const _com_error& other) noexcept;
  virtual ~_com_error();

  HRESULT Error() const noexcept { return m_hr; }
  // The failing object's description, with a reference added for the caller (who releases
  // it), or null when the exception carries none.
  IErrorInfo* ErrorInfo() const noexcept;
  // The description's text as a new BSTR that the caller frees, or null when there is none.
  BSTR Description() const;
  // "Unknown error 0x8007000E" and the like; the text lives as long as the exception.
  const char* ErrorMessage() const noexcept;

 private:
  HRESULT m_hr;
  IErrorInfo* m_errorInfo;
  mutable char* m_message;  // made on first demand by ErrorMessage, freed with LocalFree
};

// Throws _com_error with hr and no description, whatever hr is.
[[noreturn]] void RaiseComError(HRESULT hr);

// Throws _com_error with hr and, when the object says through ISupportErrorInfo that riid
// reports errors that way, the thread's current description (taken over, no reference added).
// object may be null.
[[noreturn]] void RaiseComErrorWithInfo(HRESULT hr, IUnknown* object, REFIID riid);

// CountedWideString: a handle to a shared, reference-counted Automation string and the ANSI
// copy of it that is made on first demand.
#pragma once

#include "ole2.h"

// The shared record. It owns m_wide and m_ansi; m_refCount counts the handles on it.
struct WideStringBody {
  BSTR m_wide;
  char* m_ansi;  // null until AnsiText asks for it
  LONG m_refCount;
};

class CountedWideString {
 public:
  // An empty holder: no body.
  CountedWideString() noexcept = default;
  // A new body holding the text converted from the ANSI code page. A null text makes a body
  // whose string is null, not an empty holder. Raises _com_error (E_OUTOFMEMORY) when the body
  // or the string cannot be made.
  explicit CountedWideString(const char* pszAnsi);
  // A new body that takes over bstr itself (no copy) and frees it in the end. Should the body
  // not be had, bstr is freed at once and _com_error (E_OUTOFMEMORY) is raised.
  static CountedWideString Attach(BSTR bstr);

  // Copies share the body.
  CountedWideString(const CountedWideString& other) noexcept;
  CountedWideString& operator=(const CountedWideString& other) noexcept;
  CountedWideString(CountedWideString&& other) noexcept;
  CountedWideString& operator=(CountedWideString&& other) noexcept;
  ~CountedWideString();

  // Drops this handle's reference (the last one frees the body); the holder is empty after.
  void Release() noexcept;

  // The body's string, to be read only and never freed; null for an empty holder.
  BSTR WideText() const noexcept;
  // The body's text in the ANSI code page, made once per body and shared by its handles; null
  // for an empty holder or a null string. Raises _com_error when it cannot be made.
  const char* AnsiText() const;

 private:
  struct AdoptBody {};  // keeps this constructor apart from the one taking ANSI text
  CountedWideString(AdoptBody, WideStringBody* body) noexcept : m_body(body) {}

  WideStringBody* m_body = nullptr;
};

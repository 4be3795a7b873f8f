#include "interop/counted_wide_string.h"

#include <new>
#include <utility>

#include "interop/ansi_bstr.h"
#include "interop/com_error.h"

namespace {

WideStringBody* NewBodyOrRaise(BSTR wide) {
  WideStringBody* const body = new (std::nothrow) WideStringBody{};
  if (body == nullptr) RaiseComError(E_OUTOFMEMORY);
  body->m_wide = wide;
  body->m_ansi = nullptr;
  body->m_refCount = 1;
  return body;
}

}  // namespace

CountedWideString::CountedWideString(const char* pszAnsi) {
  WideStringBody* const body = NewBodyOrRaise(nullptr);
  try {
    body->m_wide = AnsiToBstr(pszAnsi);
  } catch (...) {
    delete body;
    throw;
  }
  if (body->m_wide == nullptr && pszAnsi != nullptr) {
    delete body;
    RaiseComError(E_OUTOFMEMORY);
  }
  m_body = body;
}

CountedWideString CountedWideString::Attach(BSTR bstr) {
  try {
    return CountedWideString(AdoptBody{}, NewBodyOrRaise(bstr));
  } catch (...) {
    SysFreeString(bstr);  // it was handed over, so it goes with the failure
    throw;
  }
}

CountedWideString::CountedWideString(const CountedWideString& other) noexcept
    : m_body(other.m_body) {
  if (m_body != nullptr) InterlockedIncrement(&m_body->m_refCount);
}

CountedWideString& CountedWideString::operator=(const CountedWideString& other) noexcept {
  // The incoming body gains its reference before ours goes, so that assigning a holder to
  // itself (or to another handle of the same body) never frees the body on the way.
  WideStringBody* const incoming = other.m_body;
  if (incoming != nullptr) InterlockedIncrement(&incoming->m_refCount);
  Release();
  m_body = incoming;
  return *this;
}

CountedWideString::CountedWideString(CountedWideString&& other) noexcept
    : m_body(std::exchange(other.m_body, nullptr)) {}

CountedWideString& CountedWideString::operator=(CountedWideString&& other) noexcept {
  if (this != &other) {
    Release();
    m_body = std::exchange(other.m_body, nullptr);
  }
  return *this;
}

CountedWideString::~CountedWideString() {
  Release();
}

void CountedWideString::Release() noexcept {
  WideStringBody* const body = std::exchange(m_body, nullptr);
  if (body == nullptr || InterlockedDecrement(&body->m_refCount) != 0) return;
  SysFreeString(body->m_wide);
  delete[] body->m_ansi;
  delete body;
}

BSTR CountedWideString::WideText() const noexcept {
  return m_body != nullptr ? m_body->m_wide : nullptr;
}

const char* CountedWideString::AnsiText() const {
  if (m_body == nullptr) return nullptr;
  if (m_body->m_ansi == nullptr) {
    m_body->m_ansi = BstrToAnsi(m_body->m_wide);
    if (m_body->m_ansi == nullptr && m_body->m_wide != nullptr) RaiseComError(E_OUTOFMEMORY);
  }
  return m_body->m_ansi;
}

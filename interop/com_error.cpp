#include "interop/com_error.h"

#include <cstdio>
#include <utility>

_com_error::_com_error(HRESULT hr, IErrorInfo* errorInfo, bool addRef) noexcept
    : m_hr(hr), m_errorInfo(errorInfo), m_message(nullptr) {
  if (addRef && m_errorInfo != nullptr) m_errorInfo->AddRef();
}

_com_error::_com_error(const _com_error& other) noexcept
    : m_hr(other.m_hr), m_errorInfo(other.m_errorInfo), m_message(nullptr) {
  if (m_errorInfo != nullptr) m_errorInfo->AddRef();
}

_com_error& _com_error::operator=(const _com_error& other) noexcept {
  if (this != &other) {
    _com_error copy(other);
    std::swap(m_hr, copy.m_hr);
    std::swap(m_errorInfo, copy.m_errorInfo);
    std::swap(m_message, copy.m_message);
  }
  return *this;
}

_com_error::~_com_error() {
  if (m_errorInfo != nullptr) m_errorInfo->Release();
  if (m_message != nullptr) LocalFree(m_message);
}

IErrorInfo* _com_error::ErrorInfo() const noexcept {
  if (m_errorInfo != nullptr) m_errorInfo->AddRef();
  return m_errorInfo;
}

BSTR _com_error::Description() const {
  BSTR description = nullptr;
  if (m_errorInfo != nullptr && FAILED(m_errorInfo->GetDescription(&description)))
    description = nullptr;
  return description;
}

const char* _com_error::ErrorMessage() const noexcept {
  if (m_message == nullptr) {
    constexpr std::size_t kSize = sizeof("Unknown error 0x12345678");
    m_message = static_cast<char*>(LocalAlloc(LMEM_FIXED, kSize));
    if (m_message == nullptr) return "Unknown error";
    std::snprintf(m_message, kSize, "Unknown error 0x%08X", static_cast<unsigned>(m_hr));
  }
  return m_message;
}

void RaiseComError(HRESULT hr) {
  throw _com_error(hr);
}

void RaiseComErrorWithInfo(HRESULT hr, IUnknown* object, REFIID riid) {
  IErrorInfo* description = nullptr;
  ISupportErrorInfo* support = nullptr;
  if (object != nullptr &&
      SUCCEEDED(
          object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support))) &&
      support != nullptr) {
    const HRESULT answer = support->InterfaceSupportsErrorInfo(riid);
    support->Release();
    if (answer == S_OK && GetErrorInfo(0, &description) != S_OK) description = nullptr;
  }
  throw _com_error(hr, description);
}

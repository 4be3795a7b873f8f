// An error description that counts the references it is given and let go of. It lives on the
// test's stack, so a release too many or too few shows as a wrong count, not as a crash.
#pragma once

#include <string>

#include "oleauto.h"

class CountingErrorInfo final : public IErrorInfo {
 public:
  explicit CountingErrorInfo(std::u16string description = u"")
      : m_description(std::move(description)) {}
  ~CountingErrorInfo() = default;

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
      *ppv = static_cast<IErrorInfo*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++m_references); }
  STDMETHOD_(ULONG, Release)() override { return static_cast<ULONG>(--m_references); }

  STDMETHOD(GetGUID)(GUID* guid) override {
    *guid = GUID{};
    return S_OK;
  }
  STDMETHOD(GetSource)(BSTR* source) override {
    *source = nullptr;
    return S_OK;
  }
  STDMETHOD(GetDescription)(BSTR* description) override {
    *description = SysAllocString(m_description.c_str());
    return S_OK;
  }
  STDMETHOD(GetHelpFile)(BSTR* helpFile) override {
    *helpFile = nullptr;
    return S_OK;
  }
  STDMETHOD(GetHelpContext)(DWORD* context) override {
    *context = 0;
    return S_OK;
  }

  // References held by others: AddRefs minus Releases since construction.
  int References() const { return m_references; }

 private:
  int m_references = 0;
  std::u16string m_description;
};

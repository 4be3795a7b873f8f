// A COM object that counts the references it is given and let go of; it lives on the test's
// stack, so a release too many or too few shows as a wrong count, not as a crash. It serves as an
// error description, and as a failing object that answers InterfaceSupportsErrorInfo with
// `answer`, or has no ISupportErrorInfo at all when `answer` is E_NOINTERFACE.
#pragma once

#include "ole2.h"

class CountingObject final : public IErrorInfo, public ISupportErrorInfo {
 public:
  explicit CountingObject(HRESULT answer = E_NOINTERFACE) : m_answer(answer) {}

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (riid == IID_IErrorInfo) *ppv = static_cast<IErrorInfo*>(this);
    if (riid == IID_ISupportErrorInfo && m_answer != E_NOINTERFACE)
      *ppv = static_cast<ISupportErrorInfo*>(this);
    if (*ppv == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++m_references); }
  STDMETHOD_(ULONG, Release)() override { return static_cast<ULONG>(--m_references); }
  STDMETHOD(InterfaceSupportsErrorInfo)(REFIID) override { return m_answer; }
  STDMETHOD(GetGUID)(GUID*) override { return E_NOTIMPL; }
  STDMETHOD(GetSource)(BSTR*) override { return E_NOTIMPL; }
  STDMETHOD(GetDescription)(BSTR*) override { return E_NOTIMPL; }
  STDMETHOD(GetHelpFile)(BSTR*) override { return E_NOTIMPL; }
  STDMETHOD(GetHelpContext)(DWORD*) override { return E_NOTIMPL; }

  // AddRefs minus Releases since construction.
  int References() const { return m_references; }

 private:
  int m_references = 0;
  HRESULT m_answer;
};

// An object that counts the references it is given and let go of (stack-held, never deleted).
#pragma once

#include "objbase.h"

class CountingUnknown final : public IUnknown {
 public:
  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++m_references); }
  STDMETHOD_(ULONG, Release)() override { return static_cast<ULONG>(--m_references); }

  int References() const { return m_references; }

 private:
  int m_references = 0;
};

// Error descriptions: the object that CreateErrorInfo makes, and the calling thread's current
// description that SetErrorInfo and GetErrorInfo pass along.
#include <atomic>
#include <new>
#include <optional>
#include <string>

#include "oleauto.h"

namespace {

// One object answers both ICreateErrorInfo (to fill it) and IErrorInfo (to read it).
class ErrorInfo final : public IErrorInfo, public ICreateErrorInfo {
 public:
  // IUnknown, reached through either base.
  STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override {
    if (ppvObject == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IErrorInfo) {
      *ppvObject = static_cast<IErrorInfo*>(this);
    } else if (riid == IID_ICreateErrorInfo) {
      *ppvObject = static_cast<ICreateErrorInfo*>(this);
    } else {
      *ppvObject = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHOD_(ULONG, AddRef)() override { return ++m_refCount; }
  STDMETHOD_(ULONG, Release)() override {
    const ULONG remaining = --m_refCount;
    if (remaining == 0) delete this;
    return remaining;
  }

  // IErrorInfo
  STDMETHOD(GetGUID)(GUID* pGUID) override {
    if (pGUID == nullptr) return E_INVALIDARG;
    *pGUID = m_guid;
    return S_OK;
  }
  STDMETHOD(GetSource)(BSTR* pBstrSource) override { return Hand(m_source, pBstrSource); }
  STDMETHOD(GetDescription)(BSTR* pBstrDescription) override {
    return Hand(m_description, pBstrDescription);
  }
  STDMETHOD(GetHelpFile)(BSTR* pBstrHelpFile) override { return Hand(m_helpFile, pBstrHelpFile); }
  STDMETHOD(GetHelpContext)(DWORD* pdwHelpContext) override {
    if (pdwHelpContext == nullptr) return E_INVALIDARG;
    *pdwHelpContext = m_helpContext;
    return S_OK;
  }

  // ICreateErrorInfo
  STDMETHOD(SetGUID)(REFGUID rguid) override {
    m_guid = rguid;
    return S_OK;
  }
  STDMETHOD(SetSource)(LPOLESTR szSource) override { return Keep(szSource, m_source); }
  STDMETHOD(SetDescription)(LPOLESTR szDescription) override {
    return Keep(szDescription, m_description);
  }
  STDMETHOD(SetHelpFile)(LPOLESTR szHelpFile) override { return Keep(szHelpFile, m_helpFile); }
  STDMETHOD(SetHelpContext)(DWORD dwHelpContext) override {
    m_helpContext = dwHelpContext;
    return S_OK;
  }

 private:
  ~ErrorInfo() = default;

  // A text that was never set, or was set to null, is handed out as a null string.
  static HRESULT Hand(const std::optional<std::u16string>& text, BSTR* out) {
    if (out == nullptr) return E_INVALIDARG;
    *out = nullptr;
    if (!text) return S_OK;
    *out = SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  static HRESULT Keep(LPCOLESTR text, std::optional<std::u16string>& field) {
    try {
      if (text != nullptr)
        field.emplace(text);
      else
        field.reset();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  std::atomic<ULONG> m_refCount{1};
  GUID m_guid{};
  std::optional<std::u16string> m_source;
  std::optional<std::u16string> m_description;
  std::optional<std::u16string> m_helpFile;
  DWORD m_helpContext = 0;
};

// The thread's current description; a reference is held while it is set and let go when the
// thread ends.
class CurrentErrorInfo {
 public:
  ~CurrentErrorInfo() { Replace(nullptr); }
  IErrorInfo* Take() {
    IErrorInfo* const taken = m_info;
    m_info = nullptr;
    return taken;
  }
  void Replace(IErrorInfo* info) {
    IErrorInfo* const previous = m_info;
    m_info = info;
    if (previous != nullptr) previous->Release();
  }

 private:
  IErrorInfo* m_info = nullptr;
};

thread_local CurrentErrorInfo t_current;

}  // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo) {
  if (pperrinfo == nullptr) return E_INVALIDARG;
  ErrorInfo* const info = new (std::nothrow) ErrorInfo();
  *pperrinfo = info;
  return info != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo) {
  if (dwReserved != 0) return E_INVALIDARG;
  if (perrinfo != nullptr) perrinfo->AddRef();
  t_current.Replace(perrinfo);
  return S_OK;
}

HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo) {
  if (dwReserved != 0 || pperrinfo == nullptr) return E_INVALIDARG;
  *pperrinfo = t_current.Take();
  return *pperrinfo != nullptr ? S_OK : S_FALSE;
}

// OLE Automation: BSTR, VARIANT and error information.
#pragma once

#include "objbase.h"

// ---- BSTR ----------------------------------------------------------------------------------
// A BSTR points at UTF-16 text that is preceded by a 4-byte byte length and followed by a NUL.

using BSTR = OLECHAR*;
using LPBSTR = BSTR*;

BSTR SysAllocString(const OLECHAR* psz);                // null gives null
BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch);   // pch may be null: room only, zeroed
BSTR SysAllocStringByteLen(const char* psz, UINT len);  // len bytes; psz may be null: zeroed
void SysFreeString(BSTR bstrString);                    // null is fine
UINT SysStringLen(BSTR pbstr);                          // units, not counting the NUL; null gives 0
UINT SysStringByteLen(BSTR bstr);

// ---- VARIANT -------------------------------------------------------------------------------

using VARTYPE = unsigned short;
using VARIANT_BOOL = short;
using SCODE = LONG;
#define VARIANT_TRUE static_cast<VARIANT_BOOL>(-1)
#define VARIANT_FALSE static_cast<VARIANT_BOOL>(0)

enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_BSTR = 8,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_UNKNOWN = 13,
};

#define DISP_E_PARAMNOTFOUND TARVELO_HR(0x80020004)
#define DISP_E_BADVARTYPE TARVELO_HR(0x80020008)

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONG lVal;
    short iVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    BSTR bstrVal;
    IUnknown* punkVal;
  };
};
using VARIANTARG = VARIANT;
using LPVARIANT = VARIANT*;

void VariantInit(VARIANTARG* pvarg);  // VT_EMPTY; nothing is freed
// Frees what the variant owns (a BSTR, a reference) and leaves VT_EMPTY.
HRESULT VariantClear(VARIANTARG* pvarg);
// Clears the destination first, then copies deeply (a BSTR is duplicated, a reference added).
// E_OUTOFMEMORY when a string cannot be duplicated; the destination is then VT_EMPTY.
HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);

// ---- Error information ---------------------------------------------------------------------

// {1CF2B120-547D-101B-8E65-08002B2BD119}
extern const IID IID_IErrorInfo;
// {22F03340-547D-101B-8E65-08002B2BD119}
extern const IID IID_ICreateErrorInfo;
// {DF0B3D60-548F-101B-8E65-08002B2BD119}
extern const IID IID_ISupportErrorInfo;

struct IErrorInfo : IUnknown {
  STDMETHOD(GetGUID)(GUID* pGUID) PURE;
  STDMETHOD(GetSource)(BSTR* pBstrSource) PURE;
  STDMETHOD(GetDescription)(BSTR* pBstrDescription) PURE;
  STDMETHOD(GetHelpFile)(BSTR* pBstrHelpFile) PURE;
  STDMETHOD(GetHelpContext)(DWORD* pdwHelpContext) PURE;

 protected:
  ~IErrorInfo() = default;
};

struct ICreateErrorInfo : IUnknown {
  STDMETHOD(SetGUID)(REFGUID rguid) PURE;
  STDMETHOD(SetSource)(LPOLESTR szSource) PURE;
  STDMETHOD(SetDescription)(LPOLESTR szDescription) PURE;
  STDMETHOD(SetHelpFile)(LPOLESTR szHelpFile) PURE;
  STDMETHOD(SetHelpContext)(DWORD dwHelpContext) PURE;

 protected:
  ~ICreateErrorInfo() = default;
};

struct ISupportErrorInfo : IUnknown {
  STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) PURE;

 protected:
  ~ISupportErrorInfo() = default;
};

// A new, empty error object; it also answers IErrorInfo.
HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo);
// Makes perrinfo the thread's current description (adding a reference; null clears it).
HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo);
// Hands out the thread's description with its reference and clears it; S_FALSE and null when
// there is none.
HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo);

// The COM library: GUIDs, IUnknown, per-thread initialisation, the class registry and
// object creation.
#pragma once

#include "windows.h"

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};
using CLSID = GUID;
using IID = GUID;
using REFGUID = const GUID&;
using REFCLSID = const CLSID&;
using REFIID = const IID&;
using LPCLSID = CLSID*;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}
#define IsEqualIID IsEqualGUID
#define IsEqualCLSID IsEqualGUID
inline bool operator==(REFGUID a, REFGUID b) {
  return IsEqualGUID(a, b);
}

using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
#define OLESTR(str) u##str

#define STDMETHODCALLTYPE
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define PURE = 0

// {00000000-0000-0000-C000-000000000046}
extern const IID IID_IUnknown;

struct IUnknown {
  STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) PURE;
  STDMETHOD_(ULONG, AddRef)() PURE;
  STDMETHOD_(ULONG, Release)() PURE;

 protected:
  ~IUnknown() = default;  // objects go away through Release only
};
using LPUNKNOWN = IUnknown*;

// Class contexts
#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_REMOTE_SERVER 0x10
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER)

// COM failure codes
#define CO_E_NOTINITIALIZED TARVELO_HR(0x800401F0)
#define CO_E_CLASSSTRING TARVELO_HR(0x800401F3)
#define REGDB_E_CLASSNOTREG TARVELO_HR(0x80040154)
#define CLASS_E_NOAGGREGATION TARVELO_HR(0x80040110)

// Initialisation is counted per thread: S_OK the first time, S_FALSE when already initialised.
// Every successful call is balanced by one CoUninitialize.
HRESULT CoInitialize(LPVOID pvReserved);
void CoUninitialize();

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" -> CLSID, hex digits in either case;
// CO_E_CLASSSTRING when malformed. A null text gives the null CLSID.
HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
// Registered ProgID -> CLSID (ASCII case does not matter); CO_E_CLASSSTRING for an unknown name.
HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid);

// CO_E_NOTINITIALIZED on a thread without COM, REGDB_E_CLASSNOTREG for an unknown class,
// CLASS_E_NOAGGREGATION for an outer object, E_NOINTERFACE when the object lacks riid,
// E_INVALIDARG for a null ppv. Every class is served in process: a context with an in-process
// or local-server bit is accepted, any other is REGDB_E_CLASSNOTREG. *ppv is null on failure.
HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv);

// Puts an object into the running state. In-process objects here are running once made: S_OK.
HRESULT OleRun(LPUNKNOWN pUnknown);

// ---- The class registry (how a component makes itself known) ------------------------------

// Makes a new object of the class and answers its interface riid (an AddRef'd pointer).
using ClassFactoryFunction = HRESULT (*)(REFIID riid, void** ppv);

// Registers a class under its CLSID and ProgID for the rest of the process; registering the
// same CLSID again replaces it. Thread-safe. E_INVALIDARG for a missing ProgID or factory.
HRESULT CoRegisterClassObjectEntry(REFCLSID rclsid, LPCOLESTR lpszProgID,
                                   ClassFactoryFunction factory);

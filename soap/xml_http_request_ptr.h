// An owning reference to a request object of the XML HTTP request component.
//
// It holds at most one reference and releases it exactly once: on Release(), on a new
// creation, or when it goes out of scope (also while an exception passes). Calling a method
// through an empty reference raises E_POINTER.
#pragma once

#include "msxml2.h"
#include "objbase.h"

class XmlHttpRequestPtr {
 public:
  XmlHttpRequestPtr() = default;
  XmlHttpRequestPtr(const XmlHttpRequestPtr&) = delete;
  XmlHttpRequestPtr& operator=(const XmlHttpRequestPtr&) = delete;
  ~XmlHttpRequestPtr() { Release(); }

  // Creates an object of the class named by pszName (a ProgID, or a CLSID string in braces)
  // and holds its IXMLHTTPRequest interface. Returns the failure code, or S_OK. A name that
  // cannot be converted while no error code is set leaves the reference empty with S_OK.
  HRESULT CreateInstance(const char* pszName, IUnknown* pOuter, DWORD dwClsContext);

  void Release();
  IXMLHTTPRequest* GetInterfacePtr() const { return m_pRequest; }
  IXMLHTTPRequest* operator->() const;  // raises E_POINTER when empty

 private:
  IXMLHTTPRequest* m_pRequest = nullptr;
};

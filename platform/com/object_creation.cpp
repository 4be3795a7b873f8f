// CoCreateInstance and OleRun for in-process classes of the registry.
#include "apartment.h"
#include "class_registry.h"
#include "objbase.h"

namespace {

// The contexts a registered class can be served in: the stand-in serves every class in
// process, and takes a request for a local server as one for the same object.
constexpr DWORD kServedContexts =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

}  // namespace

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv) {
  if (ppv == nullptr) return E_INVALIDARG;
  *ppv = nullptr;
  if (!com_detail::IsInitializedOnThisThread()) return CO_E_NOTINITIALIZED;
  const ClassFactoryFunction factory = com_detail::FindFactory(rclsid);
  if (factory == nullptr || (dwClsContext & kServedContexts) == 0) return REGDB_E_CLASSNOTREG;
  if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;
  const HRESULT hr = factory(riid, ppv);
  if (FAILED(hr)) *ppv = nullptr;
  return hr;
}

HRESULT OleRun(LPUNKNOWN pUnknown) {
  return pUnknown != nullptr ? S_OK : E_INVALIDARG;
}

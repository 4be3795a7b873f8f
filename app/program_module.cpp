#include "app/program_module.h"

#include "afxsock.h"
#include "afxwin.h"
#include "interop/com_error.h"
#include "msxml.h"
#include "res/resource_module.h"

void InitProgramModule() {
  AfxSetResourceModule(&TarveloResourceModule());
  AfxSetExceptionTranslator(&TranslateProgramException);
  // The socket layer the program needs is the HTTP component's.
  AfxSetSocketLayerInit(&XmlHttpStartup);
}

BOOL TranslateProgramException(HRESULT* phr) {
  try {
    throw;
  } catch (const _com_error& error) {
    *phr = error.Error();
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

#include "app/program_module.h"

#include "afxwin.h"
#include "interop/com_error.h"
#include "res/resource_module.h"

void InitProgramModule() {
  AfxSetResourceModule(&TarveloResourceModule());
  AfxSetExceptionTranslator(&TranslateProgramException);
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

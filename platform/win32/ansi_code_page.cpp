// The ANSI code page of the deployment. GetACP is alone in this file: a test program may link
// one of its own in its place.
#include "tarvelo_config.h"
#include "windows.h"

UINT GetACP() {
  return static_cast<UINT>(TARVELO_ANSI_CODE_PAGE);
}

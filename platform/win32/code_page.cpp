#include "code_page.h"

namespace win32_detail {

UINT ResolveCodePage(UINT codePage) {
  return codePage == CP_ACP ? GetACP() : codePage;
}

}  // namespace win32_detail

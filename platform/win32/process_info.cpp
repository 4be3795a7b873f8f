// What a process learns about its own start: the startup information and its module handle.
#include <cstring>

#include "windows.h"

// The first byte of the executable's image, placed by the linker.
extern "C" char __executable_start;

void GetStartupInfoA(LPSTARTUPINFOA lpStartupInfo) {
  // A Linux process is started with no window placement, title or show state, so nothing but
  // the size is set and dwFlags carries no STARTF_USESHOWWINDOW.
  std::memset(lpStartupInfo, 0, sizeof(*lpStartupInfo));
  lpStartupInfo->cb = sizeof(*lpStartupInfo);
}

HMODULE GetModuleHandleA(LPCSTR lpModuleName) {
  if (lpModuleName != nullptr) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HMODULE>(&__executable_start);
}

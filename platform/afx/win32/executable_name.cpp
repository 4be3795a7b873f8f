// The running executable's name, from the module's file name.
#include "afx_state.h"

std::string afx::ExecutableName() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return "app";
  return FileNameWithoutExtension(std::string_view(path, length));
}

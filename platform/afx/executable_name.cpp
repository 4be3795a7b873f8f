// The running executable's name, from the process's link to it.
#include <unistd.h>

#include <climits>

#include "afx_state.h"

std::string afx::ExecutableName() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "app";
  return FileNameWithoutExtension(std::string_view(path, static_cast<std::size_t>(length)));
}

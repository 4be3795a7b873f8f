// The application's title and the executable's name.
#include <unistd.h>

#include <climits>
#include <string>

#include "afx_state.h"
#include "resource_lookup.h"

namespace {

std::string WithoutExtension(std::string name) {
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

}  // namespace

std::string afx::ExecutableName() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return "app";
  const std::string full(path, static_cast<std::size_t>(length));
  return WithoutExtension(full.substr(full.rfind('/') + 1));
}

std::string afx::DerivedAppName() {
  if (const char* title = FindProgramString(AFX_IDS_APP_TITLE)) return title;
  // The name the executable has where it was built for: the version block's file name.
  if (const char* original = AfxGetVersionString("OriginalFilename"); original && *original) {
    return WithoutExtension(original);
  }
  return ExecutableName();
}

// The application's title.
#include <string>

#include "afx_state.h"
#include "resource_lookup.h"

std::string afx::FileNameWithoutExtension(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

std::string afx::DerivedAppName() {
  if (const char* title = FindProgramString(AFX_IDS_APP_TITLE)) return title;
  // The name the executable has where it was built for: the version block's file name.
  if (const char* original = AfxGetVersionString("OriginalFilename"); original && *original) {
    return FileNameWithoutExtension(original);
  }
  return ExecutableName();
}

// The window executable: the framework on its Qt backend.
#include <cstdio>
#include <string>

#include "app/startup.h"
#include "qt/afx_qt.h"

int main(int argc, char** argv) {
  const std::string missing = afx::qt::MissingDisplay();
  if (!missing.empty()) {
    std::fprintf(stderr, "tarvelo: %s; tarvelo-cli runs the test without a display\n",
                 missing.c_str());
    return 1;
  }
  afx::SetBackendFactory(&afx::qt::CreateBackend);
  return RunApplication(argc, argv);
}

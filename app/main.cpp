// The window executable: the framework on its Qt backend.
#include "app/startup.h"
#include "qt/afx_qt.h"

int main(int argc, char** argv) {
  afx::SetBackendFactory(&afx::qt::CreateBackend);
  return RunApplication(argc, argv);
}

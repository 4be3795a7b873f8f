// The wait cursor: a nesting count kept by the framework, shown by the window system.
#include "afx_state.h"
#include "window_system.h"

void afx::ChangeWaitCursor(int nCode) {
  ModuleState& state = State();
  if (nCode > 0) {
    ++state.waitCursorDepth;
  } else if (nCode < 0 && state.waitCursorDepth > 0) {
    --state.waitCursorDepth;
  }
  ShowWaitCursor(nCode, state.waitCursorDepth);
}

namespace {

void DoWaitCursor(int nCode) {
  if (CWinApp* app = AfxGetApp()) {
    app->DoWaitCursor(nCode);
  } else {
    afx::ChangeWaitCursor(nCode);
  }
}

}  // namespace

void CCmdTarget::BeginWaitCursor() {
  DoWaitCursor(1);
}
void CCmdTarget::EndWaitCursor() {
  DoWaitCursor(-1);
}
void CCmdTarget::RestoreWaitCursor() {
  DoWaitCursor(0);
}

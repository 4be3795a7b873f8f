// The wait cursor: a nesting count kept by the framework, shown by the backend.
#include "afx_state.h"

void afx::ChangeWaitCursor(int nCode) {
  ModuleState& state = State();
  WaitCursorChange change = WaitCursorChange::Restore;
  if (nCode > 0) {
    ++state.waitCursorDepth;
    change = WaitCursorChange::Begin;
  } else if (nCode < 0) {
    if (state.waitCursorDepth > 0) --state.waitCursorDepth;
    change = WaitCursorChange::End;
  }
  if (WindowBackend* backend = CurrentBackend())
    backend->WaitCursorChanged(change, state.waitCursorDepth);
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

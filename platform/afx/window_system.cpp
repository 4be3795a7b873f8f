// The framework on its own dialog manager, which shows its windows through a window backend.
#include "window_system.h"

#include "dialog_session.h"

namespace afx {

bool WindowSystemReady() {
  return CurrentBackend() != nullptr;
}

void EndWindowSystem() {
  DestroyOwnBackend();
}

INT_PTR RunModalDialog(CDialog& dialog, const AFX_DIALOG_TEMPLATE& dialogTemplate,
                       HWND /*hWndParent*/) {
  // The dialog manager makes every dialog a window of its own: it knows no owner windows.
  DialogSession session(dialog, dialogTemplate);
  return session.Run();
}

HWND InnermostDialogWindow() {
  DialogSession* open = InnermostDialog();
  return open != nullptr ? open->DialogRecord().Handle() : nullptr;
}

void ControlsUpdated(HWND hDialog) {
  WindowRecord* window = FindWindowRecord(hDialog);
  if (window == nullptr || window->index >= 0) return;
  if (NativeDialog* native = window->session->Native()) native->ControlsUpdated();
}

void ShowWaitCursor(int nCode, int depth) {
  const WaitCursorChange change = nCode > 0   ? WaitCursorChange::Begin
                                  : nCode < 0 ? WaitCursorChange::End
                                              : WaitCursorChange::Restore;
  if (WindowBackend* backend = CurrentBackend()) backend->WaitCursorChanged(change, depth);
}

}  // namespace afx

// Modal dialogs on user32's dialog manager. It makes the window and its controls from the
// template in memory, gives the focus, handles Tab, Enter, Escape and the close request, and
// runs the modal loop; the framework attaches the dialog object when WM_INITDIALOG arrives, so
// that from then on every message goes through the object's message map.
#include <algorithm>
#include <vector>

#include "win32/dialog_template.h"
#include "win32/window_objects.h"
#include "window_system.h"

namespace afx {
namespace {

std::vector<HWND>& OpenDialogs() {
  static std::vector<HWND> open;  // innermost last
  return open;
}

INT_PTR CALLBACK ModalDialogProcedure(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
  // Only WM_INITDIALOG is handled here; once the object is attached, the dialog manager's
  // procedure passes everything else here only for what the object left to it.
  if (message != WM_INITDIALOG || PermanentObject(hDlg) != nullptr) return FALSE;
  auto* const dialog = reinterpret_cast<CDialog*>(lParam);
  if (!dialog->Attach(hDlg)) {
    EndDialog(hDlg, -1);
    return FALSE;
  }
  OpenDialogs().push_back(hDlg);
  return AfxCallWndProc(dialog, hDlg, WM_INITDIALOG, wParam, lParam);
}

}  // namespace

bool WindowSystemReady() {
  return true;
}

void EndWindowSystem() {}

INT_PTR RunModalDialog(CDialog& dialog, const AFX_DIALOG_TEMPLATE& dialogTemplate,
                       HWND hWndParent) {
  const std::vector<DWORD> bytes = BuildDialogTemplate(dialogTemplate);
  const std::size_t depth = OpenDialogs().size();
  const INT_PTR result = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), hWndParent,
      &ModalDialogProcedure, reinterpret_cast<LPARAM>(&dialog));
  OpenDialogs().resize(std::min(OpenDialogs().size(), depth));
  return result;
}

HWND InnermostDialogWindow() {
  return OpenDialogs().empty() ? nullptr : OpenDialogs().back();
}

void ControlsUpdated(HWND /*hDialog*/) {
  // The controls show each text as it is set.
}

}  // namespace afx

// What the framework needs from the window system beneath it. Two implement it: the
// framework's own dialog manager with a window backend (window_system.cpp, on Linux) and the
// real platform's dialog manager in user32 (win32/, on Windows). Internal to platform/afx.
#pragma once

#include "afxwin.h"

namespace afx {

// Whether windows can be shown at all; AfxWinInit does not start the application without.
bool WindowSystemReady();
// AfxWinTerm: lets go of what the framework made to show windows.
void EndWindowSystem();

// Makes the dialog's window from the template, owned by hWndParent (may be null), runs it
// modally and destroys it. Returns the value given to EndDialog, IDCANCEL when the window was
// ended from outside, -1 when the window could not be made.
INT_PTR RunModalDialog(CDialog& dialog, const AFX_DIALOG_TEMPLATE& dialogTemplate, HWND hWndParent);
// The window of the innermost open modal dialog; null when none is open.
HWND InnermostDialogWindow();
// The dialog hDialog has just written its members into its controls (UpdateData(FALSE)).
void ControlsUpdated(HWND hDialog);

// Shows the wait cursor after CWinApp::DoWaitCursor's change nCode (1, -1 or 0); depth is the
// nesting after it, 0 meaning the normal cursor.
void ShowWaitCursor(int nCode, int depth);

}  // namespace afx

// Window objects on the real platform: which CWnd a window of user32 belongs to. Internal to
// platform/afx.
#pragma once

#include "afxwin.h"

namespace afx {

// The object attached to the window (CWnd::Attach), or null.
CWnd* PermanentObject(HWND hWnd);

}  // namespace afx

// What the window manager is told about a dialog's frame beyond Qt's window flags. Internal to
// the Qt backend.
#pragma once

#include <QWidget>

#include "afxbackend.h"

namespace afx::qt {

// On X11, the Motif hints of the window's frame, from its window style: a title bar for
// WS_CAPTION, and the window menu, the minimise and the maximise box (and their functions)
// only for the boxes the style asks for; no resize handles for a fixed-size dialog. Qt sets
// only the functions for a title bar without buttons, which leaves the buttons to the window
// manager. Call after the native window exists and before it is shown; elsewhere, nothing.
void RequestFrameDecorations(QWidget& window, DWORD style);

}  // namespace afx::qt

// The font a dialog is drawn in, and the base units Windows would measure for it. Internal to
// the Qt backend.
#pragma once

#include <QFont>
#include <QSize>

#include "afxbackend.h"

namespace afx::qt {

// The template's font on this system. The Windows dialog faces ("MS Sans Serif", "MS Shell
// Dlg", ...) become Carlito: at 8 points its base units are those of the Windows face (6 x 13
// at 96 DPI), and every text of a template sized for that face fits its control. Without
// Carlito, DejaVu Sans (7 x 13).
QFont TemplateFont(const AFX_DIALOG_TEMPLATE& dialog);

// As Windows measures a dialog font: the average width of the 52 letters, rounded, and the
// height of a line.
BaseUnits MeasureBaseUnits(const QFont& font);

// The template's font, made smaller while the window it gives (client area plus frame) would
// not fit in `room`: the layout follows the font, so every control stays on the screen.
QFont FittingFont(const AFX_DIALOG_TEMPLATE& dialog, QSize room, QSize frame);

}  // namespace afx::qt

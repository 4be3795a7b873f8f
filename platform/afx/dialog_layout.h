// From a dialog template to pixels: the kinds of the controls and their places, through the
// base units of the dialog's font. Internal to platform/afx.
#pragma once

#include "afxbackend.h"

namespace afx {

// value * numerator / denominator, rounded half away from zero (Win32 MulDiv); -1 for a
// denominator of 0.
int ScaleRounded(int value, int numerator, int denominator);

ControlKind ClassifyControl(const AFX_DIALOG_ITEM& item);

// Dialog units to pixels: x and widths by baseUnits.cx / 4, y and heights by baseUnits.cy / 8.
DialogLayout ComputeDialogLayout(const AFX_DIALOG_TEMPLATE& dialog, BaseUnits baseUnits);

}  // namespace afx

// The program's dialog templates as user32's dialog manager reads them from memory: an extended
// dialog template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items). Internal to platform/afx.
#pragma once

#include <vector>

#include "afxresource.h"

namespace afx {

// The template's bytes, texts converted from the ANSI code page to UTF-16. Its start is DWORD
// aligned, as DialogBoxIndirectParam needs.
std::vector<DWORD> BuildDialogTemplate(const AFX_DIALOG_TEMPLATE& dialog);

}  // namespace afx

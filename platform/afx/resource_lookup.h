// Finding the program's resources and the framework's own strings. Internal to platform/afx.
#pragma once

#include "afxresource.h"

namespace afx {

const AFX_DIALOG_TEMPLATE* FindDialogTemplate(LPCSTR name);
const AFX_ICON_GROUP* FindIconGroup(LPCSTR name);
const char* FindProgramString(UINT id);    // the program's string table
const char* FindFrameworkString(UINT id);  // the framework's own texts
const char* FindString(UINT id);           // the program's, else the framework's

}  // namespace afx

// The program's resources as the framework takes them: the test dialog's template, the icon
// group IDR_MAINFRAME, the string table and the version block.
#pragma once

#include "afxresource.h"

const AFX_RESOURCE_MODULE& TarveloResourceModule();

// The parts, for whoever wants one of them alone.
const AFX_DIALOG_TEMPLATE& TestDialogTemplate();
const AFX_VERSION_INFO& TarveloVersionInfo();

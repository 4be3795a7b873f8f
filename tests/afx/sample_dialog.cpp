#include "sample_dialog.h"

BEGIN_MESSAGE_MAP(CSampleDlg, CDialog)
ON_COMMAND(IDC_APPLY, OnApply)
ON_WM_DESTROY()
END_MESSAGE_MAP()

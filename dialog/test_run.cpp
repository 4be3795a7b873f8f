// The test run. Replaced by the test run.
#include "dialog/soap_test_dlg.h"

void CSoapTestDlg::OnOK() {}

double CSoapTestDlg::ElapsedMilliseconds(const SYSTEMTIME& /*begin*/, const SYSTEMTIME& /*end*/) {
  return 0;
}

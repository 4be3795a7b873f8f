// One exchange with the service. Replaced by the test run.
#include "dialog/soap_test_dlg.h"

int CSoapTestDlg::CallWebService() {
  return 0;
}

// CSoapTestApp: the application. Its one object runs the test dialog modally.
#pragma once

#include "afxwin.h"

class CSoapTestApp : public CWinApp {
 public:
  CSoapTestApp() = default;

  BOOL InitInstance() override;

  DECLARE_MESSAGE_MAP()
};

extern CSoapTestApp theApp;

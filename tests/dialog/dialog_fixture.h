// The test dialog on the headless backend, as the program registers it: its resources, the
// translator of its exceptions, the Windows-1250 code page, and exchanges sent to a server of
// the test's on 127.0.0.1.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "afxbackend.h"
#include "app/program_module.h"
#include "dialog/soap_test_dlg.h"
#include "headless/afx_headless.h"
#include "soap/service_location.h"
#include "support/ansi_code_page.h"
#include "support/window_driver.h"

class SoapTestDlgTest : public ::testing::Test {
 protected:
  using Dialog = afx::headless::Dialog;

  SoapTestDlgTest() { InitProgramModule(); }
  ~SoapTestDlgTest() override { SetServiceHost(nullptr); }

  static void PointAt(int port) { SetServiceHost(("127.0.0.1:" + std::to_string(port)).c_str()); }

  INT_PTR Run(CDialog& dialog, afx::headless::Backend::Script script) {
    backend.QueueScript(std::move(script));
    return dialog.DoModal();
  }

  afx::headless::Backend backend;
  afx::ScopedBackend useBackend{backend};
  tarvelo_test::ScopedAnsiCodePage windows1250{1250};
};

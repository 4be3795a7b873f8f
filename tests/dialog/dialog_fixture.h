// The test dialog on the headless backend, with the program's own resources.
#pragma once

#include <gtest/gtest.h>

#include "afxbackend.h"
#include "dialog/soap_test_dlg.h"
#include "headless/afx_headless.h"
#include "res/resource_module.h"
#include "support/ansi_code_page.h"

class SoapTestDlgTest : public ::testing::Test {
 protected:
  using Dialog = afx::headless::Dialog;
  using Key = afx::headless::Key;

  SoapTestDlgTest() { AfxSetResourceModule(&TarveloResourceModule()); }
  ~SoapTestDlgTest() override { AfxSetResourceModule(nullptr); }

  INT_PTR Run(CDialog& dialog, afx::headless::Backend::Script script) {
    backend.QueueScript(std::move(script));
    return dialog.DoModal();
  }

  afx::headless::Backend backend;
  afx::ScopedBackend useBackend{backend};
  tarvelo_test::ScopedAnsiCodePage windows1250{1250};
};

// The dialog with its test run replaced by a counter, so that Enter and the button can be
// watched without a service.
class CObservedSoapTestDlg : public CSoapTestDlg {
 public:
  int runs = 0;
  void OnOK() override { ++runs; }
};

// A dialog of the sample module that records which of its handlers ran, for the framework's
// tests; and a fixture that runs it on the headless backend.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "afxbackend.h"
#include "afxwin.h"
#include "headless/afx_headless.h"
#include "sample_resources.h"

class CSampleDlg : public CDialog {
 public:
  CSampleDlg() : CDialog(IDD_SAMPLE) {}

  CEdit m_editName;
  CString m_strName;
  int m_nCount = 0;

  std::vector<std::string> calls;  // the handlers reached, in order
  std::function<void()> apply;     // what the Apply button does; may throw
  BOOL initResult = TRUE;
  bool okEnds = true;         // false: OnOK records and leaves the dialog open
  bool refuseCancel = false;  // true: OnCancel records and leaves the dialog open

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_NAME, m_editName);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDX_Text(pDX, IDC_COUNT, m_nCount);
  }
  BOOL OnInitDialog() override {
    calls.push_back("OnInitDialog");
    CDialog::OnInitDialog();
    return initResult;
  }
  void OnOK() override {
    calls.push_back("OnOK");
    if (okEnds) CDialog::OnOK();
  }
  void OnCancel() override {
    calls.push_back("OnCancel");
    if (!refuseCancel) CDialog::OnCancel();
  }
  afx_msg void OnApply() {
    calls.push_back("OnApply");
    if (apply) apply();
  }
  afx_msg void OnDestroy() {
    calls.push_back("OnDestroy");
    CDialog::OnDestroy();
  }

  DECLARE_MESSAGE_MAP()
};

class FrameworkTest : public ::testing::Test {
 protected:
  using Dialog = afx::headless::Dialog;
  using Key = afx::headless::Key;

  INT_PTR Run(CDialog& dialog, afx::headless::Backend::Script script) {
    backend.QueueScript(std::move(script));
    return dialog.DoModal();
  }
  const std::vector<afx::headless::MessageBoxRecord>& Boxes() const {
    return backend.MessageBoxes();
  }

  afx::headless::Backend backend;
  afx::ScopedBackend useBackend{backend};
  ScopedSampleModule module;
};

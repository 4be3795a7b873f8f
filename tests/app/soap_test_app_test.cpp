// The application: start-up with and without a socket layer, the arguments that change
// nothing, the help command and the program's exceptions at the framework's dispatch.
#include "app/soap_test_app.h"

#include <gtest/gtest.h>

#include "afxbackend.h"
#include "app/program_module.h"
#include "app/startup.h"
#include "dialog/soap_test_dlg.h"
#include "headless/afx_headless.h"
#include "interop/com_error.h"
#include "support/socket_layer.h"
#include "tarvelo_config.h"

namespace {

using afx::headless::Dialog;

class SoapTestAppTest : public ::testing::Test {
 protected:
  afx::headless::Backend backend;
  afx::ScopedBackend useBackend{backend};
};

TEST_F(SoapTestAppTest, WithoutSocketsOnlyTheMessageIsShownAndNoWindow) {
  const char* argv[] = {"tarvelo"};
  tarvelo_test::SetSocketLayerReady(false);
  const int exitCode = RunApplication(1, argv);
  tarvelo_test::SetSocketLayerReady(true);
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(backend.DialogsOpened(), 0);
  ASSERT_EQ(backend.MessageBoxes().size(), 1u);
  const afx::headless::MessageBoxRecord& box = backend.MessageBoxes()[0];
  EXPECT_EQ(box.text, "Windows sockets initialization failed.");
  EXPECT_EQ(box.caption, "Tarvelo");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST_F(SoapTestAppTest, TheArgumentsChangeNothing) {
  struct Case {
    std::vector<const char*> argv;
    const char* tail;
  };
  const Case cases[] = {
      {{"tarvelo"}, ""},
      {{"tarvelo", "-platform", "xcb", "-style", "fusion"}, "-platform xcb -style fusion"},
      {{"/opt/my apps/tarvelo", "--help", "-reverse"}, "--help -reverse"},
  };
  std::vector<std::string> windows;
  for (const Case& c : cases) {
    std::string seen;
    backend.QueueScript([&](Dialog& window) {
      seen = window.Caption() + "|" + window.Text(IDC_TEXT) + "|" + window.Text(IDC_TIMES) + "|" +
             std::to_string(window.FocusedId());
      window.Press(afx::headless::Key::Escape);
    });
    const int exitCode = RunApplication(static_cast<int>(c.argv.size()), c.argv.data());
    EXPECT_EQ(exitCode, 0);
    EXPECT_STREQ(theApp.m_lpCmdLine, c.tail);
    EXPECT_EQ(theApp.m_nCmdShow, SW_SHOWDEFAULT);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);  // the dialog was the main window while it was open
    windows.push_back(seen);
  }
  EXPECT_EQ(backend.DialogsOpened(), 3);
  EXPECT_TRUE(backend.MessageBoxes().empty());
  ASSERT_EQ(windows.size(), 3u);
  EXPECT_EQ(windows[0].substr(0, windows[0].find('|')),
            "Tarvelo - " TARVELO_SERVICE_HOST "/Service.asmx");
  EXPECT_EQ(windows[1], windows[0]);
  EXPECT_EQ(windows[2], windows[0]);
}

TEST_F(SoapTestAppTest, TheTitleIsTarveloAndHelpGoesToTheFramework) {
  EXPECT_STREQ(AfxGetAppName(), "Tarvelo");
  EXPECT_EQ(AfxGetApp(), &theApp);
  EXPECT_TRUE(theApp.OnCmdMsg(ID_HELP, CN_COMMAND));
  EXPECT_FALSE(theApp.OnCmdMsg(IDOK, CN_COMMAND));
}

TEST(ProgramExceptionTest, AComErrorTellsItsCodeAndOtherTypesAreNotKnown) {
  HRESULT hr = 0;
  try {
    throw _com_error(E_POINTER);
  } catch (...) {
    EXPECT_TRUE(TranslateProgramException(&hr));
  }
  EXPECT_EQ(hr, E_POINTER);
  try {
    throw 3.5;
  } catch (...) {
    EXPECT_FALSE(TranslateProgramException(&hr));
  }
}

class CFailingRunDlg : public CSoapTestDlg {
 public:
  void OnOK() override {
    BeginWaitCursor();
    throw _com_error(E_OUTOFMEMORY);
  }
};

TEST_F(SoapTestAppTest, AComErrorLeavingTheRunIsReportedWithItsCode) {
  CFailingRunDlg dialog;
  bool open = false;
  backend.QueueScript([&](Dialog& window) {
    window.Press(afx::headless::Key::Enter);
    open = window.IsOpen();
  });
  dialog.DoModal();
  EXPECT_TRUE(open);
  EXPECT_EQ(backend.WaitCursor().depth, 0);
  ASSERT_EQ(backend.MessageBoxes().size(), 1u);
  EXPECT_EQ(backend.MessageBoxes()[0].text,
            "The command could not be completed (error 0x8007000E).");
}

}  // namespace

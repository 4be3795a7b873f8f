// The application object: the title, message boxes, the wait cursor, the socket layer and the
// framework's entry.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "afxsock.h"
#include "sample_dialog.h"

namespace {

class ApplicationTest : public FrameworkTest {};

TEST_F(ApplicationTest, TheTitleComesFromTheResourcesElseTheExecutable) {
  struct Case {
    SampleModuleOptions options;
    std::string title;
  };
  const Case cases[] = {
      {{"Named Title", "Other.EXE"}, "Named Title"},
      {{nullptr, "Sample.EXE"}, "Sample"},
      {{nullptr, "NoExtension"}, "NoExtension"},
      {{nullptr, nullptr}, "tarvelo_afx_tests"},
  };
  for (const Case& c : cases) {
    ScopedSampleModule module(c.options);
    EXPECT_STREQ(AfxGetAppName(), c.title.c_str());
    CWinApp app;
    EXPECT_EQ(app.m_pszAppName, nullptr);  // until the framework starts
    CWinApp named("Given");
    EXPECT_STREQ(AfxGetAppName(), "Given");
  }
}

TEST_F(ApplicationTest, FrameworkMessageBoxesHaveTheExclamationMarkUnlessAnIconIsNamed) {
  ScopedSampleModule module({"Box Title", nullptr});
  struct Case {
    UINT type;
    UINT shown;
  };
  const Case cases[] = {
      {MB_OK, MB_OK | MB_ICONEXCLAMATION},
      {MB_OK | MB_ICONSTOP, MB_OK | MB_ICONSTOP},
  };
  for (const Case& c : cases) {
    backend.ClearMessageBoxes();
    AfxMessageBox("text", c.type);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].type, c.shown) << std::hex << c.type;
    EXPECT_EQ(Boxes()[0].caption, "Box Title");
  }
  // A plain MessageBox is shown as asked, and without a caption says "Error".
  backend.ClearMessageBoxes();
  ::MessageBoxA(nullptr, "plain", nullptr, MB_OK);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(Boxes()[0].caption, "Error");
}

TEST_F(ApplicationTest, StringMessageBoxesFindTheProgramsAndTheFrameworksStrings) {
  EXPECT_EQ(AfxMessageBox(IDS_SAMPLE_GREETING), IDOK);
  EXPECT_EQ(AfxMessageBox(AFX_IDP_PARSE_INT, MB_OK, 0), IDOK);
  EXPECT_EQ(AfxMessageBox(IDS_NOT_THERE), 0);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0].text, "Hello from the sample");
  EXPECT_EQ(Boxes()[1].text, "Please enter an integer.");
}

TEST_F(ApplicationTest, TheWaitCursorNestsAndNeverGoesBelowNothing) {
  CWinApp app;
  app.BeginWaitCursor();
  app.BeginWaitCursor();
  EXPECT_EQ(backend.WaitCursor().depth, 2);
  app.RestoreWaitCursor();
  app.EndWaitCursor();
  app.EndWaitCursor();
  app.EndWaitCursor();  // one too many
  const afx::headless::WaitCursorRecord& record = backend.WaitCursor();
  EXPECT_EQ(record.depth, 0);
  EXPECT_EQ(record.deepest, 2);
  EXPECT_EQ(record.begins, 2);
  EXPECT_EQ(record.restores, 1);
  EXPECT_EQ(record.ends, 3);
  app.BeginWaitCursor();
  EXPECT_EQ(backend.WaitCursor().depth, 1);
  app.EndWaitCursor();
}

// A process that can open no more files or sockets, for one scope.
class NoFreeDescriptors {
 public:
  NoFreeDescriptors() {
    getrlimit(RLIMIT_NOFILE, &m_saved);
    rlimit none = m_saved;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_NOFILE, &none);
  }
  ~NoFreeDescriptors() { setrlimit(RLIMIT_NOFILE, &m_saved); }
  NoFreeDescriptors(const NoFreeDescriptors&) = delete;
  NoFreeDescriptors& operator=(const NoFreeDescriptors&) = delete;

 private:
  rlimit m_saved{};
};

TEST(SocketInit, TheLayerIsReadyAndAPeerClosingCannotEndTheProcess) {
  std::signal(SIGPIPE, SIG_DFL);
  WSADATA data{};
  EXPECT_TRUE(AfxSocketInit(&data));
  EXPECT_EQ(data.wVersion, MAKEWORD(1, 1));
  struct sigaction current {};
  sigaction(SIGPIPE, nullptr, &current);
  EXPECT_EQ(current.sa_handler, SIG_IGN);
}

TEST(SocketInit, WithoutRoomForASocketTheLayerIsNotReady) {
  {
    const NoFreeDescriptors full;
    EXPECT_FALSE(AfxSocketInit());
  }
  EXPECT_TRUE(AfxSocketInit());
}

class CScriptedApp : public CWinApp {
 public:
  BOOL initResult = FALSE;
  int exitCode = 7;
  std::vector<std::string> calls;
  BOOL InitInstance() override {
    calls.push_back("InitInstance");
    CSampleDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    mainWndAfterDialog = m_pMainWnd;
    return initResult;
  }
  int ExitInstance() override {
    calls.push_back("ExitInstance");
    return exitCode;
  }
  int Run() override {
    calls.push_back("Run");
    return CWinApp::Run();
  }
  CWnd* mainWndAfterDialog = reinterpret_cast<CWnd*>(1);
};

TEST_F(ApplicationTest, TheEntryRunsInitInstanceAndEndsWithTheExitCode) {
  char tail[] = "-a b";
  for (const BOOL initResult : {FALSE, TRUE}) {
    CScriptedApp app;
    app.initResult = initResult;
    const int code = AfxWinMain(GetModuleHandleA(nullptr), nullptr, tail, SW_SHOWMINIMIZED);
    EXPECT_EQ(code, 7);
    const std::vector<std::string> expected =
        initResult ? std::vector<std::string>{"InitInstance", "Run", "ExitInstance"}
                   : std::vector<std::string>{"InitInstance", "ExitInstance"};
    EXPECT_EQ(app.calls, expected);
    EXPECT_EQ(app.m_lpCmdLine, tail);
    EXPECT_EQ(app.m_nCmdShow, SW_SHOWMINIMIZED);
    EXPECT_STREQ(app.m_pszExeName, "tarvelo_afx_tests");
    EXPECT_EQ(app.mainWndAfterDialog, nullptr);  // the main window went with the dialog
  }
}

TEST_F(ApplicationTest, TheEntryWithoutAnApplicationFails) {
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_EQ(AfxWinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT), -1);
}

// No backend installed and none to make: the framework says so and the application never
// starts; it does not fall back to a window nobody sees.
TEST(FrameworkEntry, WithoutAWindowSystemSaysSoAndEndsWithOne) {
  CScriptedApp app;
  ::testing::internal::CaptureStderr();
  const int code = AfxWinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 1);
  EXPECT_TRUE(app.calls.empty());
  EXPECT_EQ(said,
            "tarvelo_afx_tests: no window backend is linked into this program; it cannot "
            "show a window\n");
  EXPECT_EQ(AfxMessageBox("nobody sees this"), 0);
}

}  // namespace

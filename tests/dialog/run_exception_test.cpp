// An exception that leaves the test run: the framework's dispatch catches it, tells the
// operator, takes the wait cursor away, and the window serves the next run.
#include <functional>
#include <string>

#include "interop/com_error.h"
#include "objbase.h"
#include "run_fixture.h"
#include "support/counted_bstr_memory.h"
#include "support/failing_nothrow_new.h"

namespace {

// The test dialog whose data exchange fails once, on a chosen call counted from arming it.
class CFailingExchangeDlg : public CSoapTestDlg {
 public:
  int failOnCall = 0;  // 0: never
  std::function<void()> raise;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    if (failOnCall > 0 && --failOnCall == 0) raise();
    CSoapTestDlg::DoDataExchange(pDX);
  }
};

// An exception that passes the run's loop skips that exchange's CoUninitialize, so COM stays
// initialised on the thread; put the thread back so that later tests start without it.
void UninitializeComLeftByTheRun() {
  for (int level = 0; level < 16 && CoInitialize(nullptr) == S_FALSE; ++level) {
    CoUninitialize();
    CoUninitialize();
  }
  CoUninitialize();
}

TEST_F(RunTest, AnExceptionLeavingTheRunIsReportedAndTheWindowGoesOn) {
  constexpr int kTimes = 3;
  struct Case {
    const char* name;
    std::function<void(CFailingExchangeDlg&)> arm;
    const char* message;
    bool clockShown;  // the run got as far as showing the clock times
  };
  const Case cases[] = {
      {"no memory for the user name's string",
       [](CFailingExchangeDlg&) { FailNextBstrAllocations(1); },
       "The command could not be completed: out of memory.", false},
      {"no memory for the method's holder",
       [](CFailingExchangeDlg&) {
         tarvelo_test::FailNextNothrowObjects(1, sizeof(WideStringBody));
       },
       "The command could not be completed (error 0x8007000E).", false},
      {"the window fails to take the first reply",
       [](CFailingExchangeDlg& dialog) {
         // Reading the fields and showing the request come first; then the first exchange
         // shows its reply.
         dialog.failOnCall = 3;
         dialog.raise = [] { RaiseComError(E_OUTOFMEMORY); };
       },
       "The command could not be completed (error 0x8007000E).", false},
      {"the window fails to take the count at the end",
       [](CFailingExchangeDlg& dialog) {
         dialog.failOnCall = 2 + kTimes + 1;
         dialog.raise = [] { AfxThrowMemoryException(); };
       },
       "The command could not be completed: out of memory.", true},
  };
  PointAt(Service().port());
  for (const Case& c : cases) {
    backend.ClearMessageBoxes();
    CFailingExchangeDlg dialog;
    long before = 0, afterFailure = 0;
    int depthAfterFailure = -1;
    run_test::WindowFields failed, next;
    bool clicked = false, methodHeld = false;
    Run(dialog, [&](Dialog& window) {
      EXPECT_TRUE(run_test::ReplaceField(window, IDC_TIMES, std::to_string(kTimes)));
      before = LiveBstrCount();
      c.arm(dialog);
      clicked = window.Click(IDOK);
      afterFailure = LiveBstrCount();
      depthAfterFailure = backend.WaitCursor().depth;
      methodHeld = dialog.m_bstrMethod.WideText() != nullptr;
      failed = run_test::ReadFields(window);

      window.Click(IDOK);  // nothing armed now
      next = run_test::ReadFields(window);
    });
    UninitializeComLeftByTheRun();
    EXPECT_TRUE(clicked) << c.name;
    ASSERT_EQ(backend.MessageBoxes().size(), 1u) << c.name;
    EXPECT_EQ(backend.MessageBoxes()[0].text, c.message) << c.name;
    EXPECT_EQ(backend.MessageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP)) << c.name;
    EXPECT_EQ(depthAfterFailure, 0) << c.name;
    EXPECT_TRUE(failed.open) << c.name;
    EXPECT_EQ(failed.timesDone, "0") << c.name;
    EXPECT_EQ(!failed.begin.empty(), c.clockShown) << c.name;
    // The credentials' strings are freed on the way out; only the method's holder may stay.
    EXPECT_EQ(afterFailure, before + (methodHeld ? 1 : 0)) << c.name;
    EXPECT_EQ(dialog.m_bstrResponse.WideText(), nullptr) << c.name;

    EXPECT_TRUE(next.open) << c.name;
    EXPECT_EQ(next.timesDone, std::to_string(kTimes)) << c.name;
    EXPECT_TRUE(run_test::IsClockText(next.end)) << c.name;
    EXPECT_EQ(backend.MessageBoxes().size(), 1u) << c.name;
    EXPECT_EQ(backend.WaitCursor().depth, 0) << c.name;
  }
}

}  // namespace

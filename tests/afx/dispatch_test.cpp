// An exception that leaves a message handler: the framework's dispatch catches it, takes the
// wait cursor away, tells the operator, and the window goes on.
#include <gtest/gtest.h>

#include <stdexcept>

#include "sample_dialog.h"

namespace {

struct ProgramError {
  HRESULT code;
};
struct Stranger {};

BOOL TranslateProgramError(HRESULT* phr) {
  try {
    throw;
  } catch (const ProgramError& error) {
    *phr = error.code;
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

class DispatchTest : public FrameworkTest {
 protected:
  void SetUp() override { AfxSetExceptionTranslator(&TranslateProgramError); }
  void TearDown() override { AfxSetExceptionTranslator(nullptr); }
};

TEST_F(DispatchTest, TheOperatorIsToldTheWaitCursorGoesAndTheWindowStaysUsable) {
  struct Case {
    const char* name;
    std::function<void()> raise;
    const char* message;  // nullptr: no message box
  };
  const Case cases[] = {
      {"bare HRESULT", [] { throw static_cast<HRESULT>(E_OUTOFMEMORY); },
       "The command could not be completed (error 0x8007000E)."},
      {"program type", [] { throw ProgramError{E_POINTER}; },
       "The command could not be completed (error 0x80004003)."},
      {"memory exception", [] { AfxThrowMemoryException(); },
       "The command could not be completed: out of memory."},
      {"bad_alloc", [] { throw std::bad_alloc(); },
       "The command could not be completed: out of memory."},
      {"framework exception", [] { AfxThrowNotSupportedException(); },
       "The command could not be completed: An unsupported operation was attempted."},
      {"std::exception", [] { throw std::runtime_error("the disk is on fire"); },
       "The command could not be completed: the disk is on fire"},
      {"unknown type", [] { throw Stranger{}; }, "The command could not be completed."},
      {"user exception", [] { AfxThrowUserException(); }, nullptr},
  };
  for (const Case& c : cases) {
    backend.ClearMessageBoxes();
    CSampleDlg dialog;
    dialog.apply = [&] {
      dialog.BeginWaitCursor();
      dialog.BeginWaitCursor();
      c.raise();
    };
    int depthAfter = -1;
    bool openAfter = false;
    Run(dialog, [&](Dialog& window) {
      window.Click(IDC_APPLY);
      depthAfter = backend.WaitCursor().depth;
      openAfter = window.IsOpen();
      dialog.apply = nullptr;
      window.Click(IDC_APPLY);  // the next command still works
    });
    EXPECT_EQ(depthAfter, 0) << c.name;
    EXPECT_TRUE(openAfter) << c.name;
    EXPECT_EQ(std::count(dialog.calls.begin(), dialog.calls.end(), "OnApply"), 2) << c.name;
    if (c.message == nullptr) {
      EXPECT_TRUE(Boxes().empty()) << c.name;
    } else {
      ASSERT_EQ(Boxes().size(), 1u) << c.name;
      EXPECT_EQ(Boxes()[0].text, c.message) << c.name;
      EXPECT_EQ(Boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP)) << c.name;
      EXPECT_EQ(Boxes()[0].caption, AfxGetAppName()) << c.name;
    }
  }
}

TEST_F(DispatchTest, KeysAndCloseRequestsAreGuardedToo) {
  CSampleDlg dialog;
  dialog.okEnds = false;
  int thrown = 0;
  dialog.apply = [&] {
    ++thrown;
    throw std::runtime_error("from a key");
  };
  Run(dialog, [&](Dialog& window) {
    window.Focus(IDC_APPLY);
    window.Press(Key::Enter);
    window.Press(Key::Enter);
  });
  EXPECT_EQ(thrown, 2);
  EXPECT_EQ(Boxes().size(), 2u);
}

TEST_F(DispatchTest, AnExceptionInInitialisationLeavesTheDialogRunning) {
  struct CThrowingInit : CSampleDlg {
    BOOL OnInitDialog() override { throw std::runtime_error("no init"); }
  } dialog;
  bool open = false;
  Run(dialog, [&](Dialog& window) { open = window.IsOpen(); });
  EXPECT_TRUE(open);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "The command could not be completed: no init");
}

}  // namespace

// The dialog manager: building the window from its template, focus and tab order, the Enter,
// Escape and close rules, the limits of edit controls, and the end of the modal loop.
#include <gtest/gtest.h>

#include "dialog_layout.h"
#include "sample_dialog.h"

namespace {

class DialogManagerTest : public FrameworkTest {};

TEST_F(DialogManagerTest, ControlsArePlacedByTheBaseUnitsOfTheDialogFont) {
  // Headless: 6 x 13 base units; x and widths * 6 / 4, y and heights * 13 / 8, rounded.
  CSampleDlg dialog;
  RECT ok{}, log{};
  SIZE client{};
  std::string caption;
  Run(dialog, [&](Dialog& window) {
    ok = window.ControlRect(IDOK);
    log = window.ControlRect(IDC_LOG);
    client = window.ClientSize();
    caption = window.Caption();
  });
  EXPECT_EQ(ok.left, 225);        // 150 * 1.5
  EXPECT_EQ(ok.top, 13);          // 8 * 1.625
  EXPECT_EQ(ok.right, 285);       // + 40 * 1.5
  EXPECT_EQ(ok.bottom, 13 + 23);  // 14 * 1.625 = 22.75
  EXPECT_EQ(log.left, 12);
  EXPECT_EQ(log.top, 65);
  EXPECT_EQ(log.bottom - log.top, 42);  // 26 * 1.625 = 42.25
  EXPECT_EQ(client.cx, 293);            // 195 * 1.5 = 292.5, half away from zero
  EXPECT_EQ(client.cy, 154);            // 95 * 1.625 = 154.375
  EXPECT_EQ(caption, "Sample");
}

TEST(DialogLayoutTest, ScalingRoundsHalfAwayFromZero) {
  struct Case {
    int value, numerator, denominator, expected;
  };
  const Case cases[] = {{3, 1, 2, 2},  {-3, 1, 2, -2}, {5, 13, 8, 8},  {1, 1, 3, 0},
                        {7, 6, 4, 11}, {4, 1, 0, -1},  {-7, 6, -4, 11}};
  for (const Case& c : cases) {
    EXPECT_EQ(afx::ScaleRounded(c.value, c.numerator, c.denominator), c.expected)
        << c.value << " * " << c.numerator << " / " << c.denominator;
  }
}

TEST_F(DialogManagerTest, TheFocusStartsOnTheFirstTabStopWhenInitialisationAsksForIt) {
  for (const BOOL initResult : {TRUE, FALSE}) {
    CSampleDlg dialog;
    dialog.initResult = initResult;
    int focus = -1;
    Run(dialog, [&](Dialog& window) { focus = window.FocusedId(); });
    EXPECT_EQ(focus, initResult ? IDOK : 0) << "OnInitDialog returned " << initResult;
  }
}

TEST_F(DialogManagerTest, TabAndShiftTabWalkTheEnabledTabStopsInTemplateOrder) {
  CSampleDlg dialog;
  std::vector<int> forward, backward;
  Run(dialog, [&](Dialog& window) {
    for (int i = 0; i < 6; ++i) {
      window.Press(Key::Tab);
      forward.push_back(window.FocusedId());
    }
    for (int i = 0; i < 6; ++i) {
      window.Press(Key::BackTab);
      backward.push_back(window.FocusedId());
    }
  });
  // Labels, the group box and the disabled edit control are passed over; the walk wraps.
  EXPECT_EQ(forward, (std::vector<int>{IDCANCEL, IDC_NAME, IDC_COUNT, IDC_LOG, IDC_APPLY, IDOK}));
  EXPECT_EQ(backward, (std::vector<int>{IDC_APPLY, IDC_LOG, IDC_COUNT, IDC_NAME, IDCANCEL, IDOK}));
}

TEST_F(DialogManagerTest, ArrowKeysMoveWithinTheGroupOfTheFocusedControl) {
  // Two groups: the buttons and the group box; from "Name:" (WS_GROUP) to Apply.
  CSampleDlg dialog;
  std::vector<int> seen;
  Run(dialog, [&](Dialog& window) {
    for (Key key : {Key::Down, Key::Right, Key::Up}) {
      window.Press(key);
      seen.push_back(window.FocusedId());
    }
    while (window.FocusedId() != IDC_APPLY) window.Press(Key::Tab);
    for (Key key : {Key::Up, Key::Down, Key::Tab, Key::Right}) {
      window.Press(key);
      seen.push_back(window.FocusedId());
    }
  });
  // The group box, labels and the disabled field are passed over; an edit control keeps its
  // arrows.
  EXPECT_EQ(seen,
            (std::vector<int>{IDCANCEL, IDOK, IDCANCEL, IDC_LOG, IDC_LOG, IDC_APPLY, IDC_NAME}));
}

TEST_F(DialogManagerTest, TabbingIntoAnEditControlSelectsItsText) {
  CSampleDlg dialog;
  dialog.m_strName = "replace me";
  std::string name;
  Run(dialog, [&](Dialog& window) {
    window.Press(Key::Tab);
    window.Press(Key::Tab);
    window.Type("new");
    name = window.Text(IDC_NAME);
  });
  EXPECT_EQ(name, "new");
}

TEST_F(DialogManagerTest, EnterPressesTheDefaultButtonUnlessAPushButtonHasTheFocus) {
  struct Case {
    int focus;
    const char* handler;
  };
  const Case cases[] = {
      {IDC_NAME, "OnOK"}, {IDC_COUNT, "OnOK"},    {IDC_LOG, "OnOK"},
      {IDOK, "OnOK"},     {IDCANCEL, "OnCancel"}, {IDC_APPLY, "OnApply"},
  };
  for (const Case& c : cases) {
    CSampleDlg dialog;
    dialog.okEnds = false;
    dialog.refuseCancel = true;
    Run(dialog, [&](Dialog& window) {
      while (window.FocusedId() != c.focus) window.Press(Key::Tab);
      window.Press(Key::Enter);
    });
    ASSERT_GE(dialog.calls.size(), 2u);
    EXPECT_EQ(dialog.calls[1], c.handler) << "focus on " << c.focus;
  }
}

TEST_F(DialogManagerTest, EscapeAndACloseRequestAreCancel) {
  for (const bool useEscape : {true, false}) {
    CSampleDlg dialog;
    bool openAfter = true;
    const INT_PTR result = Run(dialog, [&](Dialog& window) {
      window.Focus(IDC_NAME);
      if (useEscape) {
        window.Press(Key::Escape);
      } else {
        window.Close();
      }
      openAfter = window.IsOpen();
      EXPECT_FALSE(window.Click(IDC_APPLY));  // nothing more reaches an ended dialog
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(openAfter);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"OnInitDialog", "OnCancel", "OnDestroy"}));
  }
}

TEST_F(DialogManagerTest, ADialogThatRefusesToCloseStillEndsWhenTheScriptRunsOut) {
  CSampleDlg dialog;
  dialog.refuseCancel = true;
  bool openAfterEscape = false;
  const INT_PTR result = Run(dialog, [&](Dialog& window) {
    window.Press(Key::Escape);
    window.Close();
    openAfterEscape = window.IsOpen();
  });
  EXPECT_TRUE(openAfterEscape);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(dialog.calls.back(), "OnDestroy");
}

TEST_F(DialogManagerTest, ADialogWithoutAScriptEndsAtOnceAndOneWithoutATemplateNeverOpens) {
  CSampleDlg dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(backend.DialogsOpened(), 1);

  CDialog missing(999);
  EXPECT_EQ(missing.DoModal(), -1);
  EXPECT_EQ(backend.DialogsOpened(), 1);
}

TEST_F(DialogManagerTest, LimitsBindTypingAndPastingButNotTheProgram) {
  struct Case {
    const char* action;
    const char* input;
    const char* expected;
  };
  // IDC_NAME holds "ab" with the caret at the end, and a limit of 5.
  const Case cases[] = {
      {"type", "cdefgh", "abcde"},         // the keystrokes past the limit are refused
      {"paste", "cdefgh", "abcde"},        // the first characters that fit
      {"paste", "cd\r\nef", "abcd"},       // a single-line control takes the first line
      {"type", "c\td\x01", "abcd"},        // control characters are refused
      {"paste", "c😀d", "abc😀"},            // a surrogate pair needs room for both halves...
      {"paste", "cd😀", "abcd"},            // ...and is never split
      {"select all, type", "xyz", "xyz"},  // typing replaces the selection
  };
  for (const Case& c : cases) {
    CSampleDlg dialog;
    dialog.m_strName = "ab";
    std::string text;
    Run(dialog, [&](Dialog& window) {
      dialog.m_editName.SendMessage(EM_LIMITTEXT, 5);
      window.Focus(IDC_NAME);
      const std::string action = c.action;
      if (action == "type") window.Type(c.input);
      if (action == "paste") window.Paste(c.input);
      if (action == "select all, type") {
        window.SelectAll();
        window.Type(c.input);
      }
      text = window.Text(IDC_NAME);
    });
    EXPECT_EQ(text, c.expected) << c.action << " " << c.input;
  }

  CSampleDlg dialog;
  std::string setByProgram, afterTyping;
  UINT limit = 0;
  Run(dialog, [&](Dialog& window) {
    dialog.m_editName.SendMessage(EM_LIMITTEXT, 3);
    limit = static_cast<UINT>(window.TextLimit(IDC_NAME));
    dialog.m_editName.SetWindowText("longer than three");
    setByProgram = window.Text(IDC_NAME);
    window.Focus(IDC_NAME);
    window.Type("!");
    afterTyping = window.Text(IDC_NAME);
  });
  EXPECT_EQ(limit, 3u);
  EXPECT_EQ(setByProgram, "longer than three");
  EXPECT_EQ(afterTyping, "longer than three");
}

TEST_F(DialogManagerTest, ReadOnlyAndNumberControlsRefuseWhatTheyDoNotTake) {
  CSampleDlg dialog;
  bool typedIntoLog = true, clickedLabel = true;
  std::string log, count;
  Run(dialog, [&](Dialog& window) {
    ::SetWindowTextA(::GetDlgItem(dialog.m_hWnd, IDC_LOG), "line one\r\nline two");
    window.Focus(IDC_LOG);
    typedIntoLog = window.Type("x");
    log = window.Text(IDC_LOG);
    window.Focus(IDC_COUNT);
    window.Type("1a2-3");
    count = window.Text(IDC_COUNT);
    clickedLabel = window.Click(IDC_NOTE);
  });
  EXPECT_FALSE(typedIntoLog);
  EXPECT_EQ(log, "line one\r\nline two");
  EXPECT_EQ(count, "0123");  // the 0 was exchanged in; letters and signs are refused
  EXPECT_FALSE(clickedLabel);
}

TEST_F(DialogManagerTest, WindowFunctionsRefuseHandlesThatNameNoWindow) {
  CSampleDlg dialog;
  HWND stale = nullptr;
  Run(dialog, [&](Dialog&) {
    stale = ::GetDlgItem(dialog.m_hWnd, IDC_NAME);
    EXPECT_EQ(::GetDlgItem(dialog.m_hWnd, 4242), nullptr);
    EXPECT_EQ(CWnd::FromHandle(stale), &dialog.m_editName);
    EXPECT_NE(dialog.GetDlgItem(IDC_NOTE), nullptr);
  });
  SetLastError(0);
  EXPECT_FALSE(::IsWindow(stale));
  EXPECT_EQ(::SendMessageA(stale, WM_GETTEXTLENGTH, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(::SetWindowTextA(stale, "x"));
  EXPECT_EQ(CWnd::FromHandle(stale), nullptr);
}

}  // namespace

// The test dialog's window on the framework's dialog manager: what it shows when it opens, the
// focus and tab order, the Enter, Escape and close rules, what its fields take from the
// operator, and its painting while minimised.
#include <optional>

#include "dialog_fixture.h"
#include "tarvelo_config.h"

namespace {

using Key = afx::headless::Key;

// The dialog with its test run replaced by a counter.
class CObservedSoapTestDlg : public CSoapTestDlg {
 public:
  int runs = 0;
  void OnOK() override { ++runs; }
};

TEST_F(SoapTestDlgTest, TheWindowOpensWithTheDefaultsAndTheFocusOnCallWebService) {
  CSoapTestDlg dialog;
  const INT_PTR result = Run(dialog, [&](Dialog& window) {
    const tarvelo_test::WindowFields fields = tarvelo_test::ReadFields(window);
    EXPECT_EQ(window.Text(IDC_TEXT), "added string to hello and check code page (čćžđšČĆŽĐŠ)");
    EXPECT_EQ(window.Text(IDC_TIMES), "5");
    EXPECT_EQ(fields.timesDone, "0");
    EXPECT_EQ(
        fields.request + fields.response + fields.begin + fields.end + fields.diff + fields.average,
        "");
    EXPECT_EQ(window.FocusedId(), IDOK);
    EXPECT_EQ(window.TextLimit(IDC_TEXT), 128);
    EXPECT_EQ(window.TextLimit(IDC_TIMES), 4);
    // The caption names the location that the exchanges call.
    EXPECT_EQ(window.Caption(), "Tarvelo - " TARVELO_SERVICE_HOST "/Service.asmx");
    ASSERT_NE(dialog.m_hIcon, nullptr);
    EXPECT_EQ(window.WindowIcon(true), afx::IconFromHandle(dialog.m_hIcon));
    EXPECT_EQ(window.WindowIcon(false), window.WindowIcon(true));
  });
  EXPECT_EQ(result, IDCANCEL);  // the window opened, and closed when the test was done
}

TEST_F(SoapTestDlgTest, TabWalksTheTabStopsInTemplateOrderAndSelectsAFieldsText) {
  CObservedSoapTestDlg dialog;
  std::vector<int> order;
  std::string typed;
  Run(dialog, [&](Dialog& window) {
    for (int i = 0; i < 7; ++i) {
      window.Press(Key::Tab);
      order.push_back(window.FocusedId());
      if (order.back() == IDC_TIMES) window.Type("2");  // over the selected "5"
    }
    typed = window.Text(IDC_TIMES);
  });
  // The labels are passed over; the walk wraps.
  EXPECT_EQ(order, (std::vector<int>{IDCANCEL, IDC_TEXT, IDC_REQUEST, IDC_RESPONSE, IDC_TIMES,
                                     IDC_TIMES_DONE, IDOK}));
  EXPECT_EQ(typed, "2");
}

TEST_F(SoapTestDlgTest, EnterRunsTheTestUnlessExitHasTheFocusAndEscapeOrCloseIsExit) {
  struct Case {
    int focus;
    std::optional<Key> key;  // none: a close request from outside
    int runs;
  };
  const Case cases[] = {{IDC_RESPONSE, Key::Enter, 1},
                        {IDCANCEL, Key::Enter, 0},
                        {IDC_TEXT, Key::Escape, 0},
                        {IDC_TEXT, std::nullopt, 0}};
  for (const Case& c : cases) {
    CObservedSoapTestDlg dialog;
    bool open = false;
    const INT_PTR result = Run(dialog, [&](Dialog& window) {
      window.Focus(c.focus);
      if (c.key) {
        window.Press(*c.key);
      } else {
        window.Close();
      }
      open = window.IsOpen();
    });
    EXPECT_EQ(dialog.runs, c.runs) << "focus on " << c.focus;
    EXPECT_EQ(open, c.runs == 1) << "focus on " << c.focus;
    EXPECT_EQ(result, IDCANCEL);
  }
}

// A field's selection outlasts a run, which writes every field again.
TEST_F(SoapTestDlgTest, ARunKeepsTheSelectionOfAField) {
  CSoapTestDlg dialog;
  std::string text;
  Run(dialog, [&](Dialog& window) {
    window.EnterText(IDC_TIMES, "0");
    window.Focus(IDC_TEXT);
    window.SelectAll();
    window.Press(Key::Enter);
    window.Type("Z");
    text = window.Text(IDC_TEXT);
  });
  EXPECT_EQ(text, "Z");
}

TEST_F(SoapTestDlgTest, MinimisedTheWindowPaintsOnlyItsIconCentred) {
  struct Case {
    bool iconic;
    int cx, cy;
    int x, y;  // (size - 32 + 1) / 2, truncated toward zero
  };
  const Case cases[] = {{true, 33, 34, 1, 1}, {true, 46, 20, 7, -5}, {false, 46, 20, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.iconic << " " << c.cx << "x" << c.cy);
    CSoapTestDlg dialog;
    std::vector<afx::headless::DrawnIcon> drawn;
    int erased = 0;
    LRESULT dragIcon = 0;
    Run(dialog, [&](Dialog& window) {
      window.SetIconic(c.iconic);
      window.SetClientSize(c.cx, c.cy);
      window.Paint();
      drawn = window.DrawnIcons();
      erased = window.IconBackgroundErasures();
      dragIcon = dialog.SendMessage(WM_QUERYDRAGICON);
    });
    EXPECT_EQ(reinterpret_cast<HICON>(dragIcon), dialog.m_hIcon);
    EXPECT_EQ(erased, c.iconic ? 1 : 0);
    ASSERT_EQ(drawn.size(), c.iconic ? 1u : 0u);
    if (c.iconic) {
      EXPECT_EQ(drawn[0].x, c.x);
      EXPECT_EQ(drawn[0].y, c.y);
      EXPECT_EQ(drawn[0].icon, dialog.m_hIcon);
    }
  }
}

}  // namespace

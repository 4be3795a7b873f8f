// The test dialog's window on the framework's dialog manager: what it shows when it opens, the
// focus and tab order, the Enter, Escape and close rules, what its fields take from the
// operator, and its painting while minimised.
#include <functional>
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
  tarvelo_test::WindowFields fields;
  std::string text, times, caption;
  int focus = 0, textLimit = 0, timesLimit = 0;
  const afx::Icon *bigIcon = nullptr, *smallIcon = nullptr;
  Run(dialog, [&](Dialog& window) {
    fields = tarvelo_test::ReadFields(window);
    text = window.Text(IDC_TEXT);
    times = window.Text(IDC_TIMES);
    caption = window.Caption();
    focus = window.FocusedId();
    textLimit = window.TextLimit(IDC_TEXT);
    timesLimit = window.TextLimit(IDC_TIMES);
    bigIcon = window.WindowIcon(true);
    smallIcon = window.WindowIcon(false);
  });
  EXPECT_EQ(text, "added string to hello and check code page (čćžđšČĆŽĐŠ)");
  EXPECT_EQ(times, "5");
  EXPECT_EQ(fields.timesDone, "0");
  EXPECT_EQ(
      fields.request + fields.response + fields.begin + fields.end + fields.diff + fields.average,
      "");
  EXPECT_EQ(focus, IDOK);
  EXPECT_EQ(textLimit, 128);
  EXPECT_EQ(timesLimit, 4);
  // The caption names the location that the exchanges call.
  EXPECT_EQ(caption, "Tarvelo - " TARVELO_SERVICE_HOST "/Service.asmx");
  ASSERT_NE(dialog.m_hIcon, nullptr);
  EXPECT_EQ(bigIcon, afx::IconFromHandle(dialog.m_hIcon));
  EXPECT_EQ(smallIcon, bigIcon);
}

TEST_F(SoapTestDlgTest, TabWalksTheTabStopsInTemplateOrderAndSelectsAFieldsText) {
  CObservedSoapTestDlg dialog;
  std::vector<int> order;
  std::string typed;
  Run(dialog, [&](Dialog& window) {
    for (int i = 0; i < 7; ++i) {
      window.Press(Key::Tab);
      order.push_back(window.FocusedId());
    }
    window.Press(Key::BackTab);
    window.Press(Key::BackTab);
    order.push_back(window.FocusedId());
    window.Type("2");  // over the selected "5"
    typed = window.Text(IDC_TIMES);
  });
  // The labels are passed over; the walk wraps.
  EXPECT_EQ(order, (std::vector<int>{IDCANCEL, IDC_TEXT, IDC_REQUEST, IDC_RESPONSE, IDC_TIMES,
                                     IDC_TIMES_DONE, IDOK, IDC_TIMES}));
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

// The read-only fields take nothing; a field's selection outlasts a run that rewrites it.
TEST_F(SoapTestDlgTest, TheReadOnlyFieldsTakeNothingAndARunKeepsASelection) {
  CSoapTestDlg dialog;
  std::string text;
  bool taken = false;
  Run(dialog, [&](Dialog& window) {
    for (const int id : {IDC_REQUEST, IDC_RESPONSE, IDC_TIMES_DONE})
      taken |= window.EnterText(id, "1");
    window.EnterText(IDC_TIMES, "0");
    window.Focus(IDC_TEXT);
    window.SelectAll();
    window.Press(Key::Enter);
    window.Type("Z");
    text = window.Text(IDC_TEXT);
  });
  EXPECT_FALSE(taken);
  EXPECT_EQ(text, "Z");
}

TEST_F(SoapTestDlgTest, MinimisedTheWindowPaintsOnlyItsIconCentred) {
  struct Case {
    bool iconic;
    int cx, cy;
    int x, y;  // (size - 32 + 1) / 2, truncated toward zero
  };
  const Case cases[] = {{true, 33, 34, 1, 1}, {true, 45, 20, 7, -5}, {false, 45, 20, 0, 0}};
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

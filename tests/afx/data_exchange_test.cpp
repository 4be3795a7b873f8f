// Dialog data exchange: members to controls and back, texts through the ANSI code page, and
// the failed integer exchange.
#include <gtest/gtest.h>

#include "sample_dialog.h"
#include "support/ansi_code_page.h"

namespace {

class DataExchangeTest : public FrameworkTest {};

TEST_F(DataExchangeTest, MembersGoToTheControlsAndComeBack) {
  CSampleDlg dialog;
  dialog.m_strName = "first";
  dialog.m_nCount = -42;
  std::string shownName, shownCount;
  BOOL saved = FALSE;
  Run(dialog, [&](Dialog& window) {
    shownName = window.Text(IDC_NAME);
    shownCount = window.Text(IDC_COUNT);
    window.EnterText(IDC_NAME, "second");
    window.Focus(IDC_COUNT);
    window.SelectAll();
    window.Paste("  17\t");  // pasting is not held to ES_NUMBER, blanks around a number are fine
    saved = dialog.UpdateData(TRUE);
  });
  EXPECT_EQ(shownName, "first");
  EXPECT_EQ(shownCount, "-42");
  EXPECT_TRUE(saved);
  EXPECT_EQ(dialog.m_strName, "second");
  EXPECT_EQ(dialog.m_nCount, 17);
}

TEST_F(DataExchangeTest, TextsPassThroughTheAnsiCodePage) {
  tarvelo_test::ScopedAnsiCodePage codePage(1250);
  CSampleDlg dialog;
  dialog.m_strName = "\xE8\x9E\x8A";  // č ž Š in Windows-1250
  std::string shown;
  Run(dialog, [&](Dialog& window) {
    shown = window.Text(IDC_NAME);
    // ő is in Windows-1250 (0xF5); the Chinese letter and the arrow are not.
    window.EnterText(IDC_NAME, "ő中→x");
    dialog.UpdateData(TRUE);
  });
  EXPECT_EQ(shown, "čžŠ");
  EXPECT_EQ(dialog.m_strName, "\xF5??x");
}

TEST_F(DataExchangeTest, ControlObjectsAreAttachedOnceAndLetGoWithTheWindow) {
  CSampleDlg dialog;
  HWND attached = nullptr, control = nullptr, afterSecondExchange = nullptr;
  Run(dialog, [&](Dialog&) {
    attached = dialog.m_editName.m_hWnd;
    control = ::GetDlgItem(dialog.m_hWnd, IDC_NAME);
    dialog.UpdateData(FALSE);
    afterSecondExchange = dialog.m_editName.m_hWnd;
  });
  EXPECT_NE(attached, nullptr);
  EXPECT_EQ(attached, control);
  EXPECT_EQ(afterSecondExchange, attached);
  EXPECT_EQ(CWnd::FromHandle(control), nullptr);  // the window is gone
  EXPECT_EQ(dialog.m_editName.m_hWnd, nullptr);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(DataExchangeTest, AnIntegerIsAWholeNumberWithBlanksAroundIt) {
  struct Case {
    const char* text;
    bool accepted;
    int value;
  };
  const Case cases[] = {
      {"42", true, 42},
      {" \t-17 ", true, -17},
      {"+5", true, 5},
      {"0", true, 0},
      {"-2147483648", true, INT_MIN},
      {"2147483647", true, INT_MAX},
      {"2147483648", false, 0},
      {"12x", false, 0},
      {"1 2", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"abc", false, 0},
      {"0x10", false, 0},
      {"-", false, 0},
  };
  for (const Case& c : cases) {
    backend.ClearMessageBoxes();
    CSampleDlg dialog;
    dialog.m_nCount = 99;
    BOOL result = FALSE;
    int focus = 0;
    std::string afterTyping;
    Run(dialog, [&](Dialog& window) {
      window.Focus(IDC_COUNT);
      window.SelectAll();
      window.Paste(c.text);
      window.Focus(IDC_NAME);
      result = dialog.UpdateData(TRUE);
      focus = window.FocusedId();
      window.Type("7");  // replaces the selection if the failed control's text is selected
      afterTyping = window.Text(IDC_COUNT);
    });
    const std::string pasted = c.text;
    if (c.accepted) {
      EXPECT_TRUE(result) << pasted;
      EXPECT_EQ(dialog.m_nCount, c.value) << pasted;
      EXPECT_TRUE(Boxes().empty()) << pasted;
      EXPECT_EQ(focus, IDC_NAME) << pasted;
    } else {
      EXPECT_FALSE(result) << pasted;
      EXPECT_EQ(dialog.m_nCount, 99) << pasted;
      ASSERT_EQ(Boxes().size(), 1u) << pasted;
      EXPECT_EQ(Boxes()[0].text, "Please enter an integer.");
      EXPECT_EQ(focus, IDC_COUNT) << pasted;
      EXPECT_EQ(afterTyping, "7") << pasted;
    }
  }
}

TEST_F(DataExchangeTest, AFailedExchangeKeepsTheMembersBeforeItAndLeavesTheRest) {
  CSampleDlg dialog;
  dialog.m_strName = "old";
  BOOL result = TRUE;
  Run(dialog, [&](Dialog& window) {
    window.EnterText(IDC_NAME, "new");
    window.Focus(IDC_COUNT);
    window.SelectAll();
    window.Paste("many");
    result = dialog.UpdateData(TRUE);
  });
  EXPECT_FALSE(result);
  // The name comes before the count in the exchange, so it was already taken.
  EXPECT_EQ(dialog.m_strName, "new");
}

TEST_F(DataExchangeTest, ExchangingWithoutAWindowFails) {
  CSampleDlg dialog;
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  EXPECT_FALSE(dialog.UpdateData(FALSE));
}

}  // namespace

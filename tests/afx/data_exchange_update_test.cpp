// Members to controls: a control whose text is already the member's is left alone (its
// selection stays), whatever the length; any other text replaces it. The headless backend
// tells its user of each such update.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "sample_dialog.h"
#include "support/ansi_code_page.h"

namespace {

class DataExchangeUpdateTest : public FrameworkTest {};

std::string Letters(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

TEST_F(DataExchangeUpdateTest, AnUnchangedTextKeepsItsSelectionWhateverItsLength) {
  for (const std::size_t length : {1u, 254u, 255u, 256u, 257u, 3000u}) {
    SCOPED_TRACE(length);
    CSampleDlg dialog;
    dialog.m_strName = Letters(length).c_str();
    std::string afterTyping;
    Run(dialog, [&](Dialog& window) {
      window.Focus(IDC_NAME);
      window.SelectAll();
      dialog.UpdateData(FALSE);
      window.Type("Z");  // replaces the text only if it is still selected
      afterTyping = window.Text(IDC_NAME);
    });
    EXPECT_EQ(afterTyping, "Z");
  }
}

TEST_F(DataExchangeUpdateTest, ATextThatDiffersAnywhereReplacesTheControls) {
  for (const std::size_t length : {1u, 255u, 256u, 3000u}) {
    SCOPED_TRACE(length);
    const std::string shown = Letters(length);
    std::string lastChanged = shown;
    lastChanged.back() = '#';
    for (const std::string& member :
         {shown + "x", shown.substr(0, length - 1), lastChanged, std::string()}) {
      CSampleDlg dialog;
      dialog.m_strName = shown.c_str();
      std::string after;
      Run(dialog, [&](Dialog& window) {
        dialog.m_strName = member.c_str();
        dialog.UpdateData(FALSE);
        after = window.Text(IDC_NAME);
      });
      EXPECT_EQ(after, member);
    }
  }
}

TEST_F(DataExchangeUpdateTest, TextsAreComparedAfterTheCodePage) {
  tarvelo_test::ScopedAnsiCodePage codePage(1250);
  CSampleDlg dialog;
  dialog.m_strName = "a\xE8z";  // "ačz" in Windows-1250
  std::string afterTyping, afterChange;
  Run(dialog, [&](Dialog& window) {
    window.Focus(IDC_NAME);
    window.SelectAll();
    dialog.UpdateData(FALSE);
    window.Type("Z");
    afterTyping = window.Text(IDC_NAME);
    dialog.m_strName = "a\xE6z";  // "aćz": the same length, another letter
    dialog.UpdateData(FALSE);
    afterChange = window.Text(IDC_NAME);
  });
  EXPECT_EQ(afterTyping, "Z");
  EXPECT_EQ(afterChange, "aćz");
}

TEST_F(DataExchangeUpdateTest, TheBackendsUserSeesEveryWriteIntoTheControlsAndNoRead) {
  CSampleDlg dialog;
  int updates = 0;
  Run(dialog, [&](Dialog&) {
    backend.ObserveControlUpdates([&](std::chrono::steady_clock::time_point) { ++updates; });
    dialog.UpdateData(TRUE);
    dialog.UpdateData(FALSE);
    dialog.UpdateData(FALSE);  // the same texts again: no control changes, still an update
  });
  EXPECT_EQ(updates, 2);
}

}  // namespace

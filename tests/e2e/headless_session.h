// The whole application on the headless window backend, driven as an operator drives it:
// start-up, the one dialog, runs through "Call WebService", the end of the process.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>

#include "afxbackend.h"
#include "headless/afx_headless.h"
#include "support/ansi_code_page.h"
#include "support/window_driver.h"

namespace e2e {

using tarvelo_test::ReadFields;
using tarvelo_test::SoapReplyEnvelope;
using tarvelo_test::WindowFields;

// Replaces what an edit control holds, by keystrokes (or by pasting), the way an operator
// selects the old text first.
void TypeInto(afx::headless::Dialog& window, int id, std::string_view utf8);
void PasteInto(afx::headless::Dialog& window, int id, std::string_view utf8);

// Types the count, presses "Call WebService" and reads the window once the run has ended.
WindowFields CallWebService(afx::headless::Dialog& window, std::string_view times);

// The checks every run must pass whatever its outcome: both clock times as hh:mm:ss.mmm,
// both figures as seconds with three decimals, and an average of 0.000 sec without a
// successful exchange.
void ExpectWellFormedFigures(const WindowFields& fields);

class HeadlessSessionTest : public ::testing::Test {
 protected:
  HeadlessSessionTest();
  ~HeadlessSessionTest() override;

  // Runs the application once with the operator's actions inside its window; the window is
  // closed (if still open) when they return. Checks that the application ended normally,
  // that the wait cursor is gone and that every Automation string made in the session was
  // freed.
  void RunSession(const std::function<void(afx::headless::Dialog&)>& act);

  // Points the program at host:port for every exchange that starts from now on.
  static void UseServiceHost(const std::string& hostPort);

  afx::headless::Backend backend;

 private:
  afx::ScopedBackend m_useBackend{backend};
  tarvelo_test::ScopedAnsiCodePage m_windows1250{1250};
};

}  // namespace e2e

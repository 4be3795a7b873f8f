// The test dialog ready for real exchanges: the program's module registered, the HTTP
// component started, the dialog pointed at a server on 127.0.0.1, and what the window shows
// after a run read back.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "dialog_fixture.h"
#include "support/scripted_server.h"
#include "support/service_process.h"
#include "support/window_driver.h"

namespace run_test {

using tarvelo_test::FigureSeconds;
using tarvelo_test::IsClockText;
using tarvelo_test::PassingReply;
using tarvelo_test::ReadFields;
using tarvelo_test::ReplaceField;
using tarvelo_test::ReplyStep;
using tarvelo_test::SoapReplyEnvelope;
using tarvelo_test::WindowFields;

}  // namespace run_test

class RunTest : public SoapTestDlgTest {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  ~RunTest() override;

  // The reference service of this test program, started on first use.
  static tarvelo_test::ServiceProcess& Service();
  // Where the dialog's exchanges go from now on.
  static void PointAt(int port);

  // Opens the dialog, types the texts that are given, presses "Call WebService" and reads the
  // window afterwards.
  run_test::WindowFields PressCall(CSoapTestDlg& dialog, std::optional<std::string> times,
                                   std::optional<std::string> text = std::nullopt);

 private:
  static std::unique_ptr<tarvelo_test::ServiceProcess> s_service;
};

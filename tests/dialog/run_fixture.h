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

namespace run_test {

// A SOAP 1.2 reply, as the service writes it, whose result element holds value.
std::string SoapReplyBody(const std::string& value);
// One reply of the scripted server: the status and the body, then the connection closes.
tarvelo_test::ScriptStep ReplyStep(const std::string& status, const std::string& body);
// "200 OK" with a result element holding value.
tarvelo_test::ScriptStep PassingReply(const std::string& value = "Hello there");

// The window's fields as the operator reads them, UTF-8.
struct WindowFields {
  std::string request;
  std::string response;
  std::string timesDone;
  std::string begin;
  std::string end;
  std::string diff;
  std::string average;
  bool open = false;
};
WindowFields ReadFields(afx::headless::Dialog& window);

// Replaces what a field holds, as an operator who selects it all, deletes it and types; an
// empty text leaves the field empty. False when the field does not end up holding the text.
bool ReplaceField(afx::headless::Dialog& window, int id, const std::string& text);

// "HH:MM:SS.mmm"
bool IsClockText(const std::string& text);
// "N.NNN sec" (with a minus sign when negative); the seconds, or nullopt for another text.
std::optional<double> FigureSeconds(const std::string& text);

}  // namespace run_test

class RunTest : public SoapTestDlgTest {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  RunTest();
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

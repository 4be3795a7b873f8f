// The test run behind "Call WebService", against the reference service and scripted servers:
// how many exchanges it makes, what it counts, what the window shows and what it leaves.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "run_fixture.h"
#include "support/counted_bstr_memory.h"
#include "support/free_port.h"
#include "tarvelo_config.h"

namespace {

using run_test::FigureSeconds;
using run_test::IsClockText;
using run_test::WindowFields;
using tarvelo_test::ScriptedServer;

constexpr char kDefaultTextUtf8[] = "added string to hello and check code page (čćžđšČĆŽĐŠ)";
constexpr char kFailureText[] = "Exception occurred - check the network";

// Milliseconds of the day of an "HH:MM:SS.mmm" text.
long ClockMilliseconds(const std::string& text) {
  return std::stol(text.substr(0, 2)) * 3600000 + std::stol(text.substr(3, 2)) * 60000 +
         std::stol(text.substr(6, 2)) * 1000 + std::stol(text.substr(9, 3));
}

// The two clock texts and the two figures after a run of `done` successful exchanges agree
// with each other: Diff. is the time from begin to end, Average that divided by the count.
void ExpectConsistentFigures(const WindowFields& fields, int done) {
  ASSERT_TRUE(IsClockText(fields.begin)) << fields.begin;
  ASSERT_TRUE(IsClockText(fields.end)) << fields.end;
  const std::optional<double> diff = FigureSeconds(fields.diff);
  const std::optional<double> average = FigureSeconds(fields.average);
  ASSERT_TRUE(diff.has_value()) << fields.diff;
  ASSERT_TRUE(average.has_value()) << fields.average;
  const long ms =
      (ClockMilliseconds(fields.end) - ClockMilliseconds(fields.begin) + 86400000) % 86400000;
  EXPECT_EQ(std::lround(*diff * 1000), ms) << fields.begin << " .. " << fields.end;
  if (done == 0) {
    EXPECT_EQ(fields.average, "0.000 sec");
  } else {
    EXPECT_LE(*average, *diff);
    EXPECT_NEAR(*average, ms / (done * 1000.0), 0.0006);
  }
}

TEST_F(RunTest, TheDefaultRunMakesFiveCheckedExchangesWithTheService) {
  PointAt(Service().port());
  const long stringsBefore = LiveBstrCount();
  CSoapTestDlg dialog;
  const WindowFields fields = PressCall(dialog, std::nullopt);

  EXPECT_TRUE(fields.open);
  EXPECT_EQ(fields.timesDone, "5");
  EXPECT_EQ(dialog.m_nTimesDone, 5);
  ExpectConsistentFigures(fields, 5);

  const std::string srt = std::string("<srt>") + kDefaultTextUtf8 + "</srt>";
  EXPECT_EQ(fields.request.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?><soap12:Envelope", 0),
            0u)
      << fields.request;
  EXPECT_NE(fields.request.find("<simpleMethod xmlns=\"" TARVELO_SERVICE_NAMESPACE "\">" + srt),
            std::string::npos)
      << fields.request;
  EXPECT_TRUE(fields.request.ends_with("</soap12:Envelope>")) << fields.request;
  EXPECT_NE(fields.response.find(std::string("<simpleMethodResult>Hello ") + kDefaultTextUtf8 +
                                 "</simpleMethodResult>"),
            std::string::npos)
      << fields.response;

  EXPECT_TRUE(backend.MessageBoxes().empty());
  const afx::headless::WaitCursorRecord& cursor = backend.WaitCursor();
  EXPECT_EQ(cursor.begins, 1);
  EXPECT_EQ(cursor.restores, 1);
  EXPECT_EQ(cursor.ends, 1);
  EXPECT_EQ(cursor.deepest, 1);
  EXPECT_EQ(cursor.depth, 0);

  // What stays after the run: the method's holder, and no string of the credentials, the
  // bodies or the replies.
  ASSERT_NE(dialog.m_bstrMethod.WideText(), nullptr);
  EXPECT_EQ(std::u16string(dialog.m_bstrMethod.WideText()), u"POST");
  EXPECT_EQ(LiveBstrCount(), stringsBefore + 1);
}

TEST_F(RunTest, TheCountIsReadFromTheStartOfItsText) {
  struct Case {
    const char* typed;
    int exchanges;
  };
  const Case cases[] = {{"12x", 12}, {" 7", 7}, {"+3", 3}, {"1", 1},   {"-3", 0},
                        {"abc", 0},  {"", 0},   {"0", 0},  {"x12", 0}, {"- 3", 0}};
  ScriptedServer server({run_test::PassingReply()}, ScriptedServer::WhenDone::kRepeatLastStep);
  PointAt(server.port());
  std::size_t requestsBefore = 0;
  for (const Case& c : cases) {
    CSoapTestDlg dialog;
    const WindowFields fields = PressCall(dialog, std::string(c.typed));
    const std::size_t requests = server.Requests().size();
    EXPECT_EQ(requests - requestsBefore, static_cast<std::size_t>(c.exchanges))
        << "count \"" << c.typed << "\"";
    requestsBefore = requests;
    EXPECT_EQ(fields.timesDone, std::to_string(c.exchanges)) << "count \"" << c.typed << "\"";
    ExpectConsistentFigures(fields, c.exchanges);
    if (c.exchanges == 0) {
      // No exchange: both clock times are shown, Diff. is the time between them.
      EXPECT_LT(*FigureSeconds(fields.diff), 0.5) << fields.diff;
      EXPECT_TRUE(fields.response.empty()) << fields.response;
    }
  }
  EXPECT_TRUE(backend.MessageBoxes().empty());
  EXPECT_EQ(backend.WaitCursor().depth, 0);
  EXPECT_EQ(backend.WaitCursor().begins, static_cast<int>(std::size(cases)));
}

TEST_F(RunTest, TheLargestCountMakesEveryExchangeAndCountsThemAll) {
  PointAt(Service().port());
  const long stringsBefore = LiveBstrCount();
  CSoapTestDlg dialog;
  const WindowFields fields = PressCall(dialog, std::string("9999"), std::string("many"));
  EXPECT_EQ(fields.timesDone, "9999");
  EXPECT_NE(fields.response.find("<simpleMethodResult>Hello many</simpleMethodResult>"),
            std::string::npos)
      << fields.response;
  ExpectConsistentFigures(fields, 9999);
  EXPECT_TRUE(backend.MessageBoxes().empty());
  EXPECT_EQ(backend.WaitCursor().depth, 0);
  EXPECT_EQ(LiveBstrCount(), stringsBefore + 1);  // the method's holder alone
}

TEST_F(RunTest, AFailureInTheMiddleEndsTheRunAndOnlyTheSuccessesCount) {
  struct Case {
    const char* name;
    std::vector<tarvelo_test::ScriptStep> script;
    std::size_t requests;     // what reached the server (at least)
    std::size_t boxes;        // message boxes shown
    const char* responseHas;  // in the response field after the run
  };
  const Case cases[] = {
      {"the server stops listening after three replies",
       {run_test::PassingReply("Hello 1"), run_test::PassingReply("Hello 2"),
        run_test::PassingReply("Hello 3")},
       3,
       1,
       "<simpleMethodResult>Hello 3</simpleMethodResult>"},
      {"the fourth reply carries no result",
       {run_test::PassingReply("Hello 1"), run_test::PassingReply("Hello 2"),
        run_test::PassingReply("Hello 3"),
        run_test::ReplyStep("200 OK", "<soap:Envelope><soap:Body/></soap:Envelope>")},
       4,
       0,
       "<soap:Envelope><soap:Body/></soap:Envelope>"},
      {"the fourth result is not a greeting",
       {run_test::PassingReply("Hello 1"), run_test::PassingReply("Hello 2"),
        run_test::PassingReply("Hello 3"), run_test::PassingReply("Goodbye")},
       4,
       0,
       "<simpleMethodResult>Goodbye</simpleMethodResult>"},
  };
  for (const Case& c : cases) {
    backend.ClearMessageBoxes();
    ScriptedServer server(c.script);
    PointAt(server.port());
    CSoapTestDlg dialog;
    const WindowFields fields = PressCall(dialog, std::string("8"));
    EXPECT_EQ(fields.timesDone, "3") << c.name;
    // A connection made while the server is closing its listener may still be taken, and is
    // then closed without a reply: the same failed exchange for the client.
    EXPECT_GE(server.Requests().size(), c.requests) << c.name;
    EXPECT_LE(server.Requests().size(), std::size_t{4}) << c.name;
    EXPECT_EQ(backend.MessageBoxes().size(), c.boxes) << c.name;
    EXPECT_NE(fields.response.find(c.responseHas), std::string::npos)
        << c.name << ": " << fields.response;
    ExpectConsistentFigures(fields, 3);
    EXPECT_TRUE(fields.open) << c.name;
    EXPECT_EQ(backend.WaitCursor().depth, 0) << c.name;
  }
}

TEST_F(RunTest, ARefusedConnectionShowsOneMessageBoxAndKeepsTheEarlierReply) {
  PointAt(Service().port());
  CSoapTestDlg dialog;
  WindowFields first, second;
  Run(dialog, [&](Dialog& window) {
    EXPECT_TRUE(run_test::ReplaceField(window, IDC_TIMES, "1"));
    EXPECT_TRUE(run_test::ReplaceField(window, IDC_TEXT, "first"));
    window.Click(IDOK);
    first = run_test::ReadFields(window);

    PointAt(tarvelo_test::FreePort());  // nothing listens there
    EXPECT_TRUE(run_test::ReplaceField(window, IDC_TIMES, "5"));
    EXPECT_TRUE(run_test::ReplaceField(window, IDC_TEXT, "second"));
    window.Click(IDOK);
    second = run_test::ReadFields(window);
  });
  ASSERT_EQ(first.timesDone, "1");
  EXPECT_NE(first.response.find("Hello first"), std::string::npos) << first.response;

  ASSERT_EQ(backend.MessageBoxes().size(), 1u);
  const afx::headless::MessageBoxRecord& box = backend.MessageBoxes()[0];
  EXPECT_EQ(box.text, kFailureText);
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.type, 0u);
  EXPECT_EQ(second.timesDone, "0");
  EXPECT_EQ(second.response, first.response);
  EXPECT_NE(second.request.find("<srt>second</srt>"), std::string::npos) << second.request;
  ExpectConsistentFigures(second, 0);
  EXPECT_TRUE(second.open);
  const afx::headless::WaitCursorRecord& cursor = backend.WaitCursor();
  EXPECT_EQ(cursor.begins, 2);
  EXPECT_EQ(cursor.restores, 2);
  EXPECT_EQ(cursor.ends, 2);
  EXPECT_EQ(cursor.depth, 0);
}

TEST_F(RunTest, AnErrorStatusWithABodyFailsTheCheckWithoutAMessageBox) {
  const std::string fault =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
      "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body><soap:Fault><soap:Code>"
      "<soap:Value>soap:Receiver</soap:Value></soap:Code><soap:Reason><soap:Text "
      "xml:lang=\"en\">Server was unable to process request.</soap:Text></soap:Reason>"
      "</soap:Fault></soap:Body></soap:Envelope>";
  {
    SCOPED_TRACE("a SOAP fault with status 500");
    ScriptedServer server({run_test::ReplyStep("500 Internal Server Error", fault)},
                          ScriptedServer::WhenDone::kRepeatLastStep);
    PointAt(server.port());
    CSoapTestDlg dialog;
    const WindowFields fields = PressCall(dialog, std::string("5"));
    EXPECT_EQ(fields.response, fault);
    EXPECT_EQ(fields.timesDone, "0");
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_STREQ(dialog.m_szError, "Error begin search params not found ?");
  }
  {
    SCOPED_TRACE("the service refuses the credentials with 401");
    tarvelo_test::ServiceProcess strict({"--password", "not-the-one"});
    ASSERT_TRUE(strict.running()) << strict.error();
    PointAt(strict.port());
    CSoapTestDlg dialog;
    const WindowFields fields = PressCall(dialog, std::string("5"));
    EXPECT_EQ(fields.response, "The user name or the password is wrong\n");
    EXPECT_EQ(fields.timesDone, "0");
  }
  EXPECT_TRUE(backend.MessageBoxes().empty());
  EXPECT_EQ(backend.WaitCursor().depth, 0);
}

TEST_F(RunTest, AfterARunTheWindowStaysUsableAndTheCredentialsAreFreed) {
  PointAt(Service().port());
  CSoapTestDlg dialog;
  long beforeFirst = 0, afterFirst = 0, beforeSecond = 0, afterSecond = 0;
  WindowFields first, second;
  bool typedAfter = false;
  Run(dialog, [&](Dialog& window) {
    beforeFirst = LiveBstrCount();
    window.Click(IDOK);
    afterFirst = LiveBstrCount();
    first = run_test::ReadFields(window);

    typedAfter = run_test::ReplaceField(window, IDC_TEXT, "again") &&
                 run_test::ReplaceField(window, IDC_TIMES, "2");
    beforeSecond = LiveBstrCount();
    window.Press(Key::Enter);
    afterSecond = LiveBstrCount();
    second = run_test::ReadFields(window);
  });
  EXPECT_TRUE(first.open);
  EXPECT_TRUE(typedAfter);
  EXPECT_EQ(first.timesDone, "5");
  EXPECT_EQ(second.timesDone, "2");
  EXPECT_NE(second.response.find("<simpleMethodResult>Hello again</simpleMethodResult>"),
            std::string::npos)
      << second.response;
  EXPECT_NE(second.request.find("<srt>again</srt>"), std::string::npos);
  // The first run leaves only the method's holder; the second replaces it and leaves nothing.
  EXPECT_EQ(afterFirst, beforeFirst + 1);
  EXPECT_EQ(afterSecond, beforeSecond);
  EXPECT_EQ(dialog.m_varBody.bstrVal, nullptr);
  EXPECT_EQ(dialog.m_bstrResponse.WideText(), nullptr);
  EXPECT_TRUE(backend.MessageBoxes().empty());
  EXPECT_EQ(backend.WaitCursor().ends, 2);
  EXPECT_EQ(backend.WaitCursor().depth, 0);
}

}  // namespace

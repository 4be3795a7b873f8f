// Bad input at the window: markup characters, letters outside the ANSI code page, texts past
// the limit, odd counts, runs in a row and ways to close, each through the whole application.
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "e2e/headless_session.h"
#include "res/resource.h"
#include "support/counted_bstr_memory.h"
#include "support/http_text.h"
#include "support/scripted_server.h"
#include "support/service_process.h"

namespace e2e {
namespace {

using afx::headless::Dialog;
using afx::headless::Key;
using tarvelo_test::HttpReply;
using tarvelo_test::ScriptedServer;
using tarvelo_test::ScriptStep;
using tarvelo_test::ServiceProcess;

std::string PassingReply(std::string_view result) {
  return HttpReply("200 OK", {"Content-Type: application/soap+xml; charset=utf-8"},
                   SoapReplyEnvelope(result));
}

std::string HostOf(const ScriptedServer& server) {
  return "127.0.0.1:" + std::to_string(server.port());
}

// count characters taken in turn from pattern.
std::string Cycle(std::string_view pattern, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += pattern[i % pattern.size()];
  return text;
}

// The text of the first element of that local name, read as XML; nullopt when the text is not
// well-formed or has no such element.
std::optional<std::string> ElementText(const std::string& xml, const char* localName) {
  pugi::xml_document document;
  if (!document.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8)) {
    return std::nullopt;
  }
  const std::string query = std::string("//*[local-name()='") + localName + "']";
  const pugi::xpath_node found = document.select_node(query.c_str());
  if (!found) return std::nullopt;
  return std::string(found.node().text().get());
}

// ---- Texts the operator gives, and what reaches the service

struct TextCase {
  const char* name;
  std::string given;  // UTF-8
  bool pasted;
  std::string held;       // what the field holds: the given text up to the limit
  std::string read;       // UTF-8: what the run reads from it, in the ANSI code page
  const char* srtMarkup;  // how the text stands in the request, when worth spelling out
};

void PrintTo(const TextCase& value, std::ostream* out) {
  *out << value.name;
}

class TextRoundTripTest : public HeadlessSessionTest,
                          public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextRoundTripTest, TheServiceReceivesExactlyWhatTheWindowRead) {
  const TextCase& c = GetParam();
  ServiceProcess service;
  if (!ServiceProcess::Available()) GTEST_SKIP() << service.error();
  ASSERT_TRUE(service.running()) << service.error();
  UseServiceHost(service.HostPort());

  std::string shownBeforeRun;
  WindowFields after;
  RunSession([&](Dialog& window) {
    if (c.pasted) {
      PasteInto(window, IDC_TEXT, c.given);
    } else {
      TypeInto(window, IDC_TEXT, c.given);
    }
    shownBeforeRun = window.Text(IDC_TEXT);
    after = CallWebService(window, "1");
  });

  EXPECT_EQ(shownBeforeRun, c.held);
  // The run writes its reading back only where it differs from what the field holds as ANSI
  // text, so the letters outside the code page stay on the screen.
  EXPECT_EQ(after.text, c.held);
  EXPECT_TRUE(backend.MessageBoxes().empty());
  EXPECT_EQ(after.timesDone, "1");

  EXPECT_EQ(ElementText(after.request, "srt"), c.read) << after.request;
  if (c.srtMarkup) {
    EXPECT_NE(after.request.find(std::string("<srt>") + c.srtMarkup + "</srt>"), std::string::npos)
        << after.request;
  }
  EXPECT_EQ(ElementText(after.response, "simpleMethodResult"), "Hello " + c.read) << after.response;
}

const std::string kMarkupCharacters = Cycle("&<>\"'", 128);
const std::string kMarkupInText = Cycle("Tom & Jerry <\"'> ", 200);

INSTANTIATE_TEST_SUITE_P(
    Texts, TextRoundTripTest,
    ::testing::Values(
        TextCase{"MarkupAndQuotes", "Tom & Jerry <\"'> &amp; </srt>", false,
                 "Tom & Jerry <\"'> &amp; </srt>", "Tom & Jerry <\"'> &amp; </srt>",
                 "Tom &amp; Jerry &lt;\"'&gt; &amp;amp; &lt;/srt&gt;"},
        TextCase{"OnlyMarkupCharacters128", kMarkupCharacters, false, kMarkupCharacters,
                 kMarkupCharacters, nullptr},
        TextCase{"TypedPastTheLimit", kMarkupInText, false, kMarkupInText.substr(0, 128),
                 kMarkupInText.substr(0, 128), nullptr},
        TextCase{"PastedPastTheLimit", kMarkupInText, true, kMarkupInText.substr(0, 128),
                 kMarkupInText.substr(0, 128), nullptr},
        // Greek and an emoji are not in code page 1250: the run reads each as "?"; the
        // letters of 1250 stay.
        TextCase{"LettersOutsideTheCodePage", "Ωμέγα 😀 čaj & <b>", false, "Ωμέγα 😀 čaj & <b>",
                 "????? ? čaj & <b>", "????? ? čaj &amp; &lt;b&gt;"},
        TextCase{"PastedLettersOutsideTheCodePage", "αβγ😀😀 žđ", true, "αβγ😀😀 žđ", "????? žđ",
                 nullptr},
        // The last place left cannot take both halves of the emoji: it stays out.
        TextCase{"EmojiAcrossTheLimitTyped", std::string(127, 'a') + "😀", false,
                 std::string(127, 'a'), std::string(127, 'a'), nullptr},
        TextCase{"EmojiAcrossTheLimitPasted", std::string(127, 'a') + "😀b", true,
                 std::string(127, 'a'), std::string(127, 'a'), nullptr},
        TextCase{"BlanksAtTheEnds", "  a & b  ", false, "  a & b  ", "  a & b  ", "  a &amp; b  "},
        TextCase{"Empty", "", false, "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Count texts

class CountTextTest : public HeadlessSessionTest {};

TEST_F(CountTextTest, TheCountIsReadAsItsLeadingNumber) {
  struct Case {
    const char* typed;
    int exchanges;
  };
  const Case cases[] = {{"12x", 12}, {" 7", 7}, {"+3", 3}, {"-3", 0},
                        {"abc", 0},  {"", 0},   {"0", 0},  {"1e3", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("count \"") + c.typed + "\"");
    ScriptedServer server({ScriptStep::Reply(PassingReply("Hello count"))},
                          ScriptedServer::WhenDone::kRepeatLastStep);
    UseServiceHost(HostOf(server));
    backend.ClearMessageBoxes();
    WindowFields after;
    RunSession([&](Dialog& window) { after = CallWebService(window, c.typed); });

    EXPECT_EQ(after.times, c.typed);
    EXPECT_EQ(after.timesDone, std::to_string(c.exchanges));
    EXPECT_EQ(server.Requests().size(), static_cast<std::size_t>(c.exchanges));
    EXPECT_TRUE(backend.MessageBoxes().empty());
    ExpectWellFormedFigures(after);
    // Without an exchange the response field keeps what it had: nothing yet.
    EXPECT_EQ(after.response.empty(), c.exchanges == 0) << after.response;
  }
}

// ---- Runs in a row

class RunsInARowTest : public HeadlessSessionTest {};

TEST_F(RunsInARowTest, TheSecondRunsFiguresReplaceTheFirsts) {
  ScriptedServer server({ScriptStep::Reply(PassingReply("Hello first")),
                         ScriptStep::Reply(PassingReply("Hello first")),
                         ScriptStep::Reply(PassingReply("Hello second")),
                         ScriptStep::Reply(PassingReply("Hello second")),
                         ScriptStep::Reply(PassingReply("Hello second"))});
  UseServiceHost(HostOf(server));
  WindowFields first, second;
  long stringsAfterFirst = 0, stringsAfterSecond = 0;
  RunSession([&](Dialog& window) {
    first = CallWebService(window, "2");
    stringsAfterFirst = LiveBstrCount();
    TypeInto(window, IDC_TIMES, "3");
    window.Click(IDOK);
    second = ReadFields(window);
    stringsAfterSecond = LiveBstrCount();
  });

  EXPECT_EQ(first.timesDone, "2");
  EXPECT_EQ(ElementText(first.response, "simpleMethodResult"), "Hello first");
  EXPECT_EQ(second.timesDone, "3");
  EXPECT_EQ(ElementText(second.response, "simpleMethodResult"), "Hello second");
  EXPECT_EQ(second.request, first.request);
  ExpectWellFormedFigures(first);
  ExpectWellFormedFigures(second);
  const bool crossedMidnight = second.begin < first.begin;
  if (!crossedMidnight) {
    EXPECT_GE(second.begin, first.end) << "the second run's begin time replaces the first's";
    EXPECT_NE(second.begin, first.begin);
  }
  EXPECT_EQ(server.Requests().size(), 5u);
  EXPECT_EQ(stringsAfterSecond, stringsAfterFirst) << "a second run must not add strings";
  EXPECT_TRUE(backend.MessageBoxes().empty());
}

// ---- Closing

class ClosingTest : public HeadlessSessionTest {};

TEST_F(ClosingTest, EscapeAndACloseRequestEndTheApplication) {
  struct Case {
    const char* how;
    bool runFirst;
    std::function<void(Dialog&)> close;
  };
  const Case cases[] = {
      {"Escape on a fresh window", false, [](Dialog& window) { window.Press(Key::Escape); }},
      {"a close request on a fresh window", false, [](Dialog& window) { window.Close(); }},
      {"Escape after a run", true, [](Dialog& window) { window.Press(Key::Escape); }},
      {"a close request after a run", true, [](Dialog& window) { window.Close(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    ScriptedServer server({ScriptStep::Reply(PassingReply("Hello close"))},
                          ScriptedServer::WhenDone::kRepeatLastStep);
    UseServiceHost(HostOf(server));
    bool openAfter = true;
    std::string timesDone;
    RunSession([&](Dialog& window) {
      if (c.runFirst) timesDone = CallWebService(window, "2").timesDone;
      c.close(window);
      openAfter = window.IsOpen();
    });
    EXPECT_FALSE(openAfter);
    EXPECT_EQ(server.Requests().size(), c.runFirst ? 2u : 0u);
    if (c.runFirst) {
      EXPECT_EQ(timesDone, "2");
    }
    EXPECT_TRUE(backend.MessageBoxes().empty());
  }
}

}  // namespace
}  // namespace e2e

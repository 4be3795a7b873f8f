// The command line of tarvelo-cli: what it takes, the field limits in characters, and what
// it refuses.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(ParseCliOptions, TakesEveryOption) {
  const CliParseResult none = ParseCliOptions({});
  EXPECT_EQ(none.error, "");
  EXPECT_FALSE(none.options.text || none.options.times || none.options.serviceHost);
  EXPECT_FALSE(none.options.json || none.options.help || none.options.version);
  EXPECT_FALSE(none.options.stats || none.options.noProgress);

  const CliParseResult all =
      ParseCliOptions({"--text", "Tom & Jerry", "--times", "12x", "--service-host",
                       "127.0.0.1:8081", "--json", "--stats", "--no-progress"});
  EXPECT_EQ(all.error, "");
  EXPECT_EQ(all.options.text.value_or("?"), "Tom & Jerry");
  EXPECT_EQ(all.options.times.value_or("?"), "12x");
  EXPECT_EQ(all.options.serviceHost.value_or("?"), "127.0.0.1:8081");
  EXPECT_TRUE(all.options.json && all.options.stats && all.options.noProgress);
  EXPECT_FALSE(all.options.help);

  // Empty values are values: they clear the field.
  const CliParseResult empty = ParseCliOptions({"--text", "", "--times", ""});
  EXPECT_EQ(empty.error, "");
  EXPECT_EQ(empty.options.text.value_or("?"), "");
  EXPECT_EQ(empty.options.times.value_or("?"), "");

  EXPECT_TRUE(ParseCliOptions({"--help"}).options.help);
  EXPECT_TRUE(ParseCliOptions({"-h"}).options.help);
  EXPECT_TRUE(ParseCliOptions({"--version"}).options.version);
}

TEST(ParseCliOptions, TheFieldLimitsCountCharactersNotBytes) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    bool good;
  };
  const Case cases[] = {
      {"128 ASCII letters", {"--text", std::string(128, 'a')}, true},
      {"129 ASCII letters", {"--text", std::string(129, 'a')}, false},
      {"128 two-byte letters", {"--text", Repeat("č", 128)}, true},
      {"129 two-byte letters", {"--text", Repeat("č", 129)}, false},
      {"128 three-byte signs", {"--text", Repeat("€", 128)}, true},
      {"127 letters and one three-byte sign", {"--text", std::string(127, 'a') + "€"}, true},
      {"4 digits", {"--times", "9999"}, true},
      {"5 digits", {"--times", "12345"}, false},
      {"4 two-byte letters as a count", {"--times", "čćžš"}, true},
      {"5 two-byte letters as a count", {"--times", "čćžšđ"}, false},
  };
  for (const Case& c : cases) {
    const CliParseResult result = ParseCliOptions(c.args);
    EXPECT_EQ(result.error.empty(), c.good) << c.name << ": " << result.error;
  }
  EXPECT_EQ(ParseCliOptions({"--text", Repeat("č", 129)}).error,
            "--text has 129 characters; the text field takes at most 128");
  EXPECT_EQ(ParseCliOptions({"--times", "12345"}).error,
            "--times has 5 characters; the count field takes at most 4");
}

TEST(ParseCliOptions, RefusesWhatTheFieldsCannotHold) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    const char* error;  // the start of the message
  };
  const Case cases[] = {
      {"a Windows-1250 byte", {"--text", "\xE8"}, "--text is not valid UTF-8"},
      {"a line break", {"--text", "two\nlines"}, "--text cannot hold line breaks"},
      {"a tab", {"--text", "a\tb"}, "--text cannot hold line breaks"},
      {"a delete character", {"--text", "a\x7F"}, "--text cannot hold line breaks"},
      {"bad UTF-8 in the count", {"--times", "1\xC4"}, "--times cannot hold"},
      {"a line break in the count", {"--times", "1\n2"}, "--times cannot hold"},
  };
  for (const Case& c : cases) {
    const CliParseResult result = ParseCliOptions(c.args);
    EXPECT_EQ(result.error.rfind(c.error, 0), 0u) << c.name << ": " << result.error;
  }
  // A four-byte character is a character like any other.
  EXPECT_EQ(ParseCliOptions({"--text", "\xF0\x9F\x98\x80"}).error, "");
}

TEST(ParseCliOptions, RefusesUnknownOptionsMissingValuesAndBadHosts) {
  struct Case {
    std::vector<std::string> args;
    const char* error;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option: --bogus"},
      {{"-x"}, "unknown option: -x"},
      {{"hello"}, "unknown option: hello"},
      {{"--times=5"}, "unknown option: --times=5"},
      {{"--json", "--TEXT", "a"}, "unknown option: --TEXT"},
      {{"--text"}, "--text needs a value"},
      {{"--json", "--times"}, "--times needs a value"},
      {{"--service-host"}, "--service-host needs a value"},
      {{"--service-host", ""}, "--service-host takes HOST or HOST:PORT"},
      {{"--service-host", "http://127.0.0.1"}, "--service-host takes HOST or HOST:PORT"},
      {{"--service-host", "127.0.0.1/Service.asmx"}, "--service-host takes HOST or HOST:PORT"},
      {{"--service-host", "user@127.0.0.1"}, "--service-host takes HOST or HOST:PORT"},
      {{"--service-host", "local host"}, "--service-host takes HOST or HOST:PORT"},
  };
  for (const Case& c : cases) {
    const CliParseResult result = ParseCliOptions(c.args);
    EXPECT_EQ(result.error.rfind(c.error, 0), 0u)
        << testing::PrintToString(c.args) << ": " << result.error;
  }
  // Nothing after an error is read: an unknown option is reported before a later missing value.
  EXPECT_EQ(ParseCliOptions({"--nope", "--text"}).error, "unknown option: --nope");
}

}  // namespace

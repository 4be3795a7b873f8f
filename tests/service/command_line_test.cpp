#include "service/command_line.h"

#include <gtest/gtest.h>

namespace tarvelo::service {
namespace {

std::variant<CommandLine, UsageError> parse(std::vector<std::string_view> words) {
  return parse_command_line(words);
}

TEST(CommandLine, DefaultsMatchTheDeployment) {
  const auto parsed = parse({});
  ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed));
  const CommandLine& line = std::get<CommandLine>(parsed);
  EXPECT_EQ(line.action, CommandAction::serve);
  EXPECT_EQ(line.options.host, "127.0.0.1");
  EXPECT_EQ(line.options.port, 8080);
  EXPECT_EQ(line.options.settings.user, "tolvex");
  EXPECT_EQ(line.options.settings.password, "kqv=47");
  EXPECT_EQ(line.options.settings.service_namespace, TARVELO_SERVICE_NAMESPACE);
  EXPECT_EQ(line.options.settings.max_body, 1048576u);
  EXPECT_GE(line.options.threads, 8u);
  EXPECT_EQ(line.options.delay.count(), 0);
  EXPECT_FALSE(line.options.access_log);
}

TEST(CommandLine, TakesEveryOptionInBothSpellings) {
  const auto parsed =
      parse({"--listen", "0.0.0.0:0", "--user=anna", "--password", "p=w:d", "--namespace=urn:x",
             "--threads", "3", "--max-body=4096", "--delay-ms", "250", "--access-log"});
  ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed)) << std::get<UsageError>(parsed).message;
  const ServerOptions& o = std::get<CommandLine>(parsed).options;
  EXPECT_EQ(o.host, "0.0.0.0");
  EXPECT_EQ(o.port, 0);
  EXPECT_EQ(o.settings.user, "anna");
  EXPECT_EQ(o.settings.password, "p=w:d");
  EXPECT_EQ(o.settings.service_namespace, "urn:x");
  EXPECT_EQ(o.threads, 3u);
  EXPECT_EQ(o.settings.max_body, 4096u);
  EXPECT_EQ(o.delay.count(), 250);
  EXPECT_TRUE(o.access_log);
}

TEST(CommandLine, ListenAcceptsNamesAndBracketedIpv6) {
  struct Row {
    const char* value;
    const char* host;
    int port;
  };
  for (const Row& row : {Row{"localhost:9000", "localhost", 9000}, Row{"[::1]:0", "::1", 0},
                         Row{"127.0.0.1:65535", "127.0.0.1", 65535}}) {
    const auto parsed = parse({"--listen", row.value});
    ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed)) << row.value;
    EXPECT_EQ(std::get<CommandLine>(parsed).options.host, row.host);
    EXPECT_EQ(std::get<CommandLine>(parsed).options.port, row.port);
  }
}

TEST(CommandLine, HelpAndVersionWin) {
  EXPECT_EQ(std::get<CommandLine>(parse({"--threads", "2", "--help"})).action, CommandAction::help);
  EXPECT_EQ(std::get<CommandLine>(parse({"-h"})).action, CommandAction::help);
  EXPECT_EQ(std::get<CommandLine>(parse({"--version"})).action, CommandAction::version);
  EXPECT_NE(usage_text().find("--listen HOST:PORT"), std::string::npos);
  EXPECT_EQ(version_text().rfind("tarvelo-service ", 0), 0u);
}

TEST(CommandLine, RefusesBadUsageWithAReason) {
  struct Row {
    std::vector<std::string_view> words;
    const char* reason_part;
  };
  for (const Row& row : {
           Row{{"--bogus"}, "unknown option --bogus"},
           Row{{"serve"}, "unknown option serve"},
           Row{{"--listen"}, "--listen needs a value"},
           Row{{"--listen", "8080"}, "HOST:PORT"},
           Row{{"--listen", "127.0.0.1:"}, "HOST:PORT"},
           Row{{"--listen", ":80"}, "HOST:PORT"},
           Row{{"--listen", "127.0.0.1:65536"}, "HOST:PORT"},
           Row{{"--listen", "::1:80"}, "HOST:PORT"},
           Row{{"--threads", "0"}, "--threads wants"},
           Row{{"--threads", "many"}, "--threads wants"},
           Row{{"--threads=1025"}, "--threads wants"},
           Row{{"--max-body", "-5"}, "--max-body wants"},
           Row{{"--delay-ms", "60001"}, "--delay-ms wants"},
           Row{{"--user", "a:b"}, "no ':'"},
           Row{{"--password", "a\nb"}, "no control characters"},
           Row{{"--namespace", ""}, "--namespace wants"},
           Row{{"--namespace", "urn:a b"}, "--namespace wants"},
           Row{{"--help=yes"}, "takes no value"},
       }) {
    const auto parsed = parse(row.words);
    ASSERT_TRUE(std::holds_alternative<UsageError>(parsed)) << row.words.front();
    EXPECT_NE(std::get<UsageError>(parsed).message.find(row.reason_part), std::string::npos)
        << std::get<UsageError>(parsed).message;
  }
}

}  // namespace
}  // namespace tarvelo::service

// The command line: how it is written from the arguments, its tail and the show state.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(CommandLineTailTest, TheProgramNameAndTheBlanksAfterItAreSkipped) {
  struct Case {
    const char* line;
    const char* tail;
  };
  const Case cases[] = {
      {"tarvelo", ""},
      {"", ""},
      {"tarvelo -platform xcb", "-platform xcb"},
      {"tarvelo \t  x y ", "x y "},  // blanks and tabs after the name, not at the end
      {"\"C:\\Program Files\\Tarvelo.exe\" -a", "-a"},
      {"\"quoted\"next word", "next word"},  // the closing quote ends the name
      {"\"never closed -a", ""},
      {"\"\" arg", "arg"},
      {"name\x01\x1F\x20\x21", "\x21"},  // codes 1 to 32 are skipped, 33 is not
      {"na\xC4\x8Dme x", "x"},           // bytes above 127 belong to the name
  };
  for (const Case& c : cases) {
    std::vector<char> line(c.line, c.line + std::strlen(c.line) + 1);
    const char* tail = CommandLineTail(line.data());
    EXPECT_STREQ(tail, c.tail) << "line: " << c.line;
    EXPECT_GE(tail, line.data());
    EXPECT_LE(tail, line.data() + line.size() - 1);
  }
}

TEST(CommandLineTest, ArgumentsAreQuotedSoThatTheyReadBackTheSame) {
  struct Case {
    std::vector<const char*> arguments;
    const char* line;
  };
  const Case cases[] = {
      {{"tarvelo"}, "tarvelo"},
      {{"tarvelo", "-style", "fusion"}, "tarvelo -style fusion"},
      {{"/opt/my apps/tarvelo", "a b"}, "\"/opt/my apps/tarvelo\" \"a b\""},
      {{"tarvelo", ""}, "tarvelo \"\""},
      {{"tarvelo", "say \"hi\""}, "tarvelo \"say \\\"hi\\\"\""},
      {{"tarvelo", "dir\\ with space\\"}, "tarvelo \"dir\\ with space\\\\\""},
      {{"tarvelo", "back\\\\slash"}, "tarvelo back\\\\slash"},
      {{}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildCommandLine(static_cast<int>(c.arguments.size()), c.arguments.data()), c.line);
  }
}

TEST(CommandLineTest, TheShowStateIsTheStartupInformationsOnlyWhenItSaysSo) {
  STARTUPINFOA info{};
  info.wShowWindow = SW_SHOWMINIMIZED;
  EXPECT_EQ(StartupShowState(info), SW_SHOWDEFAULT);
  info.dwFlags = STARTF_USESHOWWINDOW;
  EXPECT_EQ(StartupShowState(info), SW_SHOWMINIMIZED);
  info.wShowWindow = SW_HIDE;
  EXPECT_EQ(StartupShowState(info), SW_HIDE);
  // A Linux process carries no show state.
  GetStartupInfoA(&info);
  EXPECT_EQ(StartupShowState(info), SW_SHOWDEFAULT);
}

}  // namespace

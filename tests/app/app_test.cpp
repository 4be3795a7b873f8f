// The application: start-up with and without a socket layer, and the command line, whose tail
// is handed to the framework and never read.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "afxbackend.h"
#include "app/command_line.h"
#include "app/startup.h"
#include "headless/afx_headless.h"
#include "support/socket_layer.h"

namespace {

class SoapTestAppTest : public ::testing::Test {
 protected:
  afx::headless::Backend backend;
  afx::ScopedBackend useBackend{backend};
};

TEST_F(SoapTestAppTest, WithoutSocketsOnlyTheMessageIsShownAndNoWindow) {
  const char* argv[] = {"tarvelo"};
  tarvelo_test::SetSocketLayerReady(false);
  const int exitCode = RunApplication(1, argv);
  tarvelo_test::SetSocketLayerReady(true);
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(backend.DialogsOpened(), 0);
  ASSERT_EQ(backend.MessageBoxes().size(), 1u);
  EXPECT_EQ(backend.MessageBoxes()[0].text, "Windows sockets initialization failed.");
  EXPECT_EQ(backend.MessageBoxes()[0].caption, "Tarvelo");
  EXPECT_EQ(backend.MessageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}

TEST(CommandLineTail, TheProgramNameAndTheBlanksAfterItAreSkipped) {
  const std::pair<const char*, const char*> cases[] = {
      {"tarvelo \t  x y ", "x y "},  // blanks and tabs after the name, not at the end
      {"\"C:\\Program Files\\Tarvelo.exe\" -a", "-a"},
      {"\"never closed -a", ""},
      {"name\x01\x1F\x20\x21", "\x21"},  // codes 1 to 32 are skipped, 33 is not
      {"na\xC4\x8Dme x", "x"},           // bytes above 127 belong to the name
  };
  for (const auto& [text, tail] : cases) {
    std::vector<char> line(text, text + std::strlen(text) + 1);
    EXPECT_STREQ(CommandLineTail(line.data()), tail) << "line: " << text;
  }
}

}  // namespace

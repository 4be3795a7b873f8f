// The window program on the real platform, driven from outside: its dialog on user32's dialog
// manager, the system's XML HTTP request component, and the service ends of
// tarvelo-windows-peer on the Linux side. The same window texts, figures and message box as
// the Linux tests expect for the same behaviours of the service.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tarvelo_config.h"
#include "window_program.h"

namespace {

// The dialog's default text: the ten Croatian letters are its Windows-1250 bytes.
const std::wstring kDefaultText =
    L"added string to hello and check code page (\u010D\u0107\u017E\u0111\u0161\u010C\u0106"
    L"\u017D\u0110\u0160)";
const std::wstring kFailureText = L"Exception occurred - check the network";

std::string PeerEnd(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr ? value : "";
}

// The window program, built next to this test program.
std::wstring TestProgram() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring program = path;
  return program.substr(0, program.find_last_of(L"\\/") + 1) + TARVELO_TEST_PROGRAM;
}

bool IsClock(const std::wstring& text) {
  return std::regex_match(text, std::wregex(LR"(\d{2}:\d{2}:\d{2}\.\d{3})"));
}

bool IsFigure(const std::wstring& text) {
  return std::regex_match(text, std::wregex(LR"(\d+\.\d{3} sec)"));
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (PeerEnd("TARVELO_TEST_SERVICE").empty())
      GTEST_SKIP() << "run under tarvelo-windows-peer, which provides the service ends";
  }
};

// A run of three with the default text, where the ANSI code page is Windows-1250
// (LC_ALL=hr_HR.UTF-8 under Wine): its letters reach the service, and come back, as themselves.
TEST_F(WindowTest, ThreeCheckedExchangesWithTheDefaultTextThenExit) {
  if (GetACP() != 1250) GTEST_SKIP() << "the ANSI code page is " << GetACP();
  WindowProgram program(TestProgram(), PeerEnd("TARVELO_TEST_SERVICE"));
  ASSERT_TRUE(program.Open());
  EXPECT_EQ(program.Caption(), L"Tarvelo - " TARVELO_SERVICE_HOST "/Service.asmx");
  EXPECT_EQ(program.Text(IDC_TEXT), kDefaultText);
  EXPECT_EQ(program.ControlMessage(IDC_TEXT, EM_GETLIMITTEXT), 128);
  EXPECT_EQ(program.ControlMessage(IDC_TIMES, EM_GETLIMITTEXT), 4);
  program.SetText(IDC_TIMES, L"3");
  EXPECT_TRUE(program.Press(IDOK).empty());

  EXPECT_EQ(program.Text(IDC_TIMES_DONE), L"3");
  EXPECT_TRUE(IsClock(program.Text(IDC_BEGIN))) << program.Text(IDC_BEGIN);
  EXPECT_TRUE(IsClock(program.Text(IDC_END))) << program.Text(IDC_END);
  EXPECT_TRUE(IsFigure(program.Text(IDC_DIFF))) << program.Text(IDC_DIFF);
  EXPECT_TRUE(IsFigure(program.Text(IDC_AVERAGE))) << program.Text(IDC_AVERAGE);
  EXPECT_NE(program.Text(IDC_REQUEST).find(L"<srt>" + kDefaultText + L"</srt>"), std::wstring::npos)
      << program.Text(IDC_REQUEST);
  EXPECT_NE(program.Text(IDC_RESPONSE).find(L"<simpleMethodResult>Hello " + kDefaultText + L"<"),
            std::wstring::npos)
      << program.Text(IDC_RESPONSE);
  EXPECT_TRUE(program.SaveScreenshot("test-output/tarvelo-window-after-run.bmp"));

  program.Press(IDCANCEL);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

struct FailedRun {
  const char* name;
  const char* end;  // the peer's variable naming where the exchanges go
  bool messageBox;
  const char* response;  // the start of what the response box shows
  UINT closing;          // how the window is closed afterwards: a key or WM_CLOSE
};

class FailedRunTest : public WindowTest, public ::testing::WithParamInterface<FailedRun> {};

TEST_P(FailedRunTest, StopsAtTheFirstExchangeWithTheFiguresOfNone) {
  const FailedRun& run = GetParam();
  WindowProgram program(TestProgram(), PeerEnd(run.end));
  ASSERT_TRUE(program.Open());
  const std::vector<MessageBoxSeen> boxes = program.Press(IDOK);

  if (run.messageBox) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kFailureText);
    EXPECT_EQ(boxes[0].caption, L"Error");
  } else {
    EXPECT_TRUE(boxes.empty());
  }
  EXPECT_EQ(program.Text(IDC_TIMES_DONE), L"0");
  EXPECT_TRUE(IsClock(program.Text(IDC_END))) << program.Text(IDC_END);
  EXPECT_TRUE(IsFigure(program.Text(IDC_DIFF))) << program.Text(IDC_DIFF);
  EXPECT_EQ(program.Text(IDC_AVERAGE), L"0.000 sec");
  const std::wstring response = program.Text(IDC_RESPONSE);
  const std::wstring expected(run.response,
                              run.response + std::char_traits<char>::length(run.response));
  EXPECT_EQ(response.substr(0, expected.size()), expected) << response;

  // The dialog manager turns Escape and the close request into "Exit".
  if (run.closing == WM_CLOSE) {
    program.Post(WM_CLOSE);
  } else {
    program.PostKey(run.closing);
  }
  EXPECT_EQ(program.WaitForExit(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Service, FailedRunTest,
    ::testing::Values(
        FailedRun{"RefusedConnection", "TARVELO_TEST_REFUSED", true, "", VK_ESCAPE},
        FailedRun{"SoapFault", "TARVELO_TEST_FAULT", false,
                  "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                  "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body><soap:Fault>",
                  WM_CLOSE},
        FailedRun{"ReplyWithoutResult", "TARVELO_TEST_NO_RESULT", false,
                  "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                  "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>"
                  "<simpleMethodResponse xmlns=\"http://tempuri.org/\"/>",
                  VK_ESCAPE}),
    [](const auto& info) { return std::string(info.param.name); });

// The icon group and the version block are resources of the module, where the shell reads them.
TEST(WindowProgramFile, CarriesTheIconGroupAndTheVersionBlock) {
  const std::wstring program = TestProgram();
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FindResourceExA(module, RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME),
                            MAKELANGID(LANG_CROATIAN, SUBLANG_CROATIAN_CROATIA)),
            nullptr);
  FreeLibrary(module);

  std::vector<BYTE> block(GetFileVersionInfoSizeW(program.c_str(), nullptr));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(
      GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  const auto value = [&](const wchar_t* key) {
    void* text = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
    return VerQueryValueW(block.data(), path.c_str(), &text, &length) && length > 0
               ? std::wstring(static_cast<const wchar_t*>(text))
               : std::wstring();
  };
  EXPECT_EQ(value(L"FileDescription"), L"Tarvelo MFC Application");
  EXPECT_EQ(value(L"OriginalFilename"), L"Tarvelo.EXE");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
}

// Where the ANSI code page is Windows-1252 (Wine's default), the program reads the text box in
// that code page: its letters arrive as themselves, the letters that it lacks as the
// platform's best fit (č and ć as c, đ as d, Đ as Ð), not as "?".
TEST_F(WindowTest, UnderWindows1252TheLettersThePageLacksArriveAsTheirBestFit) {
  if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP();
  WindowProgram program(TestProgram(), PeerEnd("TARVELO_TEST_SERVICE"));
  ASSERT_TRUE(program.Open());
  program.SetText(IDC_TEXT, L"\u010D\u0107\u017E\u0111\u0161\u010C\u0106\u017D\u0110\u0160");
  program.SetText(IDC_TIMES, L"1");
  EXPECT_TRUE(program.Press(IDOK).empty());
  EXPECT_EQ(program.Text(IDC_TIMES_DONE), L"1");
  const std::wstring arrived = L"cc\u017Ed\u0161CC\u017D\u00D0\u0160";
  EXPECT_NE(program.Text(IDC_REQUEST).find(L"<srt>" + arrived + L"</srt>"), std::wstring::npos)
      << program.Text(IDC_REQUEST);
  EXPECT_NE(program.Text(IDC_RESPONSE).find(L"<simpleMethodResult>Hello " + arrived + L"<"),
            std::wstring::npos)
      << program.Text(IDC_RESPONSE);
}

}  // namespace

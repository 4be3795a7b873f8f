// The window program on the real platform (user32's dialog manager, the system's XML HTTP
// request component), driven from outside as an operator drives it, against the service ends
// of tarvelo-windows-peer: the same Times dane, figures and message box as on Linux for the same
// behaviours of the service. The waits for the window to open and to end are bounded, ctest
// bounds the others.
#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>
// GDI+ after windows.h, which it builds on.
#include <gdiplus.h>

#include <cstdlib>
#include <future>
#include <regex>
#include <string>
#include <tuple>

#include "res/resource.h"
#include "tarvelo_config.h"

namespace {

// A window's text, whatever process it belongs to.
std::wstring TextOf(HWND window) {
  wchar_t text[4096] = L"";
  SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
  return text;
}

// The window as the screen shows it, kept as a PNG file.
bool SaveScreenshot(HWND window, const std::wstring& path) {
  static ULONG_PTR token = 0;  // GDI+ for the rest of the test program
  static const Gdiplus::GdiplusStartupInput input;
  static const bool started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  RECT r{};
  GetWindowRect(window, &r);
  Gdiplus::Bitmap image(r.right - r.left, r.bottom - r.top);
  Gdiplus::Graphics graphics(&image);
  const HDC screen = GetDC(nullptr);
  const HDC target = graphics.GetHDC();
  BitBlt(target, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  graphics.ReleaseHDC(target);
  ReleaseDC(nullptr, screen);
  const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  return started && image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

// Presses the dialog's button; "caption: text" of each message box that came up meanwhile,
// each answered with OK, which hides it at once.
std::wstring Press(HWND dialog, int id) {
  const std::future<LRESULT> pressed = std::async(
      std::launch::async, [=] { return SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); });
  std::wstring boxes;
  while (pressed.wait_for(std::chrono::milliseconds(25)) != std::future_status::ready) {
    if (const HWND box = GetLastActivePopup(dialog); box != dialog && IsWindowVisible(box)) {
      boxes += TextOf(box) + L": " + TextOf(GetDlgItem(box, 0xFFFF));
      SendMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }
  return boxes;
}

// One run for each behaviour of the service, as the operator makes it: a count of 3, "Call
// WebService", the window read, then "Exit", Escape or the close request (WM_KEYDOWN, WM_CLOSE).
// What is counted, what the operator is told, the figures' format, the default text's letters as
// they came back in the run's ANSI code page (LC_ALL), and the program's exit code. Each window
// after its run is kept as test-output/<row>.png.
TEST(WindowRun, EndsAtTheFirstFailedExchangeAndShowsTheSameAsOnLinux) {
  // The service's reply to the default text, whose Windows-1250 bytes are read in the run's
  // code page.
  const std::wstring echo = L"Hello added string to hello and check code page " +
                            std::wstring(GetACP() == 1250 ? L"(čćžđšČĆŽĐŠ)" : L"(èæžðšÈÆŽÐŠ)");
  // Each run: its name, the code page it belongs to, the peer's end that the exchanges go to,
  // Times dane, "caption: text" of each message box, and how the window is closed. The scripted end
  // answers with a SOAP fault, then without the result element, then no more: the rows that use it
  // go in that order.
  // clang-format off
  const std::tuple<const wchar_t*, UINT, const char*, int, const wchar_t*, UINT> rows[] = {
      {L"three-passing", 1250, "TARVELO_TEST_SERVICE",  3, L"", BM_CLICK},
      {L"passing-1252",  1252, "TARVELO_TEST_SERVICE",  3, L"", WM_KEYDOWN},
      {L"soap-fault",    1250, "TARVELO_TEST_SCRIPTED", 0, L"", WM_CLOSE},
      {L"no-result",     1250, "TARVELO_TEST_SCRIPTED", 0, L"", WM_KEYDOWN},
      {L"refused",       1250, "TARVELO_TEST_SCRIPTED", 0, L"Error: Exception occurred - check the network", BM_CLICK},
  };
  // clang-format on
  const std::wregex clock(LR"(\d\d:\d\d:\d\d\.\d{3})"), seconds(LR"(\d+\.\d{3} sec)"),
      none(L"0.000 sec");
  for (const auto& [name, codePage, end, done, boxes, closing] : rows) {
    if (codePage != GetACP()) continue;
    SCOPED_TRACE(testing::Message() << name);
    // The window program in a process of its own; its window is the one dialog with its caption
    // (the window tests run alone on their display), shown once the dialog is initialised.
    const auto program = reinterpret_cast<HANDLE>(
        _spawnl(_P_NOWAIT, TARVELO_TEST_PROGRAM, TARVELO_TEST_PROGRAM, std::getenv(end), nullptr));
    ASSERT_NE(program, INVALID_HANDLE_VALUE);
    HWND dialog = nullptr;
    for (int i = 0; i < 300 && !IsWindowVisible(dialog); ++i, Sleep(100))
      dialog = FindWindowW(L"#32770", L"Tarvelo - " TARVELO_SERVICE_HOST "/Service.asmx");
    const auto text = [dialog](int id) { return TextOf(GetDlgItem(dialog, id)); };
    const LONG response = GetWindowLongW(GetDlgItem(dialog, IDC_RESPONSE), GWL_STYLE);
    EXPECT_EQ(response & (ES_READONLY | WS_HSCROLL), ES_READONLY | WS_HSCROLL);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_TIMES, EM_GETLIMITTEXT, 0, 0), 4);
    SetDlgItemTextW(dialog, IDC_TIMES, L"3");
    EXPECT_EQ(Press(dialog, IDOK), boxes);
    EXPECT_EQ(text(IDC_TIMES_DONE), std::to_wstring(done));
    for (const int id : {IDC_BEGIN, IDC_END}) EXPECT_TRUE(std::regex_match(text(id), clock));
    EXPECT_TRUE(std::regex_match(text(IDC_DIFF), seconds));
    EXPECT_TRUE(std::regex_match(text(IDC_AVERAGE), done > 0 ? seconds : none));
    EXPECT_EQ(text(IDC_RESPONSE).find(echo) != std::wstring::npos, done > 0);
    EXPECT_TRUE(SaveScreenshot(dialog, L"..\\test-output\\" + std::wstring(name) + L".png"));
    PostMessageW(closing == BM_CLICK ? GetDlgItem(dialog, IDCANCEL) : dialog, closing, VK_ESCAPE,
                 0);
    DWORD code = WaitForSingleObject(program, 30000);
    EXPECT_TRUE(GetExitCodeProcess(program, &code) && code == 0) << code;
    TerminateProcess(program, 99);  // should it still run
    CloseHandle(program);
  }
}

}  // namespace

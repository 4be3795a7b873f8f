// The window program on the real platform (user32's dialog manager, the system's XML HTTP
// request component), driven from outside as an operator drives it, against the service ends
// of tarvelo-windows-peer: the same Times dane, figures and message box as on Linux for the same
// behaviours of the service. Every wait is bounded.
#include <gtest/gtest.h>
#include <windows.h>
// GDI+ after windows.h, which it builds on.
#include <gdiplus.h>

#include <atomic>
#include <cstdlib>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "res/resource.h"

namespace {

// The dialog's default text: the ten Croatian letters are its Windows-1250 bytes.
const std::wstring kLetters = L"\u010D\u0107\u017E\u0111\u0161\u010C\u0106\u017D\u0110\u0160";
const std::wstring kDefaultText = L"added string to hello and check code page (" + kLetters + L")";
std::wstring TextOf(HWND window) {
  wchar_t text[4096] = L"";
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000,
                      nullptr);
  return text;
}

bool Matches(const std::wstring& text, const wchar_t* pattern) {
  return std::regex_match(text, std::wregex(pattern));
}

// The program in a process of its own, its exchanges going to the peer's end `end`.
class Program {
 public:
  explicit Program(const char* end) {
    SetEnvironmentVariableA("TARVELO_TEST_SERVICE_HOST", std::getenv(end));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // The window program, built next to this test program, where CreateProcess looks first.
    wchar_t commandLine[] = TARVELO_TEST_PROGRAM;
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &m_process))
      return;
    for (int i = 0; i < 600 && m_dialog == nullptr; ++i) {
      Sleep(100);
      m_dialog = DialogOtherThan(nullptr);
    }
  }
  ~Program() {
    if (m_process.hProcess == nullptr) return;
    TerminateProcess(m_process.hProcess, 99);  // a process that has ended keeps its code
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
  }
  HWND Dialog() const { return m_dialog; }
  std::wstring Text(int id) const { return TextOf(GetDlgItem(m_dialog, id)); }
  void SetText(int id, const std::wstring& text) const {
    SendMessageTimeoutW(GetDlgItem(m_dialog, id), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 10000, nullptr);
  }
  // Presses the button; returns "caption: text" of each message box that came up meanwhile,
  // each answered with OK.
  std::vector<std::wstring> Press(int id) const {
    std::vector<std::wstring> boxes;
    std::atomic<bool> handled = false;
    std::thread press([&] {
      SendMessageTimeoutW(GetDlgItem(m_dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 120000, nullptr);
      handled = true;
    });
    while (!handled) {
      if (const HWND box = DialogOtherThan(m_dialog)) {
        boxes.push_back(TextOf(box) + L": " + TextOf(GetDlgItem(box, 0xFFFF)));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 200 && IsWindowVisible(box); ++i) Sleep(25);
      }
      Sleep(25);
    }
    press.join();
    return boxes;
  }
  // The exit code once the process has ended, or STILL_ACTIVE.
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(m_process.hProcess, 30000);
    GetExitCodeProcess(m_process.hProcess, &code);
    return code;
  }

 private:
  // A visible dialog of the process other than `other`.
  HWND DialogOtherThan(HWND other) const {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(w, &process);
      if (w != other && process == m_process.dwProcessId && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }

  PROCESS_INFORMATION m_process{};
  HWND m_dialog = nullptr;
};

// The window as the screen shows it, as a PNG file.
bool SaveScreenshot(HWND window, const wchar_t* path) {
  RECT r{};
  GetWindowRect(window, &r);
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, previous);
  ULONG_PTR token = 0;
  const Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  bool saved = false;
  {
    Gdiplus::Bitmap image(bitmap, nullptr);
    saved = image.Save(path, &png, nullptr) == Gdiplus::Ok;
  }
  Gdiplus::GdiplusShutdown(token);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

// One run for each behaviour of the service, as the operator makes it: a count, "Call
// WebService", the figures read, then the window closed by "Exit", Escape or the close request
// (the dialog manager's own). What counts, what the operator is told, the figures, and the text
// that went out and came back in the ANSI code page. Each window after its run is kept as a
// picture in test-output/.
TEST(WindowRun, EndsAtTheFirstFailedExchangeAndShowsTheSameFiguresAsOnLinux) {
  struct Row {
    const wchar_t* name;
    UINT codePage;       // the run (LC_ALL) it belongs to
    const char* end;     // the peer's end the exchanges go to
    std::wstring typed;  // into the text box; empty: the default text stays
    const wchar_t* times;
    std::wstring sent;  // what <srt> carries
    int done;
    bool box;
    std::wstring response;  // a part of the response box; empty: the box stays empty
    UINT closing;           // BM_CLICK on "Exit", or WM_KEYDOWN (Escape) or WM_CLOSE to the dialog
  };
  // The letters that Windows-1252 lacks arrive as the platform's best fit (č, ć as c, đ as d).
  const std::wstring bestFit = L"cc\u017Ed\u0161CC\u017D\u00D0\u0160";
  // The default text's Windows-1250 bytes, read in Windows-1252.
  const std::wstring defaultIn1252 =
      L"added string to hello and check code page (\u00E8\u00E6\u017E\u00F0\u0161\u00C8\u00C6"
      L"\u017D\u00D0\u0160)";
  const std::wstring hello = L"<simpleMethodResult>Hello ";
  // clang-format off
  const Row rows[] = {
      {L"three-passing",   1250, "TARVELO_TEST_SERVICE",   L"",      L"3", kDefaultText,  3, false, hello + kDefaultText, BM_CLICK},
      {L"letters-1252",    1252, "TARVELO_TEST_SERVICE",   kLetters, L"1", bestFit,       1, false, hello + bestFit,      WM_KEYDOWN},
      {L"refused",         1252, "TARVELO_TEST_REFUSED",   L"",      L"3", defaultIn1252, 0, true,  L"",                  WM_KEYDOWN},
      {L"soap-fault",      1252, "TARVELO_TEST_FAULT",     L"",      L"3", defaultIn1252, 0, false, L"<soap:Fault/>",     WM_CLOSE},
      {L"no-result",       1252, "TARVELO_TEST_NO_RESULT", L"",      L"3", defaultIn1252, 0, false, L"<simpleMethodResponse/>", BM_CLICK},
  };
  // clang-format on
  for (const Row& row : rows) {
    if (row.codePage != GetACP()) continue;
    SCOPED_TRACE(row.name);
    const Program program(row.end);
    ASSERT_NE(program.Dialog(), nullptr);
    // The template's texts and styles on the controls: a read-only box with a scroll bar.
    EXPECT_EQ(program.Text(IDOK), L"Call WebService");
    const LONG box = GetWindowLongW(GetDlgItem(program.Dialog(), IDC_RESPONSE), GWL_STYLE);
    EXPECT_EQ(box & (ES_READONLY | WS_HSCROLL), ES_READONLY | WS_HSCROLL);
    EXPECT_EQ(SendMessageW(GetDlgItem(program.Dialog(), IDC_TIMES), EM_GETLIMITTEXT, 0, 0), 4);
    if (!row.typed.empty()) program.SetText(IDC_TEXT, row.typed);
    program.SetText(IDC_TIMES, row.times);
    const std::vector<std::wstring> boxes = program.Press(IDOK);

    EXPECT_EQ(boxes,
              row.box ? std::vector<std::wstring>{L"Error: Exception occurred - check the network"}
                      : std::vector<std::wstring>{});
    EXPECT_EQ(program.Text(IDC_TIMES_DONE), std::to_wstring(row.done));
    const wchar_t* const clock = LR"(\d\d:\d\d:\d\d\.\d{3})";
    EXPECT_TRUE(Matches(program.Text(IDC_BEGIN), clock) && Matches(program.Text(IDC_END), clock));
    EXPECT_TRUE(Matches(program.Text(IDC_DIFF), LR"(\d+\.\d{3} sec)")) << program.Text(IDC_DIFF);
    EXPECT_TRUE(
        Matches(program.Text(IDC_AVERAGE), row.done > 0 ? LR"(\d+\.\d{3} sec)" : L"0.000 sec"));
    EXPECT_NE(program.Text(IDC_REQUEST).find(L"<srt>" + row.sent + L"</srt>"), std::wstring::npos)
        << program.Text(IDC_REQUEST);
    const std::wstring response = program.Text(IDC_RESPONSE);
    EXPECT_TRUE(row.response.empty() ? response.empty()
                                     : response.find(row.response) != std::wstring::npos)
        << response;
    EXPECT_TRUE(SaveScreenshot(program.Dialog(),
                               (L"test-output\\" + std::wstring(row.name) + L".png").c_str()));
    const HWND exit = GetDlgItem(program.Dialog(), IDCANCEL);
    PostMessageW(row.closing == BM_CLICK ? exit : program.Dialog(), row.closing, VK_ESCAPE, 0);
    EXPECT_EQ(program.ExitCode(), 0u);
  }
}

// The icon group and the version block are resources of the module, where the shell reads them.
TEST(WindowProgramFile, CarriesTheIconGroupAndTheVersionBlock) {
  const wchar_t* const path = TARVELO_TEST_PROGRAM;  // found beside this test program
  const HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON), nullptr);
  FreeLibrary(module);
  std::vector<BYTE> block(GetFileVersionInfoSizeW(path, nullptr));
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
  wchar_t* description = nullptr;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\FileDescription",
                             reinterpret_cast<void**>(&description), &length));
  EXPECT_STREQ(description, L"Tarvelo MFC Application");
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
}

}  // namespace

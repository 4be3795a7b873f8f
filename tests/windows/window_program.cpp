#include "window_program.h"

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

constexpr DWORD kDialogWaitMs = 60000;
constexpr UINT kPressTimeoutMs = 120000;
constexpr DWORD kExitWaitMs = 30000;

struct Search {
  DWORD processId;
  HWND found;
};

bool IsDialogWindow(HWND hWnd) {
  wchar_t className[16] = L"";
  GetClassNameW(hWnd, className, 16);
  return IsWindowVisible(hWnd) && std::wstring(className) == L"#32770";
}

BOOL CALLBACK FindProcessDialog(HWND hWnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD processId = 0;
  GetWindowThreadProcessId(hWnd, &processId);
  if (processId != search->processId || !IsDialogWindow(hWnd)) return TRUE;
  search->found = hWnd;
  return FALSE;
}

std::wstring WindowText(HWND hWnd) {
  wchar_t text[4096] = L"";
  SendMessageTimeoutW(hWnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000,
                      nullptr);
  return text;
}

// The texts of a message box's labels, joined: its message.
BOOL CALLBACK CollectLabelText(HWND hWnd, LPARAM lParam) {
  wchar_t className[16] = L"";
  GetClassNameW(hWnd, className, 16);
  if (_wcsicmp(className, L"Static") == 0)
    *reinterpret_cast<std::wstring*>(lParam) += WindowText(hWnd);
  return TRUE;
}

// Answers the message boxes of the dialog's thread with OK until told to stop.
void AnswerMessageBoxes(DWORD threadId, HWND dialog, const std::atomic<bool>& stop,
                        std::vector<MessageBoxSeen>& seen) {
  struct Boxes {
    HWND dialog;
    std::vector<HWND> found;
  };
  while (!stop) {
    Boxes boxes{dialog, {}};
    EnumThreadWindows(
        threadId,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
          auto* boxes = reinterpret_cast<Boxes*>(lParam);
          if (hWnd != boxes->dialog && IsDialogWindow(hWnd)) boxes->found.push_back(hWnd);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&boxes));
    for (HWND box : boxes.found) {
      MessageBoxSeen message{L"", WindowText(box)};
      EnumChildWindows(box, &CollectLabelText, reinterpret_cast<LPARAM>(&message.text));
      seen.push_back(message);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      // The box is gone once its thread has taken the answer.
      for (int i = 0; i < 200 && IsWindow(box) && IsWindowVisible(box); ++i) Sleep(25);
    }
    Sleep(25);
  }
}

void PutLittleEndian(std::vector<BYTE>& out, DWORD value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<BYTE>(value >> (8 * i)));
}

}  // namespace

WindowProgram::WindowProgram(const std::wstring& program, const std::string& serviceHost) {
  SetEnvironmentVariableA("TARVELO_TEST_SERVICE_HOST", serviceHost.c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + program + L"\"";
  const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                      0, nullptr, nullptr, &startup, &m_process);
  SetEnvironmentVariableA("TARVELO_TEST_SERVICE_HOST", nullptr);
  if (!started) {
    std::fprintf(stderr, "cannot start the program: error %lu\n", GetLastError());
    return;
  }
  const ULONGLONG deadline = GetTickCount64() + kDialogWaitMs;
  Search search{m_process.dwProcessId, nullptr};
  while (search.found == nullptr && GetTickCount64() < deadline &&
         WaitForSingleObject(m_process.hProcess, 50) == WAIT_TIMEOUT) {
    EnumWindows(&FindProcessDialog, reinterpret_cast<LPARAM>(&search));
  }
  m_dialog = search.found;
}

WindowProgram::~WindowProgram() {
  if (m_process.hProcess == nullptr) return;
  if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.hProcess, 99);
    WaitForSingleObject(m_process.hProcess, kExitWaitMs);
  }
  CloseHandle(m_process.hThread);
  CloseHandle(m_process.hProcess);
}

std::wstring WindowProgram::Caption() const {
  return WindowText(m_dialog);
}

std::wstring WindowProgram::Text(int id) const {
  return WindowText(GetDlgItem(m_dialog, id));
}

void WindowProgram::SetText(int id, const std::wstring& text) {
  SendMessageTimeoutW(GetDlgItem(m_dialog, id), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 10000, nullptr);
}

LRESULT WindowProgram::ControlMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetDlgItem(m_dialog, id), message, wParam, lParam, SMTO_NORMAL, 10000,
                      &result);
  return static_cast<LRESULT>(result);
}

LRESULT WindowProgram::DialogMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(m_dialog, message, wParam, lParam, SMTO_NORMAL, 10000, &result);
  return static_cast<LRESULT>(result);
}

void WindowProgram::Post(UINT message) {
  PostMessageW(m_dialog, message, 0, 0);
}

void WindowProgram::PostKey(UINT virtualKey) {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(m_dialog, nullptr), &thread);
  const HWND target = thread.hwndFocus != nullptr ? thread.hwndFocus : m_dialog;
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
  PostMessageW(target, WM_KEYUP, virtualKey, 1 | (3u << 30));
}

std::vector<MessageBoxSeen> WindowProgram::Press(int id) {
  std::vector<MessageBoxSeen> seen;
  std::atomic<bool> stop = false;
  const DWORD threadId = GetWindowThreadProcessId(m_dialog, nullptr);
  std::thread answerer(&AnswerMessageBoxes, threadId, m_dialog, std::cref(stop), std::ref(seen));
  DWORD_PTR result = 0;
  SendMessageTimeoutW(GetDlgItem(m_dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, kPressTimeoutMs,
                      &result);
  stop = true;
  answerer.join();
  return seen;
}

bool WindowProgram::SaveScreenshot(const std::string& path) const {
  // What the program has yet to paint after a press is painted first.
  RedrawWindow(m_dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT rect;
  if (!GetWindowRect(m_dialog, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, previous);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as a BMP file holds its rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<BYTE> pixels(rowBytes * static_cast<DWORD>(height));
  const int rows =
      GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows != height) return false;

  std::vector<BYTE> file;
  const DWORD headers = 14 + 40;
  file.push_back('B');
  file.push_back('M');
  PutLittleEndian(file, headers + static_cast<DWORD>(pixels.size()), 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, headers, 4);
  const BYTE* header = reinterpret_cast<const BYTE*>(&info.bmiHeader);
  file.insert(file.end(), header, header + 40);
  file.insert(file.end(), pixels.begin(), pixels.end());
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}

std::optional<DWORD> WindowProgram::WaitForExit() {
  DWORD code = 0;
  if (WaitForSingleObject(m_process.hProcess, kExitWaitMs) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(m_process.hProcess, &code)) {
    return std::nullopt;
  }
  return code;
}

// The window program in a process of its own, driven from outside as an operator drives it:
// the texts of its dialog's controls are set and read with the window messages, buttons are
// pressed with BM_CLICK, and the message boxes that a press brings up are read and answered
// with OK. Every wait is bounded.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct MessageBoxSeen {
  std::wstring text;
  std::wstring caption;
};

class WindowProgram {
 public:
  // Starts the program with TARVELO_TEST_SERVICE_HOST=serviceHost in its environment and waits
  // for its dialog. Open() tells whether the dialog came.
  WindowProgram(const std::wstring& program, const std::string& serviceHost);
  // Ends the program if it still runs.
  ~WindowProgram();
  WindowProgram(const WindowProgram&) = delete;
  WindowProgram& operator=(const WindowProgram&) = delete;

  bool Open() const { return m_dialog != nullptr; }
  std::wstring Caption() const;
  std::wstring Text(int id) const;
  void SetText(int id, const std::wstring& text);
  // A message to a control or to the dialog, and its result.
  LRESULT ControlMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  LRESULT DialogMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // Posts a message to the dialog, or a key as the keyboard does (to the control that has the
  // focus, where the dialog manager's loop sees it).
  void Post(UINT message);
  void PostKey(UINT virtualKey);
  // Presses the button and returns when the program has handled the press, with the message
  // boxes that came up meanwhile, each answered with OK.
  std::vector<MessageBoxSeen> Press(int id);
  // The dialog as the screen shows it, as a 24-bit BMP file.
  bool SaveScreenshot(const std::string& path) const;
  // The process's exit code once it has ended; nullopt if it runs on.
  std::optional<DWORD> WaitForExit();

 private:
  PROCESS_INFORMATION m_process{};
  HWND m_dialog = nullptr;
};

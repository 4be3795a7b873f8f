// The headless window backend: dialogs held in memory, driven by a script.
//
// A test (or a terminal runner) makes a Backend, installs it (afx::ScopedBackend) and queues a
// script for the next dialog. DoModal builds the dialog as usual, runs OnInitDialog, and then
// runs the script inside its modal loop: the script acts as an operator would (clicks, keys,
// typing and pasting with the controls' limits) and reads what the window shows. When the
// script returns with the dialog still open, the dialog ends with IDCANCEL: DoModal never
// waits for anything.
//
// Message boxes are answered at once (by the answerer, else with OK) and recorded; so are the
// changes of the wait cursor. Texts are UTF-8 on this interface. A user may also watch the
// window change: each time a dialog writes its members into its controls (UpdateData(FALSE)),
// the update observer is called with the moment on the steady clock.
//
//   afx::headless::Backend backend;
//   afx::ScopedBackend use(backend);
//   backend.QueueScript([](afx::headless::Dialog& dialog) {
//     dialog.EnterText(IDC_TIMES, "3");
//     dialog.Press(afx::headless::Key::Enter);
//     std::puts(dialog.Text(IDC_DIFF).c_str());
//   });
//   CSoapTestDlg().DoModal();
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "afxbackend.h"

namespace afx::headless {

class Window;

using Key = DialogKey;

struct MessageBoxRecord {
  std::string text;     // UTF-8
  std::string caption;  // UTF-8
  UINT type = 0;        // MB_OK | MB_ICONSTOP, ...
  int answer = 0;       // what the box returned
};

struct WaitCursorRecord {
  int depth = 0;  // the nesting now; 0 is the normal cursor
  int deepest = 0;
  int begins = 0;
  int restores = 0;
  int ends = 0;
};

struct DrawnIcon {
  int x = 0;
  int y = 0;
  HICON icon = nullptr;
};

// A dialog window as a script sees it. Controls are named by id (the first control with that
// id in template order). The actions return false when they could not be done: the dialog has
// ended, there is no such control, or the control does not take the action (typing into a
// read-only edit control, clicking a label).
class Dialog {
 public:
  explicit Dialog(Window& window) : m_window(window) {}

  // ---- What the operator does
  bool Click(int id);  // a button: focus to it, then its command; other controls: Focus
  bool Press(Key key);
  bool Focus(int id);  // a click into the control; an edit control's caret goes to the end
  bool SelectAll();    // Ctrl+A in the focused edit control
  // Keystrokes into the focused edit control: each character replaces the selection, and a
  // character that would exceed the limit is refused. Control characters are refused by
  // single-line controls, and anything but digits by ES_NUMBER controls.
  bool Type(std::string_view utf8);
  // The clipboard into the focused edit control: single-line controls take the text up to its
  // first line break, and only as much as the limit leaves room for (the first characters).
  bool Paste(std::string_view utf8);
  bool EnterText(int id, std::string_view utf8);  // Focus, SelectAll, delete, Type
  bool Close();                                   // the window manager's close request

  // ---- What the window shows
  bool IsOpen() const;
  std::string Text(int id) const;  // "" for no such control
  std::string Caption() const;
  int FocusedId() const;  // 0 when no control has the focus
  int TextLimit(int id) const;
  RECT ControlRect(int id) const;  // pixels in the client area; empty for no such control
  SIZE ClientSize() const;
  const afx::Icon* WindowIcon(bool big) const;

  // ---- The window system, for tests
  void SetIconic(bool iconic);
  void SetClientSize(int cx, int cy);
  void Paint();  // asks the dialog to paint itself (WM_PAINT)
  const std::vector<DrawnIcon>& DrawnIcons() const;
  int IconBackgroundErasures() const;

 private:
  Window& m_window;
};

class Backend final : public WindowBackend {
 public:
  using Script = std::function<void(Dialog&)>;
  using MessageBoxAnswerer = std::function<int(const MessageBoxRecord&)>;
  using UpdateObserver = std::function<void(std::chrono::steady_clock::time_point)>;

  Backend() = default;

  // The script of the next dialog that opens; one script per dialog, in queue order. A dialog
  // that finds no script ends at once with IDCANCEL.
  void QueueScript(Script script);
  // Sees each message box and gives its answer; without one, a box answers with OK.
  void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);
  // Called after each update of a dialog's controls from its members; null stops watching.
  void ObserveControlUpdates(UpdateObserver observer);
  void ControlsUpdated();  // what a headless window reports after such an update

  const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_messageBoxes; }
  void ClearMessageBoxes() { m_messageBoxes.clear(); }
  const WaitCursorRecord& WaitCursor() const { return m_waitCursor; }
  int DialogsOpened() const { return m_dialogsOpened; }

  // The base units of "MS Sans Serif" at 96 dots per inch (6 x 13 at 8 points), scaled with
  // the template's point size.
  BaseUnits DialogBaseUnits(const AFX_DIALOG_TEMPLATE& dialog) override;
  std::unique_ptr<NativeDialog> CreateDialogWindow(const DialogLayout& layout,
                                                   DialogEvents& events) override;
  int MessageBox(NativeDialog* owner, std::u16string_view text, std::u16string_view caption,
                 UINT type) override;
  void WaitCursorChanged(WaitCursorChange change, int depth) override;

  Script TakeScript();

 private:
  std::deque<Script> m_scripts;
  MessageBoxAnswerer m_answerer;
  UpdateObserver m_updateObserver;
  std::vector<MessageBoxRecord> m_messageBoxes;
  WaitCursorRecord m_waitCursor;
  int m_dialogsOpened = 0;
};

std::string Utf8FromUtf16(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view text);

}  // namespace afx::headless

// The dialog manager: one modal dialog from its template to its end. It makes the window
// through the backend, hands out the window handles of the dialog and its controls, runs the
// window procedures of the dialog and control classes (what happens to a message nobody
// handles), and keeps the dialog rules: focus on the first tab stop, Tab and Shift+Tab in
// template order, the arrow keys within the focused control's group (WS_GROUP starts one),
// Enter for the default button (or the push button that has the focus), Escape and a close
// request for IDCANCEL. Internal to platform/afx.
#pragma once

#include <memory>
#include <vector>

#include "afxbackend.h"
#include "afxwin.h"

namespace afx {

class DialogSession;

// A window of an open dialog: the dialog itself (index -1) or one of its controls. Its
// address is its HWND.
struct WindowRecord {
  DialogSession* session;
  int index;  // the control's index in the template; -1 for the dialog
  int id;     // the control id; 0 for the dialog
  ControlKind kind;
  DWORD style;
  int textLimit;                    // edit controls: EM_LIMITTEXT
  SIZE size{};                      // controls: their size in pixels
  CWnd* permanent = nullptr;        // the attached object, whose WindowProc gets the messages
  std::unique_ptr<CWnd> temporary;  // FromHandle's object when none is attached
  HICON bigIcon = nullptr;          // the dialog: WM_SETICON
  HICON smallIcon = nullptr;

  HWND Handle() { return reinterpret_cast<HWND>(this); }
};

class DialogSession final : public DialogEvents {
 public:
  DialogSession(CDialog& dialog, const AFX_DIALOG_TEMPLATE& dialogTemplate);
  ~DialogSession();
  DialogSession(const DialogSession&) = delete;
  DialogSession& operator=(const DialogSession&) = delete;

  // Makes the window, initialises it, runs the modal loop and destroys the window.
  INT_PTR Run();
  void End(INT_PTR result);

  WindowRecord& DialogRecord() { return *m_dialog; }
  WindowRecord* FindRecord(HWND hWnd);
  WindowRecord* FindControl(int id);  // the first control with that id in template order
  NativeDialog* Native() { return m_native.get(); }

  // The window procedure of the dialog class and of the control classes.
  LRESULT DefaultProc(WindowRecord& window, UINT message, WPARAM wParam, LPARAM lParam);
  // Gives the control the focus; the dialog manager's moves select an edit control's text.
  void FocusControl(WindowRecord& control, bool selectText);
  HWND FocusedHandle();

  HDC BeginPaint(PAINTSTRUCT& paint);
  void EndPaint();
  bool OwnsDc(HDC hdc) const { return m_paintDepth > 0 && hdc == PaintDc(); }
  void DrawIcon(int x, int y, const Icon& icon, HICON handle);

  // DialogEvents
  void ButtonClicked(int index) override;
  bool KeyPressed(DialogKey key) override;
  void CloseRequested() override;
  void PaintRequested() override;

 private:
  HDC PaintDc() const { return reinterpret_cast<HDC>(const_cast<DialogSession*>(this)); }
  WindowRecord* NextTabStop(int from, int step);
  WindowRecord* NextGroupItem(int from, int step);
  bool IsTabStop(const WindowRecord& control) const;
  int DefaultButtonId();
  void SendButtonCommand(int id);
  void DetachAll();

  CDialog& m_dialogObject;
  const AFX_DIALOG_TEMPLATE& m_template;
  std::unique_ptr<WindowRecord> m_dialog;
  std::vector<std::unique_ptr<WindowRecord>> m_controls;
  std::unique_ptr<NativeDialog> m_native;
  bool m_ended = false;
  INT_PTR m_result = IDCANCEL;
  std::u16string m_caption;
  int m_paintDepth = 0;
};

// The window record of a handle among all open dialogs; null (and ERROR_INVALID_WINDOW_HANDLE)
// for a handle that names no window.
WindowRecord* FindWindowRecord(HWND hWnd);
DialogSession* FindPaintingSession(HDC hdc);
DialogSession* InnermostDialog();

}  // namespace afx

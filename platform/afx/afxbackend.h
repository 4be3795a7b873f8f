// The window backend: what the framework's dialog manager needs from a windowing system.
//
// The dialog manager (dialog_session.h) builds a dialog from its template, keeps the window
// handles, routes messages through the message maps and owns the dialog rules (tab order,
// Enter, Escape, close). A backend only makes and shows the native window, holds the controls'
// texts, focus and limits, tells the dialog manager what the operator does, and shows message
// boxes and the wait cursor. Two backends exist: headless (in memory; see
// headless/afx_headless.h) and qt (Qt 6 Widgets; see qt/afx_qt.h).
//
// Texts cross this interface as UTF-16; the framework converts them from and to the ANSI code
// page of the program.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "afxresource.h"

namespace afx {

// An icon as LoadIcon makes it: its icon group's .ico file, whose images a backend that shows
// them reads itself.
struct Icon {
  std::span<const BYTE> file;
};

// The icon behind a handle of LoadIcon; null for a handle that is no icon.
const Icon* IconFromHandle(HICON hIcon);

enum class ControlKind { PushButton, GroupBox, Static, Edit, Other };

// The base units of a dialog font: a dialog unit is cx/4 pixels across and cy/8 down.
struct BaseUnits {
  int cx;
  int cy;
};

struct ControlLayout {
  const AFX_DIALOG_ITEM* item;
  ControlKind kind;
  RECT bounds;  // pixels, in the client area
  std::u16string text;
};

struct DialogLayout {
  const AFX_DIALOG_TEMPLATE* dialog;
  BaseUnits baseUnits;
  int clientWidth;
  int clientHeight;
  std::u16string caption;
  std::vector<ControlLayout> controls;  // template order
};

enum class DialogKey { Enter, Escape, Tab, BackTab, Left, Right, Up, Down };

// What the operator does to a dialog window, reported by the backend to the dialog manager.
// Controls are named by their index in the template.
class DialogEvents {
 public:
  virtual void ButtonClicked(int index) = 0;  // the backend has moved the focus to it
  // False when the key is the focused control's own: an edit control keeps its arrow keys.
  virtual bool KeyPressed(DialogKey key) = 0;
  virtual void CloseRequested() = 0;  // the window manager's close, Alt+F4, ...
  virtual void PaintRequested() = 0;  // the window is being painted: WM_PAINT

 protected:
  ~DialogEvents() = default;
};

// One native dialog window, made by a backend from a layout. Controls are named by index.
class NativeDialog {
 public:
  virtual ~NativeDialog() = default;

  virtual void SetCaption(std::u16string_view text) = 0;
  // A text set by the program; it may exceed the control's limit, which binds the operator.
  virtual void SetControlText(int index, std::u16string_view text) = 0;
  virtual std::u16string ControlText(int index) const = 0;
  // The most UTF-16 units the operator can bring into the edit control by typing or pasting.
  virtual void SetTextLimit(int index, int limit) = 0;
  // Selects [start, end) of an edit control; end -1 is the end of the text.
  virtual void SetSelection(int index, int start, int end) = 0;
  virtual void SetFocus(int index) = 0;
  virtual int FocusIndex() const = 0;  // -1 when no control has the focus
  virtual void SetIcon(const Icon* icon, bool big) = 0;
  virtual bool IsIconic() const = 0;
  virtual SIZE ClientSize() const = 0;
  // The dialog has just written its members into its controls (UpdateData(FALSE)). A backend
  // that shows each text as it is set has nothing to do; the headless one tells its user.
  virtual void ControlsUpdated() {}

  // Painting: only between BeginPaint and EndPaint, which the dialog manager calls while it
  // handles a PaintRequested.
  virtual void BeginPaint() = 0;
  virtual void EndPaint() = 0;
  virtual void EraseIconBackground() = 0;
  virtual void DrawIcon(int x, int y, const Icon& icon, HICON handle) = 0;

  virtual void Show() = 0;
  // Runs until EndModalLoop, or until the backend has nothing more to do (headless).
  virtual void RunModalLoop() = 0;
  virtual void EndModalLoop() = 0;
};

enum class WaitCursorChange { Begin, Restore, End };

class WindowBackend {
 public:
  virtual ~WindowBackend() = default;

  // The base units of the template's font as this backend draws it.
  virtual BaseUnits DialogBaseUnits(const AFX_DIALOG_TEMPLATE& dialog) = 0;
  virtual std::unique_ptr<NativeDialog> CreateDialogWindow(const DialogLayout& layout,
                                                           DialogEvents& events) = 0;
  // A modal message box owned by owner (null: none); returns IDOK, IDCANCEL, ...
  virtual int MessageBox(NativeDialog* owner, std::u16string_view text, std::u16string_view caption,
                         UINT type) = 0;
  // depth is the wait cursor's nesting after the change (0: the normal cursor again).
  virtual void WaitCursorChanged(WaitCursorChange change, int depth) = 0;
};

// ---- Choosing the backend ----------------------------------------------------------------
// The framework uses the backend installed with InstallBackend; without one, it makes its own
// from the factory (on first use, or when AfxWinInit runs) and destroys it in AfxWinTerm. With
// neither there is no window system: AfxWinInit says so and the application does not start,
// dialogs cannot be made and message boxes answer 0.

using BackendFactory = std::unique_ptr<WindowBackend> (*)();
void SetBackendFactory(BackendFactory factory);
// Uses backend (not owned) from now on; null goes back to the framework's own. Refused
// (false) while a dialog is open.
bool InstallBackend(WindowBackend* backend);
// Null when there is no window system.
WindowBackend* CurrentBackend();
// Destroys the backend the framework made itself, if any (AfxWinTerm does this).
void DestroyOwnBackend();

// Installs a backend for one scope and puts the previous one back.
class ScopedBackend {
 public:
  explicit ScopedBackend(WindowBackend& backend);
  ~ScopedBackend();
  ScopedBackend(const ScopedBackend&) = delete;
  ScopedBackend& operator=(const ScopedBackend&) = delete;

 private:
  WindowBackend* m_previous;
};

}  // namespace afx

#include "dialog_session.h"

#include <algorithm>
#include <cstring>

#include "afx_state.h"
#include "ansi_text.h"
#include "dialog_layout.h"

namespace afx {
namespace {

// The most an edit control holds before EM_LIMITTEXT, and the most it can be set to.
constexpr int kDefaultEditLimit = 30000;
constexpr int kLargestEditLimit = 0x7FFFFFFE;

// Runs an event from the backend; whatever it throws is reported like an exception that
// leaves a message handler, so that nothing unwinds through the backend's event loop.
template <typename Event>
void Guarded(Event&& event) {
  try {
    event();
  } catch (...) {
    AfxReportUncaughtException();
  }
}

LRESULT CopyText(const std::string& text, WPARAM capacity, LPARAM buffer) {
  auto* destination = reinterpret_cast<char*>(buffer);
  if (destination == nullptr || capacity == 0) return 0;
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
  std::memcpy(destination, text.data(), length);
  destination[length] = '\0';
  return static_cast<LRESULT>(length);
}

// The open dialogs, innermost last.
std::vector<DialogSession*>& OpenDialogs() {
  static std::vector<DialogSession*> open;
  return open;
}

}  // namespace

DialogSession::DialogSession(CDialog& dialog, const AFX_DIALOG_TEMPLATE& dialogTemplate)
    : m_dialogObject(dialog), m_template(dialogTemplate) {
  m_dialog = std::make_unique<WindowRecord>();
  m_dialog->session = this;
  m_dialog->index = -1;
  m_dialog->id = 0;
  m_dialog->kind = ControlKind::Other;
  m_dialog->style = dialogTemplate.dwStyle;
  m_dialog->textLimit = 0;
  int index = 0;
  for (const AFX_DIALOG_ITEM& item : dialogTemplate.items) {
    auto control = std::make_unique<WindowRecord>();
    control->session = this;
    control->index = index++;
    control->id = item.nID;
    control->kind = ClassifyControl(item);
    control->style = item.dwStyle;
    control->textLimit = control->kind == ControlKind::Edit ? kDefaultEditLimit : 0;
    m_controls.push_back(std::move(control));
  }
  OpenDialogs().push_back(this);
}

DialogSession::~DialogSession() {
  DetachAll();
  m_native.reset();
  auto& open = OpenDialogs();
  open.erase(std::remove(open.begin(), open.end(), this), open.end());
}

INT_PTR DialogSession::Run() {
  WindowBackend* const backend = CurrentBackend();
  if (backend == nullptr) return -1;
  const DialogLayout layout = ComputeDialogLayout(m_template, backend->DialogBaseUnits(m_template));
  for (std::size_t i = 0; i < m_controls.size(); ++i) {
    const RECT& bounds = layout.controls[i].bounds;
    m_controls[i]->size = SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
  }
  m_caption = layout.caption;
  m_native = backend->CreateDialogWindow(layout, *this);
  if (!m_dialogObject.Attach(m_dialog->Handle())) return -1;

  WindowRecord* first = NextTabStop(-1, +1);
  const HWND firstHandle = first != nullptr ? first->Handle() : nullptr;
  const LRESULT wantsFocus =
      SendMessageA(m_dialog->Handle(), WM_INITDIALOG, reinterpret_cast<WPARAM>(firstHandle), 0);
  if (wantsFocus != 0 && !m_ended && first != nullptr) FocusControl(*first, true);
  if (!m_ended) {
    m_native->Show();
    m_native->RunModalLoop();
  }
  if (!m_ended) {
    // The backend had nothing more to do (a headless script ran out): the window is closed
    // from outside, which no handler can refuse.
    m_ended = true;
    m_result = IDCANCEL;
  }
  SendMessageA(m_dialog->Handle(), WM_DESTROY, 0, 0);
  return m_result;
}

void DialogSession::End(INT_PTR result) {
  m_result = result;
  if (m_ended) return;
  m_ended = true;
  if (m_native) m_native->EndModalLoop();
}

WindowRecord* DialogSession::FindRecord(HWND hWnd) {
  if (hWnd == nullptr) return nullptr;
  if (hWnd == m_dialog->Handle()) return m_dialog.get();
  for (auto& control : m_controls) {
    if (hWnd == control->Handle()) return control.get();
  }
  return nullptr;
}

WindowRecord* DialogSession::FindControl(int id) {
  for (auto& control : m_controls) {
    if (control->id == id) return control.get();
  }
  return nullptr;
}

LRESULT DialogSession::DefaultProc(WindowRecord& window, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
  const bool isDialog = window.index < 0;
  switch (message) {
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(lParam);
      const std::u16string wide = AnsiToWide(text != nullptr ? text : "");
      if (isDialog) {
        m_caption = wide;
        if (m_native) m_native->SetCaption(wide);
      } else if (m_native) {
        m_native->SetControlText(window.index, wide);
      }
      return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
      std::u16string wide;
      if (isDialog) {
        wide = m_caption;
      } else if (m_native) {
        wide = m_native->ControlText(window.index);
      }
      const std::string text = WideToAnsi(wide);
      if (message == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
      return CopyText(text, wParam, lParam);
    }
    default:
      break;
  }

  if (isDialog) {
    switch (message) {
      case WM_SETICON: {
        const bool big = wParam == ICON_BIG;
        HICON& slot = big ? window.bigIcon : window.smallIcon;
        const HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        if (m_native) m_native->SetIcon(IconFromHandle(slot), big);
        return reinterpret_cast<LRESULT>(previous);
      }
      case WM_ICONERASEBKGND:
        if (m_native && m_paintDepth > 0) m_native->EraseIconBackground();
        return TRUE;
      case WM_CLOSE:
        SendButtonCommand(IDCANCEL);
        return 0;
      case DM_GETDEFID:
        return MAKELONG(DefaultButtonId(), DC_HASDEFID);
      default:
        return 0;
    }
  }

  if (window.kind == ControlKind::Edit && m_native) {
    switch (message) {
      case EM_LIMITTEXT: {
        const auto requested = static_cast<std::size_t>(wParam);
        window.textLimit = requested == 0 || requested > static_cast<std::size_t>(kLargestEditLimit)
                               ? kLargestEditLimit
                               : static_cast<int>(requested);
        m_native->SetTextLimit(window.index, window.textLimit);
        return 0;
      }
      case EM_SETSEL:
        m_native->SetSelection(window.index, static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
      default:
        return 0;
    }
  }
  return 0;
}

void DialogSession::FocusControl(WindowRecord& control, bool selectText) {
  if (!m_native || control.index < 0) return;
  m_native->SetFocus(control.index);
  if (selectText && control.kind == ControlKind::Edit) {
    m_native->SetSelection(control.index, 0, -1);
  }
}

HWND DialogSession::FocusedHandle() {
  if (!m_native) return nullptr;
  const int index = m_native->FocusIndex();
  if (index < 0 || index >= static_cast<int>(m_controls.size())) return nullptr;
  return m_controls[static_cast<std::size_t>(index)]->Handle();
}

HDC DialogSession::BeginPaint(PAINTSTRUCT& paint) {
  paint = PAINTSTRUCT{};
  if (!m_native) return nullptr;
  if (m_paintDepth++ == 0) m_native->BeginPaint();
  const SIZE client = m_native->ClientSize();
  paint.hdc = PaintDc();
  paint.rcPaint = RECT{0, 0, client.cx, client.cy};
  return paint.hdc;
}

void DialogSession::EndPaint() {
  if (m_paintDepth == 0) return;
  if (--m_paintDepth == 0 && m_native) m_native->EndPaint();
}

void DialogSession::DrawIcon(int x, int y, const Icon& icon, HICON handle) {
  if (m_native && m_paintDepth > 0) m_native->DrawIcon(x, y, icon, handle);
}

void DialogSession::ButtonClicked(int index) {
  Guarded([&] {
    if (index < 0 || index >= static_cast<int>(m_controls.size())) return;
    const WindowRecord& button = *m_controls[static_cast<std::size_t>(index)];
    if ((button.style & WS_DISABLED) != 0) return;
    SendMessageA(m_dialog->Handle(), WM_COMMAND, MAKEWPARAM(button.id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(m_controls[static_cast<std::size_t>(index)]->Handle()));
  });
}

bool DialogSession::KeyPressed(DialogKey key) {
  bool used = true;
  Guarded([&] {
    switch (key) {
      case DialogKey::Tab:
      case DialogKey::BackTab: {
        const int from = m_native ? m_native->FocusIndex() : -1;
        if (WindowRecord* next = NextTabStop(from, key == DialogKey::Tab ? +1 : -1)) {
          FocusControl(*next, true);
        }
        break;
      }
      case DialogKey::Left:
      case DialogKey::Right:
      case DialogKey::Up:
      case DialogKey::Down: {
        WindowRecord* focused = FindRecord(FocusedHandle());
        if (focused == nullptr || focused->kind == ControlKind::Edit) {
          used = false;  // an edit control moves its caret
          break;
        }
        const int step = key == DialogKey::Right || key == DialogKey::Down ? +1 : -1;
        if (WindowRecord* next = NextGroupItem(focused->index, step)) FocusControl(*next, true);
        break;
      }
      case DialogKey::Enter: {
        // A push button with the focus is pressed itself; otherwise the default button.
        WindowRecord* focused = FindRecord(FocusedHandle());
        const int id = focused != nullptr && focused->kind == ControlKind::PushButton
                           ? focused->id
                           : LOWORD(SendMessageA(m_dialog->Handle(), DM_GETDEFID, 0, 0));
        SendButtonCommand(id);
        break;
      }
      case DialogKey::Escape:
        SendButtonCommand(IDCANCEL);
        break;
    }
  });
  return used;
}

void DialogSession::CloseRequested() {
  Guarded([&] { SendMessageA(m_dialog->Handle(), WM_CLOSE, 0, 0); });
}

void DialogSession::PaintRequested() {
  Guarded([&] { SendMessageA(m_dialog->Handle(), WM_PAINT, 0, 0); });
}

bool DialogSession::IsTabStop(const WindowRecord& control) const {
  return (control.style & WS_TABSTOP) != 0 && (control.style & WS_VISIBLE) != 0 &&
         (control.style & WS_DISABLED) == 0;
}

WindowRecord* DialogSession::NextTabStop(int from, int step) {
  const int count = static_cast<int>(m_controls.size());
  if (count == 0) return nullptr;
  const int start = from >= 0 && from < count ? from : (step > 0 ? -1 : count);
  for (int k = 1; k <= count; ++k) {
    const int index = ((start + step * k) % count + count) % count;
    WindowRecord& control = *m_controls[static_cast<std::size_t>(index)];
    if (IsTabStop(control)) return &control;
  }
  return nullptr;
}

WindowRecord* DialogSession::NextGroupItem(int from, int step) {
  // The group runs from the control with WS_GROUP at or before `from` (or the first control)
  // to the last one before the next WS_GROUP; the search wraps around inside it. Labels and
  // group boxes never take the focus.
  const int count = static_cast<int>(m_controls.size());
  if (from < 0 || from >= count) return nullptr;
  auto startsGroup = [&](int index) {
    return (m_controls[static_cast<std::size_t>(index)]->style & WS_GROUP) != 0;
  };
  int first = from;
  while (first > 0 && !startsGroup(first)) --first;
  int end = from + 1;
  while (end < count && !startsGroup(end)) ++end;
  const int size = end - first;
  for (int k = 1; k < size; ++k) {
    const int index = first + ((from - first + step * k) % size + size) % size;
    WindowRecord& control = *m_controls[static_cast<std::size_t>(index)];
    const bool takesFocus =
        control.kind != ControlKind::Static && control.kind != ControlKind::GroupBox;
    if (takesFocus && (control.style & WS_VISIBLE) != 0 && (control.style & WS_DISABLED) == 0) {
      return &control;
    }
  }
  return nullptr;
}

int DialogSession::DefaultButtonId() {
  for (const auto& control : m_controls) {
    if (control->kind == ControlKind::PushButton &&
        (control->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      return control->id;
    }
  }
  return IDOK;
}

void DialogSession::SendButtonCommand(int id) {
  WindowRecord* button = FindControl(id);
  if (button != nullptr && (button->style & WS_DISABLED) != 0) return;
  SendMessageA(m_dialog->Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(button != nullptr ? button->Handle() : nullptr));
}

void DialogSession::DetachAll() {
  auto detach = [](WindowRecord& window) {
    if (window.permanent != nullptr) {
      window.permanent->m_hWnd = nullptr;
      window.permanent = nullptr;
    }
    if (window.temporary) {
      window.temporary->m_hWnd = nullptr;
      window.temporary.reset();
    }
  };
  detach(*m_dialog);
  for (auto& control : m_controls) detach(*control);
  CWinApp* app = State().app;
  if (app != nullptr && app->m_pMainWnd == &m_dialogObject) app->m_pMainWnd = nullptr;
}

WindowRecord* FindWindowRecord(HWND hWnd) {
  for (DialogSession* session : OpenDialogs()) {
    if (WindowRecord* window = session->FindRecord(hWnd)) return window;
  }
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return nullptr;
}

DialogSession* FindPaintingSession(HDC hdc) {
  for (DialogSession* session : OpenDialogs()) {
    if (session->OwnsDc(hdc)) return session;
  }
  return nullptr;
}

DialogSession* InnermostDialog() {
  const auto& open = OpenDialogs();
  return open.empty() ? nullptr : open.back();
}

}  // namespace afx

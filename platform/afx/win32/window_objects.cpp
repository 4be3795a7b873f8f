// CWnd on the real platform. Attaching an object to a window subclasses it: every message then
// reaches the object through the framework's window procedure, and what the object does not
// handle goes on to the window's own procedure (the dialog manager's, an edit control's, ...).
// When the window goes (WM_NCDESTROY), the object lets go of it.
#include "win32/window_objects.h"

#include <map>
#include <memory>

namespace afx {
namespace {

struct Attachment {
  CWnd* object;
  WNDPROC windowProcedure;  // the window's own, called for what the object leaves
};

std::map<HWND, Attachment>& Attachments() {
  static std::map<HWND, Attachment> attachments;
  return attachments;
}

// FromHandle's objects for windows that have none attached; each goes once its window is gone.
std::map<HWND, std::unique_ptr<CWnd>>& TemporaryObjects() {
  static std::map<HWND, std::unique_ptr<CWnd>> objects;
  return objects;
}

void ForgetTemporaryObjectsOfGoneWindows(HWND hWndGoing) {
  auto& objects = TemporaryObjects();
  for (auto it = objects.begin(); it != objects.end();) {
    if (it->first == hWndGoing || !IsWindow(it->first)) {
      it->second->m_hWnd = nullptr;
      it = objects.erase(it);
    } else {
      ++it;
    }
  }
}

void Detach(HWND hWnd) {
  auto found = Attachments().find(hWnd);
  if (found == Attachments().end()) return;
  SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.windowProcedure));
  CWnd* const object = found->second.object;
  object->m_hWnd = nullptr;
  Attachments().erase(found);
  CWinApp* app = AfxGetApp();
  if (app != nullptr && app->m_pMainWnd == object) app->m_pMainWnd = nullptr;
}

LRESULT CALLBACK FrameworkWindowProcedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* const object = PermanentObject(hWnd);
  if (object == nullptr) return DefWindowProcA(hWnd, message, wParam, lParam);
  const LRESULT result = AfxCallWndProc(object, hWnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    Detach(hWnd);
    ForgetTemporaryObjectsOfGoneWindows(hWnd);
  }
  return result;
}

}  // namespace

CWnd* PermanentObject(HWND hWnd) {
  const auto found = Attachments().find(hWnd);
  return found != Attachments().end() ? found->second.object : nullptr;
}

}  // namespace afx

CWnd::~CWnd() {
  // The window outlives its object: it gets its own procedure back.
  if (m_hWnd != nullptr && afx::PermanentObject(m_hWnd) == this) afx::Detach(m_hWnd);
  m_hWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (hWnd == nullptr || !IsWindow(hWnd)) return nullptr;
  if (CWnd* object = afx::PermanentObject(hWnd)) return object;
  std::unique_ptr<CWnd>& temporary = afx::TemporaryObjects()[hWnd];
  if (!temporary) {
    temporary = std::make_unique<CWnd>();
    temporary->m_hWnd = hWnd;
  }
  return temporary.get();
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (m_hWnd != nullptr || hWndNew == nullptr || !IsWindow(hWndNew) ||
      afx::PermanentObject(hWndNew) != nullptr) {
    return FALSE;
  }
  const auto procedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      hWndNew, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&afx::FrameworkWindowProcedure)));
  if (procedure == nullptr) return FALSE;
  afx::Attachments()[hWndNew] = afx::Attachment{this, procedure};
  m_hWnd = hWndNew;
  return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto found = afx::Attachments().find(m_hWnd);
  if (found != afx::Attachments().end() && found->second.object == this) {
    return CallWindowProcA(found->second.windowProcedure, m_hWnd, message, wParam, lParam);
  }
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

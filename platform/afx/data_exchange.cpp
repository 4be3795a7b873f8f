// Dialog data exchange: members to controls and back.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "afxwin.h"

namespace {

std::string WindowText(HWND hWnd) {
  const int length = ::GetWindowTextLengthA(hWnd);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(hWnd, buffer.data(), length + 1);
  return std::string(buffer.data(), static_cast<std::size_t>(copied));
}

// Sets the text only when it differs, so that an unchanged control keeps its selection. One
// reading tells: room for the new text and one character more shows a longer text as longer.
void SetWindowTextIfChanged(HWND hWnd, const char* text) {
  const std::size_t length = std::strlen(text);
  if (length < static_cast<std::size_t>(INT_MAX - 1)) {
    char shortText[256];
    std::vector<char> large;
    char* current = shortText;
    if (length + 2 > sizeof shortText) {
      large.resize(length + 2);
      current = large.data();
    }
    const int copied = ::GetWindowTextA(hWnd, current, static_cast<int>(length) + 2);
    if (static_cast<std::size_t>(copied) == length && std::memcmp(current, text, length) == 0)
      return;
  }
  ::SetWindowTextA(hWnd, text);
}

bool IsBlank(char ch) {
  return ch == ' ' || ch == '\t';
}

// A whole decimal number with an optional sign, blanks around it allowed.
std::optional<int> ParseInteger(const std::string& text) {
  const char* start = text.c_str();
  while (IsBlank(*start)) ++start;
  const char* digits = (*start == '+' || *start == '-') ? start + 1 : start;
  if (*digits < '0' || *digits > '9') return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(start, &end, 10);
  if (errno == ERANGE || value < INT_MIN || value > INT_MAX) return std::nullopt;
  while (IsBlank(*end)) ++end;
  if (*end != '\0') return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  const HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (hWndCtrl == nullptr) AfxThrowNotSupportedException();
  m_hWndLastControl = hWndCtrl;
  m_bEditLastControl = FALSE;
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  const HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_hWndLastControl != nullptr) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd != nullptr) return;
  const HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(hWndCtrl)) AfxThrowNotSupportedException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  const HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    const std::string text = WindowText(hWndCtrl);
    value = CString(text.data(), static_cast<int>(text.size()));
  } else {
    SetWindowTextIfChanged(hWndCtrl, value);
  }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  const HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    const std::optional<int> parsed = ParseInteger(WindowText(hWndCtrl));
    if (!parsed) {
      AfxMessageBox(AFX_IDP_PARSE_INT);
      pDX->Fail();
    }
    value = *parsed;
  } else {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    SetWindowTextIfChanged(hWndCtrl, text);
  }
}

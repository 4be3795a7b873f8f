// The framework's dispatch: every message to an attached window goes through AfxCallWndProc,
// and no exception gets past it.
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>

#include "afx_state.h"

namespace {

constexpr char kFailed[] = "The command could not be completed";

std::string WithCode(HRESULT hr) {
  char text[96];
  std::snprintf(text, sizeof text, "%s (error 0x%08X).", kFailed, static_cast<unsigned>(hr));
  return text;
}

std::string WithReason(const char* reason) {
  return std::string(kFailed) + ": " + reason;
}

// What to tell the operator about the exception being handled; empty for one that has been
// told already (CUserException).
std::string DescribeCurrentException() {
  try {
    throw;
  } catch (const CUserException&) {
    return {};
  } catch (...) {
  }
  // The program's own types come first: they may derive from the standard ones.
  if (AFX_EXCEPTION_TRANSLATOR translator = afx::State().exceptionTranslator) {
    HRESULT hr = 0;
    BOOL known = FALSE;
    try {
      known = translator(&hr);
    } catch (...) {
      known = FALSE;
    }
    if (known) return WithCode(hr);
  }
  try {
    throw;
  } catch (const CMemoryException&) {
    return WithReason("out of memory.");
  } catch (const std::bad_alloc&) {
    return WithReason("out of memory.");
  } catch (HRESULT hr) {
    return WithCode(hr);
  } catch (const CException& e) {
    char message[256];
    if (e.GetErrorMessage(message, sizeof message) != FALSE) return WithReason(message);
  } catch (const std::exception& e) {
    return WithReason(e.what());
  } catch (...) {
  }
  return std::string(kFailed) + ".";
}

void EndWaitCursorCompletely() {
  // Bounded by the depth found: an application's DoWaitCursor that keeps the count cannot
  // make this loop forever.
  for (int levels = afx::State().waitCursorDepth; levels > 0; --levels) {
    if (afx::State().waitCursorDepth == 0) break;
    if (CWinApp* app = AfxGetApp()) {
      app->DoWaitCursor(-1);
    } else {
      afx::ChangeWaitCursor(-1);
    }
  }
}

}  // namespace

void AfxSetExceptionTranslator(AFX_EXCEPTION_TRANSLATOR pfnTranslator) {
  afx::State().exceptionTranslator = pfnTranslator;
}

void AfxReportUncaughtException() {
  try {
    EndWaitCursorCompletely();
    const std::string text = DescribeCurrentException();
    if (!text.empty()) AfxMessageBox(text.c_str(), MB_OK | MB_ICONSTOP);
  } catch (...) {
    // Reporting failed too (no memory for the text): the window goes on all the same.
  }
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND /*hWnd*/, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  const CWnd::CurrentMessage previous = pWnd->m_currentMessage;
  pWnd->m_currentMessage = CWnd::CurrentMessage{nMsg, wParam, lParam};
  LRESULT result = 0;
  try {
    result = pWnd->WindowProc(nMsg, wParam, lParam);
  } catch (...) {
    AfxReportUncaughtException();
    result = 0;
  }
  pWnd->m_currentMessage = previous;
  return result;
}

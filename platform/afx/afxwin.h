// The application framework: the application object, windows, dialogs, data exchange,
// message boxes and the wait cursor, with the framework's names and behaviour.
//
// One thread runs it all: the framework, its windows and its message handlers are used from
// the thread that runs AfxWinMain (or the test), never from two threads at once.
#pragma once

#include <string>

#include "afxexcept.h"
#include "afxmsg.h"
#include "afxres.h"
#include "afxresource.h"
#include "cstring.h"
#include "windows.h"

class CDataExchange;
class CWinApp;

// ---- Exceptions of the framework itself -----------------------------------------------------

// Thrown by CDataExchange::Fail once the operator has been told what is wrong: the handlers
// of the framework end the operation quietly.
class CUserException : public CException {};
[[noreturn]] void AfxThrowUserException();

// An operation the framework cannot do, such as exchanging data with a control that the
// dialog does not have.
class CNotSupportedException : public CException {
 public:
  BOOL GetErrorMessage(char* lpszError, UINT nMaxError,
                       UINT* pnHelpContext = nullptr) const override;
};
[[noreturn]] void AfxThrowNotSupportedException();

// ---- Command targets -------------------------------------------------------------------------

class CCmdTarget {
 public:
  CCmdTarget() = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;
  virtual ~CCmdTarget() = default;

  // Calls the handler of the command nID with notification code nCode from the message map;
  // FALSE when the map has none. pExtra and pHandlerInfo are accepted and not used.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra = nullptr, void* pHandlerInfo = nullptr);

  // The application's wait cursor (CWinApp::DoWaitCursor with 1, -1 and 0).
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

// ---- Windows ---------------------------------------------------------------------------------

class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return GetSafeHwnd(); }  // NOLINT: implicit, as the framework

  // The object attached to the window; for a window that has none, an object of the
  // framework's that lives as long as the window. Null for a handle that names no window.
  static CWnd* FromHandle(HWND hWnd);
  // Attaches this object to the window: its messages then go through WindowProc. FALSE if
  // the window has another object already or is no window.
  BOOL Attach(HWND hWndNew);
  BOOL SubclassWindow(HWND hWnd) { return Attach(hWnd); }

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  void SetWindowText(LPCSTR lpszString);
  CWnd* GetDlgItem(int nID) const;
  BOOL IsIconic() const;
  void GetClientRect(LPRECT lpRect) const;

  // TRUE: the controls' values go into the members (and are validated); FALSE: the members go
  // to the controls. Returns FALSE when the exchange failed (the operator has been told).
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  // A message box owned by this window; a null caption is the application's title.
  int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

  // Every message to an attached window comes here: the message map, else DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // The window's own procedure: what the window does with a message nobody handles.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void DoDataExchange(CDataExchange* pDX);
  // DefWindowProc with the message being handled.
  LRESULT Default();

  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  afx_msg HCURSOR OnQueryDragIcon();

  DECLARE_MESSAGE_MAP()

 private:
  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  CurrentMessage m_currentMessage{};
  friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
};

// An edit control. The program talks to it with messages (EM_LIMITTEXT).
class CEdit : public CWnd {};

// ---- Dialogs ---------------------------------------------------------------------------------

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // Builds the window from the template, runs it modally and destroys it. Returns the value
  // given to EndDialog, IDCANCEL when the window was ended from outside, -1 when the window
  // could not be made (no such template).
  virtual INT_PTR DoModal();
  // Exchanges the members into the controls; TRUE asks for the focus on the first tab stop.
  virtual BOOL OnInitDialog();
  void EndDialog(int nResult);

 protected:
  virtual void OnOK();      // the command IDOK: validate, then end with IDOK
  virtual void OnCancel();  // the command IDCANCEL: end with IDCANCEL
  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra = nullptr, void* pHandlerInfo = nullptr) override;

  UINT m_nIDHelp;
  LPCSTR m_lpszTemplateName;
  CWnd* m_pParentWnd;

  DECLARE_MESSAGE_MAP()
};

// ---- Painting --------------------------------------------------------------------------------

class CDC {
 public:
  HDC m_hDC = nullptr;
  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return GetSafeHdc(); }  // NOLINT: implicit, as the framework
  BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
};

// The device context of one WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC();
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd;
};

// ---- Data exchange -------------------------------------------------------------------------

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

  BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
  CWnd* m_pDlgWnd;

  // The control nIDC, remembered as the one to return to when the exchange fails. A dialog
  // without such a control throws CNotSupportedException.
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Ends the exchange as failed: the focus goes back to the last control prepared (its text
  // selected when it is an edit control) and CUserException is thrown.
  [[noreturn]] void Fail();

  HWND m_hWndLastControl = nullptr;
  BOOL m_bEditLastControl = FALSE;
};

// Attaches rControl to the control nIDC the first time (later calls leave it as it is).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The control's text and a CString.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// The control's text and an int. Saving a text that is not a whole number in the range of
// int (blanks around it allowed) shows "Please enter an integer." and fails the exchange.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);

// ---- The application -----------------------------------------------------------------------

class CWinApp : public CCmdTarget {
 public:
  // Registers this object as the application. A null name lets the framework choose the
  // title: the string AFX_IDS_APP_TITLE if the resources have it, else the file name the
  // version block gives for the executable (without extension), else the executable's name.
  explicit CWinApp(LPCSTR lpszAppName = nullptr);
  ~CWinApp() override;

  LPCSTR m_pszAppName = nullptr;  // the title; set when the framework starts
  LPCSTR m_pszExeName = nullptr;  // the executable's file name without directory or extension
  HINSTANCE m_hInstance = nullptr;
  LPSTR m_lpCmdLine = nullptr;  // the command-line tail, as given to AfxWinMain
  int m_nCmdShow = SW_SHOWDEFAULT;
  CWnd* m_pMainWnd = nullptr;  // cleared when that window goes away

  virtual BOOL InitApplication();
  virtual BOOL InitInstance();
  virtual int ExitInstance();  // the process exit code
  // The application's message loop. The framework runs dialog-based applications, whose
  // only loops are the modal ones, so this ends the application at once.
  virtual int Run();

  // Three-dimensional controls: the backends always draw them so; TRUE.
  BOOL Enable3dControls();
  HICON LoadIcon(UINT nIDResource) const;

  // 1 shows the wait cursor (one level more), -1 takes one level away, 0 shows it again after
  // something else (a message box) may have changed the cursor.
  virtual void DoWaitCursor(int nCode);
  // Shows AfxMessageBox's boxes: owned by the main window, captioned with the title, and with
  // the exclamation mark when nType names no icon.
  virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
  // There is no help viewer on this platform: help requests are accepted and nothing opens.
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

  afx_msg void OnHelp();

  DECLARE_MESSAGE_MAP()

 private:
  void SetCurrentHandles(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
  std::string m_appNameText;
  std::string m_exeNameText;
  friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);
};

CWinApp* AfxGetApp();
LPCSTR AfxGetAppName();  // the title: the application's, or by the rules above without one
CWnd* AfxGetMainWnd();

// The framework's entry: starts the framework, runs InitInstance and, when it returns FALSE,
// ends the application. Returns the exit code (ExitInstance's); 1 when there is no window
// system (AfxWinInit has said so on standard error); -1 when there is no application or an
// exception left InitInstance.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
void AfxWinTerm();

// A message box with the application's title as caption (CWinApp::DoMessageBox).
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same with a string of the string table; nIDHelp -1 means the string's id. A string the
// table does not have shows nothing and returns 0.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// Dialogs may host ActiveX controls. Our templates hold none, so there is nothing to prepare.
void AfxEnableControlContainer();

// ---- Exceptions that leave a message handler -------------------------------------------------

// The framework's dispatch catches every exception that leaves a message handler, takes the
// wait cursor away, tells the operator in a message box and goes on; the window stays usable.
// A bare HRESULT, CMemoryException (and std::bad_alloc), the framework's other exceptions and
// std::exception are known to it. For the program's own exception types it asks the
// translator: called inside the catch block (`throw;` rethrows), it returns TRUE and the
// HRESULT for a type it knows, FALSE for others.
using AFX_EXCEPTION_TRANSLATOR = BOOL (*)(HRESULT* phr);
void AfxSetExceptionTranslator(AFX_EXCEPTION_TRANSLATOR pfnTranslator);
// Reports the exception being handled; call it only inside a catch block.
void AfxReportUncaughtException();
// Sends a message to an attached window with that guard around it.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// CSoapTestDlg: the test dialog. It owns every piece of state that a test run uses.
#pragma once

#include "afxwin.h"
#include "interop/counted_wide_string.h"
#include "ole2.h"
#include "res/resource.h"

class CSoapTestDlg : public CDialog {
 public:
  explicit CSoapTestDlg(CWnd* pParent = nullptr);
  ~CSoapTestDlg() override;

  enum { IDD = IDD_TEST_DIALOG };

  // Dialog data, in the order of construction. Members without a value at construction
  // (the clock readings, the plain variants, the buffers, m_nTimes) are written by the run
  // or an exchange before anything reads them.
  CEdit m_editText;                  // IDC_TEXT, attached by the first data exchange
  CEdit m_editTimes;                 // IDC_TIMES, attached by the first data exchange
  CString m_strText;                 // the text to send; IDC_TEXT
  CString m_strRequest;              // the request as shown; IDC_REQUEST
  CString m_strResponse;             // the last reply as ANSI text; IDC_RESPONSE
  CString m_strTimes;                // the repeat count as text; IDC_TIMES
  int m_nTimesDone;                  // successful exchanges of the last run; IDC_TIMES_DONE
  SYSTEMTIME m_timeBegin;            // the clock at the start of the last run
  SYSTEMTIME m_timeEnd;              // the clock at its end
  CString m_strUser;                 // the HTTP user name
  CString m_strPassword;             // the HTTP password
  VARIANT m_varUser;                 // VT_BSTR copy of m_strUser during a run
  VARIANT m_varPassword;             // VT_BSTR copy of m_strPassword during a run
  VARIANT m_varBody;                 // VT_BSTR body while an exchange runs
  CountedWideString m_bstrMethod;    // the HTTP method
  CountedWideString m_bstrResponse;  // the reply while an exchange runs
  VARIANT m_varAsync;                // VT_BOOL false; initialised and cleared by the dialog
  char m_szTimes[11];                // the count text, copied for parsing
  char m_szBegin[32];                // the begin time text
  char m_szEnd[32];                  // the end time text
  char m_szNumber[64];               // one figure text at a time
  char m_szResult[512];              // the value extracted from the reply
  char m_szError[512];               // the extraction's failure message
  int m_nTimes;                      // the requested number of exchanges
  CString m_strEnvelope;             // the request envelope
  HICON m_hIcon;                     // IDR_MAINFRAME, shared; never destroyed

  // One exchange with the service: 1 when the reply came and passed the check, else 0.
  int CallWebService();
  // The milliseconds from begin to end.
  double ElapsedMilliseconds(const SYSTEMTIME& begin, const SYSTEMTIME& end);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;  // the test run

  afx_msg void OnPaint();
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnDestroy();

  DECLARE_MESSAGE_MAP()

  friend class CSoapTestDlgTestPeer;
};

// The texts the window shows when it opens.
extern const char kDefaultTimesText[];  // "5"
extern const char kDefaultSendText[];   // 54 bytes of Windows-1250 text

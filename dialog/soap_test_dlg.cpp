// CSoapTestDlg: construction, destruction, data exchange and the window's handlers.
#include "dialog/soap_test_dlg.h"

#include "interop/variant_raising.h"

// "added string to hello and check code page (čćžđšČĆŽĐŠ)" in Windows-1250.
const char kDefaultSendText[] =
    "added string to hello and check code page ("
    "\xE8\xE6\x9E\xF0\x9A\xC8\xC6\x8E\xD0\x8A"
    ")";
const char kDefaultTimesText[] = "5";

namespace {

VARIANT EmptyVariant() {
  VARIANT variant;
  VariantInit(&variant);
  return variant;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSoapTestDlg, CDialog)
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CSoapTestDlg::CSoapTestDlg(CWnd* pParent)
    : CDialog(IDD_TEST_DIALOG, pParent), m_varAsync(EmptyVariant()) {
  m_strText = "";
  m_strRequest = "";
  m_strResponse = "";
  m_strTimes = "";
  m_nTimesDone = 0;
  // The result is not examined: a missing icon leaves m_hIcon null.
  m_hIcon = ::LoadIcon(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_MAINFRAME), RT_GROUP_ICON),
                       MAKEINTRESOURCE(IDR_MAINFRAME));
}

CSoapTestDlg::~CSoapTestDlg() {
  // In this order: the envelope, the asynchronous flag, the reply holder, the method holder;
  // the other members follow as they go. The plain variants and the icon are left alone.
  m_strEnvelope.Empty();
  VariantClearOrRaise(&m_varAsync);
  m_bstrResponse.Release();
  m_bstrMethod.Release();
}

void CSoapTestDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_TEXT, m_editText);
  DDX_Control(pDX, IDC_TIMES, m_editTimes);
  DDX_Text(pDX, IDC_TEXT, m_strText);
  DDX_Text(pDX, IDC_REQUEST, m_strRequest);
  DDX_Text(pDX, IDC_RESPONSE, m_strResponse);
  DDX_Text(pDX, IDC_TIMES, m_strTimes);
  DDX_Text(pDX, IDC_TIMES_DONE, m_nTimesDone);
}

BOOL CSoapTestDlg::OnInitDialog() {
  CDialog::OnInitDialog();

  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  m_editText.SendMessage(EM_LIMITTEXT, 128, 0);
  m_editTimes.SendMessage(EM_LIMITTEXT, 4, 0);

  m_strTimes = kDefaultTimesText;
  m_strText = kDefaultSendText;
  UpdateData(FALSE);

  return TRUE;  // the focus goes to the first tab stop, "Call WebService"
}

void CSoapTestDlg::OnPaint() {
  if (!IsIconic()) {
    CDialog::OnPaint();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

  // The icon centred in the client area.
  const int cxIcon = GetSystemMetrics(SM_CXICON);
  const int cyIcon = GetSystemMetrics(SM_CYICON);
  RECT rect;
  GetClientRect(&rect);
  const int x = (rect.right - rect.left - cxIcon + 1) / 2;
  const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CSoapTestDlg::OnQueryDragIcon() {
  return static_cast<HCURSOR>(m_hIcon);
}

void CSoapTestDlg::OnDestroy() {
  CDialog::OnDestroy();
}

// The test run behind "Call WebService": up to the requested number of checked exchanges, one
// after another, stopping at the first failure, then the clock times and the figures.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dialog/soap_test_dlg.h"
#include "interop/counted_wide_string.h"
#include "interop/variant_raising.h"
#include "res/resource.h"
#include "soap/soap_message.h"
#include "text/trim.h"

namespace {

constexpr const char* kUserName = "tolvex";
constexpr const char* kPassword = "kqv=47";

constexpr const char* kClockFormat = "%02d:%02d:%02d.%03d";
constexpr const char* kFigureFormat = "%18.3f sec";

// Holds the application's wait cursor from its construction to Dismiss(), and ends it should
// an exception leave the run before that.
class WaitCursorGuard {
 public:
  explicit WaitCursorGuard(CCmdTarget& target) : m_pTarget(&target) {
    m_pTarget->BeginWaitCursor();
  }
  WaitCursorGuard(const WaitCursorGuard&) = delete;
  WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;
  ~WaitCursorGuard() {
    if (m_pTarget) m_pTarget->EndWaitCursor();
  }
  void Dismiss() {
    m_pTarget->EndWaitCursor();
    m_pTarget = nullptr;
  }

 private:
  CCmdTarget* m_pTarget;
};

// The run's credential strings are freed at its end; should an exception leave the run
// before that, they are freed on the way out so that nothing is lost across runs.
class CredentialStringsGuard {
 public:
  CredentialStringsGuard(VARIANT& varUser, VARIANT& varPassword)
      : m_varUser(varUser), m_varPassword(varPassword) {
    m_varUser.vt = VT_BSTR;
    m_varUser.bstrVal = nullptr;
    m_varPassword.vt = VT_BSTR;
    m_varPassword.bstrVal = nullptr;
  }
  CredentialStringsGuard(const CredentialStringsGuard&) = delete;
  CredentialStringsGuard& operator=(const CredentialStringsGuard&) = delete;
  ~CredentialStringsGuard() { Free(); }
  void Free() {
    SysFreeString(m_varUser.bstrVal);
    m_varUser.bstrVal = nullptr;
    SysFreeString(m_varPassword.bstrVal);
    m_varPassword.bstrVal = nullptr;
  }

 private:
  VARIANT& m_varUser;
  VARIANT& m_varPassword;
};

void FormatClock(char (&szText)[32], const SYSTEMTIME& time) {
  std::snprintf(szText, sizeof szText, kClockFormat, time.wHour, time.wMinute, time.wSecond,
                time.wMilliseconds);
}

// The count as atoi reads it: leading white space, an optional sign, the digits; anything
// else gives 0. Values beyond int are held at its limits.
int ParseCount(const char* pszTimes) {
  const long nValue = std::strtol(pszTimes, nullptr, 10);
  if (nValue > INT32_MAX) return INT32_MAX;
  if (nValue < INT32_MIN) return INT32_MIN;
  return static_cast<int>(nValue);
}

// Days since 1 January 1970 of a civil date (proleptic Gregorian calendar).
long long DaysFromCivil(int nYear, unsigned nMonth, unsigned nDay) {
  nYear -= nMonth <= 2 ? 1 : 0;
  const long long nEra = (nYear >= 0 ? nYear : nYear - 399) / 400;
  const unsigned nYearOfEra = static_cast<unsigned>(nYear - nEra * 400);
  const unsigned nDayOfYear = (153 * (nMonth + (nMonth > 2 ? -3 : 9)) + 2) / 5 + nDay - 1;
  const unsigned nDayOfEra = nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;
  return nEra * 146097 + static_cast<long long>(nDayOfEra) - 719468;
}

double MillisecondsOfDay(const SYSTEMTIME& time) {
  return time.wHour * 3600000.0 + time.wMinute * 60000 + time.wSecond * 1000 + time.wMilliseconds;
}

}  // namespace

double CSoapTestDlg::ElapsedMilliseconds(const SYSTEMTIME& timeBegin, const SYSTEMTIME& timeEnd) {
  // Real calendar arithmetic: month lengths, leap years, and across the end of a year.
  const long long nDays = DaysFromCivil(timeEnd.wYear, timeEnd.wMonth, timeEnd.wDay) -
                          DaysFromCivil(timeBegin.wYear, timeBegin.wMonth, timeBegin.wDay);
  return static_cast<double>(nDays) * 86400000.0 + MillisecondsOfDay(timeEnd) -
         MillisecondsOfDay(timeBegin);
}

void CSoapTestDlg::OnOK() {
  CredentialStringsGuard credentials(m_varUser, m_varPassword);
  m_strUser = kUserName;
  m_varUser.bstrVal = m_strUser.AllocSysString();
  m_strPassword = kPassword;
  m_varPassword.bstrVal = m_strPassword.AllocSysString();

  VARIANT varFalse;
  VariantInit(&varFalse);
  varFalse.vt = VT_BOOL;
  varFalse.boolVal = VARIANT_FALSE;
  VariantCopyOrRaise(&m_varAsync, &varFalse);
  VariantClearOrRaise(&varFalse);

  m_bstrMethod = CountedWideString(kSoapMethod);

  UpdateData(TRUE);

  // The control holds at most 4 characters; a longer text would be cut to the buffer.
  std::strncpy(m_szTimes, m_strTimes, sizeof m_szTimes - 1);
  m_szTimes[sizeof m_szTimes - 1] = '\0';
  m_nTimes = ParseCount(m_szTimes);

  m_strEnvelope = BuildSoapRequestBody(m_strText);
  m_strRequest = m_strEnvelope;

  UpdateData(FALSE);

  GetLocalTime(&m_timeBegin);
  FormatClock(m_szBegin, m_timeBegin);

  WaitCursorGuard waitCursor(*this);

  int i = 0;
  while (i < m_nTimes) {
    CoInitialize(nullptr);
    const int nPassed = CallWebService();
    CoUninitialize();
    if (nPassed == 0) break;
    ++i;
  }

  RestoreWaitCursor();
  m_nTimesDone = i;

  GetLocalTime(&m_timeEnd);
  FormatClock(m_szEnd, m_timeEnd);

  GetDlgItem(IDC_BEGIN)->SetWindowText(m_szBegin);
  GetDlgItem(IDC_END)->SetWindowText(m_szEnd);

  const double ms = ElapsedMilliseconds(m_timeBegin, m_timeEnd);
  const double average = i == 0 ? 0.0 : ms / static_cast<double>(i * 1000);

  std::snprintf(m_szNumber, sizeof m_szNumber, kFigureFormat, ms * 0.001);
  TrimText(m_szNumber, "A");
  GetDlgItem(IDC_DIFF)->SetWindowText(m_szNumber);

  std::snprintf(m_szNumber, sizeof m_szNumber, kFigureFormat, average);
  TrimText(m_szNumber, "A");
  GetDlgItem(IDC_AVERAGE)->SetWindowText(m_szNumber);

  credentials.Free();

  UpdateData(FALSE);

  waitCursor.Dismiss();
}

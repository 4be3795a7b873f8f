#include "cstring.h"

#include <cstring>

CString::CString(const char* psz) : m_text(psz ? psz : "") {}

CString::CString(const char* pch, int nLength) {
  if (pch && nLength > 0) m_text.assign(pch, static_cast<std::size_t>(nLength));
}

CString& CString::operator=(const char* psz) {
  m_text = psz ? psz : "";
  return *this;
}

CString& CString::operator+=(const CString& str) {
  m_text += str.m_text;
  return *this;
}

CString& CString::operator+=(const char* psz) {
  if (psz) m_text += psz;
  return *this;
}

CString& CString::operator+=(char ch) {
  m_text += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const CString& a, const char* b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const char* a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

int CString::Find(const char* pszSub, int nStart) const {
  if (!pszSub || nStart < 0 || nStart >= GetLength()) return -1;
  const auto pos = m_text.find(pszSub, static_cast<std::size_t>(nStart));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Mid(int nFirst) const {
  return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0) nCount = 0;
  if (nFirst >= GetLength()) return CString();
  if (nCount > GetLength() - nFirst) nCount = GetLength() - nFirst;
  return CString(m_text.data() + nFirst, nCount);
}

int CString::Compare(const char* psz) const {
  return std::strcmp(m_text.c_str(), psz ? psz : "");
}

// CString: the framework's ANSI string. It owns its bytes; texts are in the ANSI code page.
#pragma once

#include <string>

#include "ole2.h"

class CString {
 public:
  CString() = default;
  CString(const char* psz);  // null gives the empty text  NOLINT: implicit, as the framework
  CString(const char* pch, int nLength);
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(const char* psz);

  int GetLength() const { return static_cast<int>(m_text.size()); }
  void Empty() { m_text.clear(); }
  char operator[](int nIndex) const { return m_text.at(static_cast<std::size_t>(nIndex)); }

  operator const char*() const { return m_text.c_str(); }  // NOLINT: implicit, as the framework

  CString& operator+=(const CString& str);
  CString& operator+=(const char* psz);
  CString& operator+=(char ch);
  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, const char* b);
  friend CString operator+(const char* a, const CString& b);

  // Index of the first occurrence at or after nStart, or -1. A start beyond the text finds nothing.
  int Find(const char* pszSub, int nStart = 0) const;

  // Substrings; positions and counts outside the text are clamped to it.
  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;

  int Compare(const char* psz) const;  // <0, 0, >0 as strcmp
  friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
  friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const char* b) { return !(a == b); }

  // A new BSTR converted from the ANSI code page; the caller owns it.
  BSTR AllocSysString() const;

  const std::string& str() const { return m_text; }

 private:
  std::string m_text;
};

// The text a function left in a buffer of exactly nSize bytes.
#pragma once

#include <string>

// Up to the NUL; "<unterminated>" when there is no NUL within the buffer.
inline std::string TextIn(const std::string& buffer) {
  const std::size_t n = buffer.find('\0');
  return n == std::string::npos ? "<unterminated>" : buffer.substr(0, n);
}

// A buffer that holds exactly the text and its NUL.
inline std::string Holding(const char* pszText) {
  return std::string(pszText) + '\0';
}

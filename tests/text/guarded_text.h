// A writable text buffer with guard bytes behind it, to prove that a function working in place
// writes nothing past the space it was given.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class GuardedBuffer {
 public:
  static constexpr std::size_t kGuardSize = 16;
  static constexpr char kGuard = '#';

  // A buffer of exactly nSize usable bytes, filled with '?' and followed by the guard.
  explicit GuardedBuffer(std::size_t nSize) : m_nSize(nSize), m_bytes(nSize + kGuardSize, kGuard) {
    std::fill(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(nSize), '?');
  }

  // A buffer that holds exactly the text and its terminator.
  static GuardedBuffer Holding(std::string_view text) {
    GuardedBuffer buffer(text.size() + 1);
    std::copy(text.begin(), text.end(), buffer.m_bytes.begin());
    buffer.m_bytes[text.size()] = '\0';
    return buffer;
  }

  char* get() { return m_bytes.data(); }
  std::size_t size() const { return m_nSize; }

  // The text up to the first NUL within the usable bytes; the whole usable part if there is none
  // (a missing terminator then shows up as a wrong text).
  std::string Text() const {
    std::size_t n = 0;
    while (n < m_nSize && m_bytes[n] != '\0') ++n;
    return std::string(m_bytes.data(), n) + (n == m_nSize ? "<no terminator>" : "");
  }

  bool GuardIntact() const {
    for (std::size_t i = m_nSize; i < m_bytes.size(); ++i) {
      if (m_bytes[i] != kGuard) return false;
    }
    return true;
  }

 private:
  std::size_t m_nSize;
  std::vector<char> m_bytes;
};

// Shows control characters readably in test names and failure output.
inline std::string Visible(std::string_view text) {
  std::string out;
  for (const char ch : text) {
    switch (ch) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += ch;
    }
  }
  return out;
}

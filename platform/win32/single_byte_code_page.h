// A single-byte code page: one byte is one UTF-16 unit and back.
#pragma once

#include <array>
#include <utility>

#include "windows.h"

namespace win32_detail {

class SingleByteCodePage {
 public:
  // The code page with this number, or null when the platform does not know it as a
  // single-byte code page.
  static const SingleByteCodePage* Find(UINT codePage);

  char16_t ToWide(unsigned char byte) const;
  // The byte of a UTF-16 unit; false when the code page has no byte for it.
  bool ToByte(char16_t unit, char* byte) const;

 private:
  explicit SingleByteCodePage(const char16_t* upperHalf);

  const char16_t* m_upperHalf;
  // The upper half again, sorted by UTF-16 unit, for the way back.
  std::array<std::pair<char16_t, unsigned char>, 128> m_reverse;
};

}  // namespace win32_detail

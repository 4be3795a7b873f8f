#include "single_byte_code_page.h"

#include <algorithm>

#include "code_page_tables.h"

namespace win32_detail {

SingleByteCodePage::SingleByteCodePage(const char16_t* upperHalf) : m_upperHalf(upperHalf) {
  for (std::size_t i = 0; i < m_reverse.size(); ++i)
    m_reverse[i] = {upperHalf[i], static_cast<unsigned char>(0x80 + i)};
  std::sort(m_reverse.begin(), m_reverse.end());
}

const SingleByteCodePage* SingleByteCodePage::Find(UINT codePage) {
  static const SingleByteCodePage centralEuropean(kUpperHalf1250);
  static const SingleByteCodePage western(kUpperHalf1252);
  switch (codePage) {
    case 1250:
      return &centralEuropean;
    case 1252:
      return &western;
    default:
      return nullptr;
  }
}

char16_t SingleByteCodePage::ToWide(unsigned char byte) const {
  return byte < 0x80 ? static_cast<char16_t>(byte) : m_upperHalf[byte - 0x80];
}

bool SingleByteCodePage::ToByte(char16_t unit, char* byte) const {
  if (unit < 0x80) {
    *byte = static_cast<char>(unit);
    return true;
  }
  const auto found = std::lower_bound(m_reverse.begin(), m_reverse.end(),
                                      std::pair<char16_t, unsigned char>{unit, 0});
  if (found == m_reverse.end() || found->first != unit) return false;
  *byte = static_cast<char>(found->second);
  return true;
}

}  // namespace win32_detail

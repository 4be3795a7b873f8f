#include "wire_text.h"

#include <climits>
#include <new>

namespace xmlhttp {

std::string ToUtf8(std::u16string_view text) {
  if (text.empty()) return {};
  if (text.size() > INT_MAX / 3) throw std::bad_alloc();  // three bytes a unit at most
  const int units = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) throw std::bad_alloc();  // only an output too large for an int fails
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), units, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

BSTR NewBstr(std::string_view bytes, UINT codePage) {
  if (bytes.empty()) return SysAllocStringLen(nullptr, 0);
  if (bytes.size() > INT_MAX) return nullptr;
  const int count = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(codePage, 0, bytes.data(), count, nullptr, 0);
  if (units <= 0) return nullptr;
  BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(units));
  if (text) MultiByteToWideChar(codePage, 0, bytes.data(), count, text, units);
  return text;
}

}  // namespace xmlhttp

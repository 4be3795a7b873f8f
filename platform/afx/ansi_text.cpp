#include "ansi_text.h"

#include <limits>

#include "windows.h"

namespace afx {

std::u16string AnsiToWide(std::string_view ansi) {
  if (ansi.empty() || ansi.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return {};
  }
  const int length = static_cast<int>(ansi.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), units);
  return wide;
}

std::string WideToAnsi(std::u16string_view wide) {
  if (wide.empty() || wide.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    return {};
  }
  const int length = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

}  // namespace afx

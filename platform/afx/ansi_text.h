// Texts between the program (ANSI in the code page GetACP()) and the window backends (UTF-16),
// through MultiByteToWideChar and WideCharToMultiByte as on the real platform: a character the
// code page lacks becomes "?". Internal to platform/afx.
#pragma once

#include <string>
#include <string_view>

namespace afx {

std::u16string AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::u16string_view wide);

}  // namespace afx

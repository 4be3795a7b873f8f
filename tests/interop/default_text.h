// The dialog's default text: ASCII and ten Windows-1250 letters, and those letters in UTF-16.
#pragma once

#include <string>

inline const std::string kDefaultText =
    "added string to hello and check code page ("
    "\xE8\xE6\x9E\xF0\x9A\xC8\xC6\x8E\xD0\x8A"
    ")";

// č ć ž đ š Č Ć Ž Đ Š
inline const std::u16string kDefaultTextWide =
    u"added string to hello and check code page ("
    u"\u010D\u0107\u017E\u0111\u0161\u010C\u0106\u017D\u0110\u0160"
    u")";

// Text between the caller's UTF-16 strings and the bytes on the wire, through the platform's
// own conversions (WideCharToMultiByte and MultiByteToWideChar).
#pragma once

#include <string>
#include <string_view>

#include "oleauto.h"

namespace xmlhttp {

// UTF-8 of the text; a lone surrogate becomes U+FFFD. Throws std::bad_alloc when memory runs
// out.
std::string ToUtf8(std::u16string_view text);

// A new BSTR of bytes in codePage (CP_UTF8 or a single-byte ANSI code page), where malformed
// UTF-8 becomes U+FFFD; null when memory ran out.
BSTR NewBstr(std::string_view bytes, UINT codePage);

}  // namespace xmlhttp

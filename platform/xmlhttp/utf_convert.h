// UTF-16 <-> UTF-8 for request bodies, reply texts and header values.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace xmlhttp {

inline constexpr char16_t kReplacementCharacter = u'\uFFFD';

// A surrogate pair becomes one four-byte character; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Decodes UTF-8 into out, or only counts the units when out is null; returns the unit count.
// Every maximal ill-formed subsequence (a stray continuation byte, a truncated sequence, an
// overlong form, an encoded surrogate, a value past U+10FFFF) becomes one U+FFFD.
std::size_t Utf8ToUtf16(std::string_view bytes, char16_t* out);
std::u16string Utf8ToUtf16(std::string_view bytes);

}  // namespace xmlhttp

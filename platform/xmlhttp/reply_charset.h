// Choosing how a reply body is decoded, and decoding it to UTF-16.
#pragma once

#include <cstddef>
#include <string_view>

namespace xmlhttp {

enum class Charset { kUtf8, kUtf16Le, kUtf16Be, kLatin1, kWindows1250, kWindows1252 };

// A charset label ("utf-8", "ISO-8859-1", "cp1250", ...), case-insensitive. An unknown or
// empty label gives UTF-8.
Charset CharsetFromLabel(std::string_view label);

// The value of the charset parameter of a Content-Type header value, quotes removed; empty
// when there is none.
std::string_view CharsetParameter(std::string_view contentType);

struct ReplyEncoding {
  Charset charset;
  std::size_t bomLength;  // bytes of a byte-order mark to skip at the start of the body
};

// A byte-order mark (UTF-8, UTF-16 LE or BE) decides and is dropped; otherwise the charset
// named by the Content-Type; otherwise UTF-8.
ReplyEncoding ChooseReplyEncoding(std::string_view body, std::string_view contentType);

// Decodes bytes into out, or only counts the units when out is null; returns the unit count.
// Malformed input becomes U+FFFD: ill-formed UTF-8, an odd last byte or a lone surrogate in
// UTF-16.
std::size_t DecodeText(std::string_view bytes, Charset charset, char16_t* out);

}  // namespace xmlhttp

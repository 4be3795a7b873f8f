// Choosing the code page a reply body is decoded from.
#pragma once

#include <cstddef>
#include <string_view>

#include "windows.h"

namespace xmlhttp {

struct ReplyEncoding {
  UINT codePage;          // CP_UTF8, 1250 or 1252
  std::size_t bomLength;  // bytes of a UTF-8 byte-order mark to skip at the start of the body
};

// A UTF-8 byte-order mark decides and is dropped; otherwise the charset parameter of the
// Content-Type: windows-1250, windows-1252, and the labels browsers read as windows-1252
// (ISO-8859-1, US-ASCII); anything else, or none, is UTF-8.
ReplyEncoding ChooseReplyEncoding(std::string_view body, std::string_view contentType);

}  // namespace xmlhttp

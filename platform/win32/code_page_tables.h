// Tables of the single-byte ANSI code pages that the platform knows.
#pragma once

namespace win32_detail {

// The UTF-16 unit of each byte 0x80..0xFF, indexed by byte - 0x80.
extern const char16_t kUpperHalf1250[128];
extern const char16_t kUpperHalf1252[128];

}  // namespace win32_detail

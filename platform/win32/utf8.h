// UTF-8 <-> UTF-16, with U+FFFD for what is malformed unless the caller asks to fail.
#pragma once

#include "bounded_output.h"

namespace win32_detail {

enum class Utf8Result { kDone, kMalformed, kOverflow };

// Malformed sequences become one U+FFFD per maximal ill-formed subpart, or stop the
// conversion with kMalformed when failOnMalformed is set.
Utf8Result DecodeUtf8(const unsigned char* bytes, int count, bool failOnMalformed,
                      BoundedOutput<char16_t>& out);

// Lone surrogates become U+FFFD, or stop the conversion with kMalformed when failOnMalformed
// is set.
Utf8Result EncodeUtf8(const char16_t* units, int count, bool failOnMalformed,
                      BoundedOutput<char>& out);

}  // namespace win32_detail

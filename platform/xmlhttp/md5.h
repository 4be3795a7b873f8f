// MD5 message digest (RFC 1321), as HTTP Digest authentication uses it.
#pragma once

#include <string>
#include <string_view>

namespace xmlhttp {

// The digest of data as 32 lowercase hexadecimal digits.
std::string Md5Hex(std::string_view data);

}  // namespace xmlhttp

// HTTP Basic credentials: decoding the Authorization field and comparing in constant time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/http_message.h"

namespace tarvelo::service {

enum class AuthVerdict { missing, malformed, wrong, accepted };

// Judges the Authorization fields of a request against the expected user and password.
AuthVerdict check_basic_credentials(const HeaderField& authorization, std::string_view user,
                                    std::string_view password);

// Standard base64 with padding; nothing for any other text.
std::optional<std::string> decode_base64(std::string_view text);

// Equality whose time depends on the lengths only, never on where the texts differ.
bool constant_time_equals(std::string_view a, std::string_view b);

}  // namespace tarvelo::service

#include "service/basic_auth.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tarvelo::service {
namespace {

constexpr std::int8_t kNotBase64 = -1;

constexpr std::array<std::int8_t, 256> make_base64_table() {
  std::array<std::int8_t, 256> table{};
  table.fill(kNotBase64);
  constexpr std::string_view alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < alphabet.size(); ++i) {
    table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
  }
  return table;
}

constexpr auto kBase64Table = make_base64_table();

}  // namespace

std::optional<std::string> decode_base64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t padding = 0;
  while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=') {
    ++padding;
  }
  const std::string_view digits = text.substr(0, text.size() - padding);

  std::string out;
  out.reserve(text.size() / 4 * 3);
  std::uint32_t bits = 0;
  int bit_count = 0;
  for (const char c : digits) {
    const std::int8_t value = kBase64Table[static_cast<unsigned char>(c)];
    if (value == kNotBase64) return std::nullopt;
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    bit_count += 6;
    if (bit_count >= 8) {
      bit_count -= 8;
      out.push_back(static_cast<char>((bits >> bit_count) & 0xFFu));
    }
  }
  // The bits left over in front of the padding must be zero: each text has one encoding only, so
  // that "Nx==" does not pass for "Nw==".
  if ((bits & ((1u << bit_count) - 1u)) != 0) return std::nullopt;
  return out;
}

bool constant_time_equals(std::string_view a, std::string_view b) {
  const std::size_t longest = std::max(a.size(), b.size());
  volatile unsigned difference = a.size() == b.size() ? 0u : 1u;
  for (std::size_t i = 0; i < longest; ++i) {
    const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
    const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
    difference = difference | static_cast<unsigned>(x ^ y);
  }
  return difference == 0;
}

AuthVerdict check_basic_credentials(const HeaderField& authorization, std::string_view user,
                                    std::string_view password) {
  if (authorization.count == 0) return AuthVerdict::missing;
  if (authorization.count > 1) return AuthVerdict::malformed;

  constexpr std::string_view kScheme = "Basic";
  const std::string_view value = authorization.value;
  if (value.size() <= kScheme.size() || !equals_ignore_case(value.substr(0, 5), kScheme) ||
      value[kScheme.size()] != ' ') {
    return AuthVerdict::malformed;
  }
  const std::optional<std::string> decoded = decode_base64(trim_blanks(value.substr(5)));
  if (!decoded) return AuthVerdict::malformed;
  const std::size_t colon = decoded->find(':');
  if (colon == std::string::npos) return AuthVerdict::malformed;

  const std::string_view given_user = std::string_view(*decoded).substr(0, colon);
  const std::string_view given_password = std::string_view(*decoded).substr(colon + 1);
  // Both comparisons always run, so the time does not tell which one failed.
  const bool user_ok = constant_time_equals(given_user, user);
  const bool password_ok = constant_time_equals(given_password, password);
  return (user_ok & password_ok) ? AuthVerdict::accepted : AuthVerdict::wrong;
}

}  // namespace tarvelo::service

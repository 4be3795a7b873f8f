// Case-insensitive equality in ASCII only, for names that protocols and registries compare so
// (HTTP header names, charset labels, ProgIDs): letters outside ASCII compare as they are.
#pragma once

#include <algorithm>
#include <string_view>

namespace ascii {

template <typename Char>
bool EqualsIgnoringCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  const auto lower = [](Char c) {
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
  };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](Char x, Char y) { return lower(x) == lower(y); });
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return EqualsIgnoringCase<char>(a, b);
}

inline bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return EqualsIgnoringCase<char16_t>(a, b);
}

}  // namespace ascii

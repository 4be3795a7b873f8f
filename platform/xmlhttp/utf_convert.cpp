#include "utf_convert.h"

#include <cstdint>

namespace xmlhttp {
namespace {

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Writes one code point as UTF-16 (when out is given) and returns the units it takes.
std::size_t PutCodePoint(char32_t cp, char16_t* out) {
  if (cp < 0x10000) {
    if (out) out[0] = static_cast<char16_t>(cp);
    return 1;
  }
  if (out) {
    const char32_t v = cp - 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (v >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
  }
  return 2;
}

// Writes one code point as UTF-8 and returns where the next one goes.
char* PutUtf8(char32_t cp, char* out) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
  // No unit takes more than three bytes (a surrogate pair takes four for its two units).
  std::string out(text.size() * 3, '\0');
  char* to = out.data();
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t unit = text[i];
    if (unit < 0x80) {  // the common case: ASCII, a byte for a unit
      *to++ = static_cast<char>(unit);
      ++i;
    } else if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      const char32_t cp =
          0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      to = PutUtf8(cp, to);
      i += 2;
    } else {
      const bool lone = IsHighSurrogate(unit) || IsLowSurrogate(unit);
      to = PutUtf8(lone ? kReplacementCharacter : unit, to);
      ++i;
    }
  }
  out.resize(static_cast<std::size_t>(to - out.data()));
  return out;
}

std::size_t Utf8ToUtf16(std::string_view bytes, char16_t* out) {
  std::size_t units = 0;
  std::size_t i = 0;
  auto put = [&](char32_t cp) { units += PutCodePoint(cp, out ? out + units : nullptr); };
  while (i < bytes.size()) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    if (lead < 0x80) {  // the common case: ASCII, a unit for a byte
      if (out) out[units] = lead;
      ++units;
      ++i;
      continue;
    }
    int trailing = 0;
    char32_t cp = 0;
    std::uint8_t low = 0x80;  // the range the first continuation byte must lie in
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      trailing = 1;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      trailing = 2;
      cp = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      trailing = 3;
      cp = lead & 0x07;
      if (lead == 0xF0) low = 0x90;   // no overlong forms
      if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
      put(kReplacementCharacter);
      ++i;
      continue;
    }
    std::size_t next = i + 1;
    int seen = 0;
    while (seen < trailing && next < bytes.size()) {
      const auto byte = static_cast<std::uint8_t>(bytes[next]);
      if (byte < low || byte > high) break;
      cp = (cp << 6) | (byte & 0x3F);
      low = 0x80;
      high = 0xBF;
      ++seen;
      ++next;
    }
    put(seen == trailing ? cp : kReplacementCharacter);
    i = next;  // a byte that broke the sequence starts the next one
  }
  return units;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out(Utf8ToUtf16(bytes, nullptr), u'\0');
  Utf8ToUtf16(bytes, out.data());
  return out;
}

}  // namespace xmlhttp

#include "utf8.h"

#include "windows.h"

namespace win32_detail {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool PutCodePoint(char32_t cp, BoundedOutput<char16_t>& out) {
  if (cp < 0x10000) return out.Put(static_cast<char16_t>(cp));
  const char32_t offset = cp - 0x10000;
  const char16_t pair[2] = {static_cast<char16_t>(0xD800 + (offset >> 10)),
                            static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
  return out.Put(pair, 2);
}

bool PutCodePoint(char32_t cp, BoundedOutput<char>& out) {
  char bytes[4];
  int count;
  if (cp < 0x80) {
    bytes[0] = static_cast<char>(cp);
    count = 1;
  } else if (cp < 0x800) {
    bytes[0] = static_cast<char>(0xC0 | (cp >> 6));
    bytes[1] = static_cast<char>(0x80 | (cp & 0x3F));
    count = 2;
  } else if (cp < 0x10000) {
    bytes[0] = static_cast<char>(0xE0 | (cp >> 12));
    bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | (cp & 0x3F));
    count = 3;
  } else {
    bytes[0] = static_cast<char>(0xF0 | (cp >> 18));
    bytes[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    bytes[3] = static_cast<char>(0x80 | (cp & 0x3F));
    count = 4;
  }
  return out.Put(bytes, count);
}

// The lead byte's payload, how many continuation bytes follow and the allowed range of the
// first of them (which excludes overlong forms, surrogates and values beyond U+10FFFF).
struct LeadByte {
  bool valid;
  char32_t payload;
  int continuations;
  unsigned char firstLow;
  unsigned char firstHigh;
};

LeadByte ClassifyLead(unsigned char b) {
  if (b >= 0xC2 && b <= 0xDF) return {true, char32_t(b & 0x1F), 1, 0x80, 0xBF};
  if (b == 0xE0) return {true, char32_t(b & 0x0F), 2, 0xA0, 0xBF};
  if (b == 0xED) return {true, char32_t(b & 0x0F), 2, 0x80, 0x9F};
  if (b >= 0xE1 && b <= 0xEF) return {true, char32_t(b & 0x0F), 2, 0x80, 0xBF};
  if (b == 0xF0) return {true, char32_t(b & 0x07), 3, 0x90, 0xBF};
  if (b >= 0xF1 && b <= 0xF3) return {true, char32_t(b & 0x07), 3, 0x80, 0xBF};
  if (b == 0xF4) return {true, char32_t(b & 0x07), 3, 0x80, 0x8F};
  return {false, 0, 0, 0, 0};
}

}  // namespace

Utf8Result DecodeUtf8(const unsigned char* bytes, int count, bool failOnMalformed,
                      BoundedOutput<char16_t>& out) {
  int i = 0;
  while (i < count) {
    const int run = AsciiRun(bytes + i, count - i);
    if (!out.PutEach(bytes + i, run)) return Utf8Result::kOverflow;
    i += run;
    if (i == count) break;
    const LeadByte info = ClassifyLead(bytes[i++]);
    bool wellFormed = info.valid;
    char32_t cp = info.payload;
    unsigned char low = info.firstLow;
    unsigned char high = info.firstHigh;
    for (int k = 0; wellFormed && k < info.continuations; ++k) {
      if (i >= count || bytes[i] < low || bytes[i] > high) {
        wellFormed = false;  // the byte that breaks the sequence starts the next one
        break;
      }
      cp = (cp << 6) | (bytes[i++] & 0x3F);
      low = 0x80;
      high = 0xBF;
    }
    if (!wellFormed) {
      if (failOnMalformed) return Utf8Result::kMalformed;
      cp = kReplacement;
    }
    if (!PutCodePoint(cp, out)) return Utf8Result::kOverflow;
  }
  return Utf8Result::kDone;
}

Utf8Result EncodeUtf8(const char16_t* units, int count, bool failOnMalformed,
                      BoundedOutput<char>& out) {
  for (int i = 0; i < count; ++i) {
    const int run = AsciiRun(units + i, count - i);
    if (!out.PutEach(units + i, run)) return Utf8Result::kOverflow;
    i += run;
    if (i == count) break;
    char32_t cp = units[i];
    if (i + 1 < count && IS_SURROGATE_PAIR(units[i], units[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (IS_HIGH_SURROGATE(cp) || IS_LOW_SURROGATE(cp)) {
      if (failOnMalformed) return Utf8Result::kMalformed;
      cp = kReplacement;
    }
    if (!PutCodePoint(cp, out)) return Utf8Result::kOverflow;
  }
  return Utf8Result::kDone;
}

}  // namespace win32_detail
